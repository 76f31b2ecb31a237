#pragma once
#include "exchange/commands/commandcontext.h"
#include "framework/commandresult.h"

// For a bank or the root: every model and bitmap whose file in the export
// folder differs from what exporting it now would write is read back in;
// one summary at the end. A cancel puts back every byte it changed.
fw::CommandResult ImportAll(const CommandContext& context);
