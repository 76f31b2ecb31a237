#include <QApplication>
#include <QCommandLineParser>

#include "framework/os.h"
#include "pallixversion.h"
#include "programinfo/programinfo.h"
#include "viewer/gui/mainwindow.h"

namespace {

constexpr const char* kUsage =
    "Usage: vistel [FILE.dxf]\n"
    "       vistel --help | --version\n"
    "Shows the 3DFACE entities of a DXF drawing.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so that it works without a display.
    if (const auto status = AnswerInfoRequest({"vistel", kUsage, fw::os::AttachParentConsole}, argc, argv)) return *status;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistel"));
    QApplication::setApplicationVersion(QString::fromUtf8(pallix::kVersion));

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Shows the 3DFACE entities of a DXF drawing."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The DXF file to show."),
                                    QStringLiteral("[FILE.dxf]"));
    arguments.process(application);

    vistel::MainWindow window;
    window.show();
    const QStringList files = arguments.positionalArguments();
    if (!files.isEmpty()) window.OpenFile(files.front());
    return application.exec();
}
