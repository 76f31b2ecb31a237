// pallix: the Quon Data Manager desktop program.
#include <QApplication>
#include <QFileInfo>

#include <string>

#include "app/instancehandover.h"
#include "app/pallixapp.h"
#include "app/shellcommand.h"
#include "app/shellregistration.h"
#include "framework/os.h"
#include "programinfo/programinfo.h"

namespace {

// Tests and scripted runs set this so that the desktop's file associations
// of the user are left alone.
// An installed program leaves that to the files its package put in place.
bool ShellRegistrationWanted() {
    return qEnvironmentVariableIsEmpty("PALLIX_NO_SHELL_REGISTRATION") &&
           !RunsFromInstalledLayout(QCoreApplication::applicationDirPath());
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it works without a display.
    const std::string usage = std::string(kShellUsage) + "\n       pallix --help | --version\n";
    if (const auto status = AnswerInfoRequest({"pallix", usage.c_str(), fw::os::AttachParentConsole}, argc, argv)) return *status;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pallix"));
    const QStringList arguments = QApplication::arguments().mid(1);

    AppOptions options;
    options.registerShell = ShellRegistrationWanted();
    options.instanceName = InstanceServerName();

    // A file for a program that already runs goes there.
    QString error;
    const auto command = ParseShellCommand(arguments, error);
    if (command && command->kind == ShellCommand::Kind::fileOpen &&
        HandOverToRunningInstance(options.instanceName, QFileInfo(command->file).absoluteFilePath()))
        return 0;

    CPallixApp app(std::move(options));
    switch (app.InitInstance(arguments)) {
        case CPallixApp::StartResult::failed: return 1;
        case CPallixApp::StartResult::finished: return 0;
        case CPallixApp::StartResult::run: break;
    }
    return QApplication::exec();
}
