#pragma once
#include <iosfwd>

#include "framework/treecontrol.h"

// The read-only listings of pallix-cli, one line per item in depth-first
// pre-order; other programs parse them.
void PrintTree(std::ostream& out, const fw::TreeControl& tree);
void PrintRecords(std::ostream& out, const fw::TreeControl& tree);
void PrintStats(std::ostream& out, const fw::TreeControl& tree);
