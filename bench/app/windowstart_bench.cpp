// How soon the desktop program shows a large data file: the tree and the
// first preview on screen, a model's and a bitmap's preview, and the longest
// the window is kept from its events while the Down key is held over the
// tree, and the Find box over the whole tree. Prints the moment the first preview was painted (milliseconds since
// the epoch) for scripts/bench-window.sh, which knows when the process began.
// Usage: bench_window_start FILE.bfp
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/bitmappreview.h"
#include "app/browserlayout.h"
#include "app/mainframe.h"
#include "app/pallixapp.h"
#include "app/previewpane.h"
#include "app/recordtreeview.h"
#include "app/treefilter.h"
#include "tests/app/apptestsupport.h"
#include "viewer/gui/modelcanvas.h"

namespace {

constexpr int kHeldKeys = 300;

// Milliseconds to show the item's preview and paint it.
double TimePreview(CPallixApp& app, fw::TreeItem* item) {
    QElapsedTimer clock;
    clock.start();
    app.View().GetTreeCtrl().SelectItem(item);
    PreviewPane& pane = app.Layout().Preview();
    pane.ShowPendingNow();
    pane.repaint();
    return clock.nsecsElapsed() / 1e6;
}

// The longest a held key's press waits for the window, in milliseconds.
double LongestKeyStall(CPallixApp& app) {
    RecordTreeView& tree = app.TreeView();
    double longest = 0;
    for (int i = 0; i < kHeldKeys; ++i) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyPress(&tree, Qt::Key_Down, Qt::NoModifier);
        QApplication::processEvents();
        QApplication::processEvents();
        longest = std::max(longest, clock.nsecsElapsed() / 1e6);
    }
    return longest;
}

// Milliseconds to filter the tree by the text and paint it.
double TimeFilter(CPallixApp& app, const QString& text) {
    QElapsedTimer clock;
    clock.start();
    app.Layout().Filter().setText(text);
    app.Layout().Filter().Apply();
    app.TreeView().repaint();
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window_start FILE.bfp\n");
        return 2;
    }
    QTemporaryDir settings;
    CPallixApp app(PrivateAppOptions(settings.path()));
    if (app.InitInstance({QString::fromLocal8Bit(argv[1])}) != CPallixApp::StartResult::run) return 1;
    const double opened = sinceMain.nsecsElapsed() / 1e6;
    if (!QTest::qWaitForWindowExposed(&app.MainFrame())) return 1;
    app.Layout().Preview().ShowPendingNow();
    app.MainFrame().repaint();
    const qint64 shownAt = QDateTime::currentMSecsSinceEpoch();
    const double shown = sinceMain.nsecsElapsed() / 1e6;

    fw::TreeControl& tree = app.View().GetTreeCtrl();
    fw::TreeItem* model = FirstOfKind(tree, ITEM_MODEL);
    fw::TreeItem* bitmap = FirstOfKind(tree, ITEM_BITMAP);
    if (!model || !bitmap) return 1;
    tree.Expand(model->parent, fw::TreeControl::ExpandAction::expand);
    const double modelMs = TimePreview(app, model);
    const double bitmapMs = TimePreview(app, bitmap);
    app.TreeView().setFocus();
    const double stall = LongestKeyStall(app);
    const double filtered = TimeFilter(app, QStringLiteral("box42"));
    const double cleared = TimeFilter(app, QString());
    std::printf("shown-at-ms %lld\n", static_cast<long long>(shownAt));
    std::printf("main to file read and tree built: %.0f ms\n", opened);
    std::printf("main to window, tree and first preview painted: %.0f ms\n", shown);
    std::printf("model preview: %.1f ms, bitmap preview: %.1f ms\n", modelMs, bitmapMs);
    std::printf("longest wait of a held Down key (%d presses): %.1f ms\n", kHeldKeys, stall);
    std::printf("Find \"box42\": %.0f ms, cleared again: %.0f ms\n", filtered, cleared);
    return 0;
}
