#include "app/shellcommand.h"

namespace {

bool IsFlag(const QString& argument, const char* flag) {
    return argument.compare(QLatin1String(flag), Qt::CaseInsensitive) == 0 ||
           argument.compare(QLatin1Char('-') + QLatin1String(flag + 1), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<ShellCommand> ParseShellCommand(const QStringList& arguments, QString& error) {
    ShellCommand command;
    QStringList rest = arguments;
    // The desktop's dynamic data exchange flag asks for nothing here: open
    // requests come through the running program's local socket.
    rest.removeIf([](const QString& argument) { return IsFlag(argument, "/dde"); });
    if (!rest.isEmpty() && IsFlag(rest.front(), "/pt")) {
        command.kind = ShellCommand::Kind::filePrintTo;
        rest.removeFirst();
    } else if (!rest.isEmpty() && IsFlag(rest.front(), "/p")) {
        command.kind = ShellCommand::Kind::filePrint;
        rest.removeFirst();
    }
    const qsizetype allowed = command.kind == ShellCommand::Kind::filePrintTo ? 4 : 1;
    const qsizetype needed = command.kind == ShellCommand::Kind::filePrintTo ? 2
                             : command.kind == ShellCommand::Kind::filePrint ? 1
                                                                             : 0;
    if (rest.size() < needed || rest.size() > allowed) {
        error = QString::fromUtf8(kShellUsage);
        return std::nullopt;
    }
    if (!rest.isEmpty()) {
        command.file = rest.at(0);
        if (command.kind == ShellCommand::Kind::fileNew) command.kind = ShellCommand::Kind::fileOpen;
    }
    if (rest.size() > 1) command.printer = rest.at(1);
    return command;
}
