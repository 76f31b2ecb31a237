#pragma once
#include <string>

#include "framework/treecontrol.h"

// Items named by path: "." is the root; otherwise 0-based child indexes from
// the root joined by "/".

// The item at the path, or null when the path names none or is malformed.
fw::TreeItem* ResolveItemPath(const fw::TreeControl& tree, const std::string& path);
std::string FormatItemPath(const fw::TreeItem* item);
