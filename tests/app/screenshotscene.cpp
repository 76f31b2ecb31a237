// Shows the main window on a data file twice, a bitmap selected and then a
// model, and puts the two pictures of the window side by side:
// scripts/screenshot.sh runs it in a virtual X display with a window manager.
// Usage: pallix-screenshot-scene DATAFILE OUT.png
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/browserlayout.h"
#include "app/mainframe.h"
#include "app/pallixapp.h"
#include "app/previewpane.h"
#include "tests/app/apptestsupport.h"

namespace {

constexpr int kPaintMs = 1500;  // time for the window to appear and paint

QPixmap Shoot(CPallixApp& app, fw::TreeItem* item) {
    fw::TreeControl& tree = app.View().GetTreeCtrl();
    tree.Expand(item->parent, fw::TreeControl::ExpandAction::expand);
    tree.SelectItem(item);
    QTest::qWait(kPaintMs);
    const CMainFrame& frame = app.MainFrame();
    const QRect area = frame.frameGeometry();
    return frame.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: pallix-screenshot-scene DATAFILE OUT.png\n");
        return 2;
    }
    QTemporaryDir settings;
    CPallixApp app(PrivateAppOptions(settings.path()));
    if (app.InitInstance({arguments.at(1)}) != CPallixApp::StartResult::run) return 1;
    // Below the window manager's title bar, which X11 places above the window.
    app.MainFrame().move(10, 40);

    fw::TreeControl& tree = app.View().GetTreeCtrl();
    fw::TreeItem* bitmap = FirstOfKind(tree, ITEM_BITMAP);
    fw::TreeItem* model = FirstOfKind(tree, ITEM_MODEL);
    if (!bitmap || !model) return 1;
    const QPixmap left = Shoot(app, bitmap);
    const QPixmap right = Shoot(app, model);
    QPixmap both(left.width() + right.width() + 10, std::max(left.height(), right.height()));
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + 10, 0, right);
    painter.end();
    return both.save(arguments.at(2)) ? 0 : 1;
}
