#pragma once
#include "exchange/commands/commandcontext.h"
#include "exchange/formats/bitmapformats.h"
#include "framework/commandresult.h"

// The bitmap's commands: shown in the viewer of the system, written to the
// export folder as its BMP file, read back from there.
fw::CommandResult ViewBitmap(const CommandContext& context);
fw::CommandResult ExportBitmap(const CommandContext& context);
fw::CommandResult ImportBitmap(const CommandContext& context);

// Export and Import in a format of the bitmap format table; the plain
// commands are these in BMP.
fw::CommandResult ExportBitmapAs(const CommandContext& context, const BitmapFormat& format);
fw::CommandResult ImportBitmapFrom(const CommandContext& context, const BitmapFormat& format);
