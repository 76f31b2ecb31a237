#pragma once
#include <string>

#include "exchange/commands/commandcontext.h"
#include "exchange/model/modelformattable.h"
#include "framework/commandresult.h"

// A command in the model format the user picks from the table's rows, asked
// under the caption; nothing happens when the question is cancelled.
using FormatCommand = fw::CommandResult (*)(const CommandContext& context, const ModelFormat& format);
fw::CommandResult InFormatAsked(const CommandContext& context, const std::string& caption, FormatCommand command);
