#pragma once
#include <filesystem>

#include "exchange/commands/commandcontext.h"
#include "framework/commandresult.h"

// A file the user dropped on an item: a picture on a bitmap, a model on a
// model, imported as Import Bitmap From and Import Model From import the
// item's own file in that format. Anything else is refused in words.
fw::CommandResult ImportDroppedFile(CommandContext context, const std::filesystem::path& file);
