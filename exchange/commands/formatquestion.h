#pragma once
#include <span>
#include <string>
#include <vector>

#include "exchange/commands/commandcontext.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/model/modelformattable.h"
#include "framework/commandresult.h"

// A command in the format the user picks from a format table's rows (models
// or bitmaps) by their labels, asked under the caption; nothing happens when
// the question is cancelled.
template <typename Row>
fw::CommandResult InFormatAsked(const CommandContext& context, const std::string& caption, std::span<const Row> formats,
                                fw::CommandResult (*command)(const CommandContext&, const Row&)) {
    std::vector<std::string> labels;
    for (const Row& format : formats) labels.push_back(format.label);
    const auto choice = context.ui.AskChoice(caption, "Which format?", labels);
    if (!choice || *choice >= labels.size()) return fw::CommandResult::Done();
    return command(context, formats[*choice]);
}

inline fw::CommandResult InModelFormatAsked(const CommandContext& context, const std::string& caption,
                                            fw::CommandResult (*command)(const CommandContext&, const ModelFormat&)) {
    return InFormatAsked(context, caption, ModelFormats(), command);
}

inline fw::CommandResult InBitmapFormatAsked(const CommandContext& context, const std::string& caption,
                                             fw::CommandResult (*command)(const CommandContext&, const BitmapFormat&)) {
    return InFormatAsked(context, caption, BitmapFormats(), command);
}
