#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks for: nothing (an empty document), a file to
// open, or a file to print (to the default or a named printer) and end.
struct ShellCommand {
    enum class Kind { fileNew, fileOpen, filePrint, filePrintTo };
    Kind kind = Kind::fileNew;
    QString file;
    QString printer;
};

// Parses the program's arguments (without the program itself); nullopt and
// a message for arguments it cannot make sense of.
std::optional<ShellCommand> ParseShellCommand(const QStringList& arguments, QString& error);

// The print switches are what Windows' print verbs hand the program; they
// are understood everywhere but offered only there.
#ifdef _WIN32
inline constexpr const char* kShellUsage =
    "Usage: pallix [FILE]\n       pallix /p FILE\n       pallix /pt FILE PRINTER [DRIVER PORT]";
#else
inline constexpr const char* kShellUsage = "Usage: pallix [FILE]";
#endif
