#pragma once
#include <cstdint>
#include <span>
#include "exchange/commands/commandcontext.h"
#include "framework/commandresult.h"
#include "framework/file.h"

// The model as a DXF drawing in vistel.
fw::CommandResult ViewModel(const CommandContext& context);

// The drawing of a model record that starts `model` (the span reaches to
// the end of the image).
fw::CommandResult WriteDxf(fw::File& file, std::span<const uint8_t> model, uint32_t offset, uint32_t size);
