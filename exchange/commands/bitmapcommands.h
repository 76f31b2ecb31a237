#pragma once
#include "exchange/commands/commandcontext.h"
#include "framework/commandresult.h"

// The bitmap's commands: shown in the viewer of the system, written to the
// export folder as its BMP file, read back from there.
fw::CommandResult ViewBitmap(const CommandContext& context);
fw::CommandResult ExportBitmap(const CommandContext& context);
fw::CommandResult ImportBitmap(const CommandContext& context);
