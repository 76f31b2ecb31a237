// Shows the main window on a data file with its first bank opened, and takes
// a picture of the screen where the window is: scripts/screenshot.sh runs
// it in a virtual X display.
// Usage: pallix-screenshot-scene DATAFILE OUT.png
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "mainframe.h"
#include "pallixapp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: pallix-screenshot-scene DATAFILE OUT.png\n");
        return 2;
    }
    // The picture must not depend on, nor change, the user's settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    AppOptions options;
    options.settingsFormat = QSettings::IniFormat;
    options.registerShell = false;
    CPallixApp app(options);
    if (app.InitInstance({arguments.at(1)}) != CPallixApp::StartResult::run) return 1;

    fw::TreeControl& tree = app.View().GetTreeCtrl();
    fw::TreeItem* firstBank = tree.GetChildItem(tree.GetRootItem());
    tree.Expand(firstBank, fw::TreeControl::ExpandAction::expand);
    tree.SelectItem(firstBank);

    int status = 1;
    // Time for the window to appear and paint.
    QTimer::singleShot(1500, [&] {
        const CMainFrame& frame = app.MainFrame();
        const QRect area = frame.frameGeometry();
        const QPixmap shot = frame.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        status = shot.save(arguments.at(2)) ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
