#include "exchange/commands/formatquestion.h"

#include <vector>

fw::CommandResult InFormatAsked(const CommandContext& context, const std::string& caption, FormatCommand command) {
    std::vector<std::string> labels;
    for (const ModelFormat& format : ModelFormats()) labels.push_back(format.label);
    const auto choice = context.ui.AskChoice(caption, "Which format?", labels);
    if (!choice || *choice >= labels.size()) return fw::CommandResult::Done();
    return command(context, ModelFormats()[*choice]);
}
