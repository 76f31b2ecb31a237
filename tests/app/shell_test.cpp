// The desktop program's shell: start-up, commands, documents and the tree widget.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/mainframe.h"
#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"
#include "browser/icons.h"
#include "browser/pallixview.h"
#include "framework/commandids.h"
#include "tests/app/apptestsupport.h"

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void startUpWritesTheProgramPathEveryTime();
    void aPathArgumentOpensTheFileAndShowsItsTree();
    void aFileThatCannotBeOpenedStartsWithAnEmptyDocument();
    void ctrlNGivesAnUntitledDocumentWithOnlyTheRoot();
    void savingANewDocumentIsRefusedInWords();
    void aDroppedFileOpens();
    void aPictureOrModelDroppedOnItsRowIsImportedAndAnythingElseRefusedInWords();
    void menusToolbarAndDisabledCommands();
    void closingAModifiedDocumentAsksAndCancelKeepsItOpen();
    void theRecentFileListKeepsFourEntries();
    void expandingAndCollapsingABankSwitchesItsIcon();

private:
    QString CopyOfDemo(const QString& name);
    QTemporaryDir folder_;
};

QString ShellTest::CopyOfDemo(const QString& name) {
    const QString path = folder_.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(DemoFile(), path)) qFatal("cannot copy the sample");
    return path;
}

void ShellTest::startUpWritesTheProgramPathEveryTime() {
    QStringList written;
    for (int start = 0; start < 2; ++start) {
        auto app = StartApp({}, CPallixApp::StartResult::run);
        written << QString::fromStdString(app->Profile().GetString("INSTALL", "DIR"));
    }
    QCOMPARE(written.at(0), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    QCOMPARE(written.at(1), written.at(0));
}

void ShellTest::aPathArgumentOpensTheFileAndShowsItsTree() {
    auto app = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    QCOMPARE(app->MainFrame().windowTitle(), QStringLiteral("demo.bfp[*] - Quon Data Manager"));
    // The tree keeps its width of 350; the preview pane is added beside it.
    QCOMPARE(app->MainFrame().size(), QSize(800, 450));
    const RecordTreeView& view = app->TreeView();
    QCOMPARE(view.parentWidget()->parentWidget(), app->MainFrame().centralWidget());
    const QModelIndex root = view.model()->index(0, 0);
    QCOMPARE(root.data().toString(), QStringLiteral("Quon Data File"));
    QVERIFY(view.isExpanded(root));
    QCOMPARE(view.model()->rowCount(root), 3);
    QCOMPARE(view.model()->index(0, 0, root).data().toString(), QStringLiteral("CM3D 1: 2 Objects  2 Bitmaps"));
}

// The message shows over the main window, which then stays open with an
// empty document.
void ShellTest::aFileThatCannotBeOpenedStartsWithAnEmptyDocument() {
    MessageBoxAnswerer answer(QMessageBox::Ok);
    auto app = StartApp({folder_.filePath("missing.bfp")}, CPallixApp::StartResult::run);
    QCOMPARE(answer.texts.size(), 1);
    QVERIFY2(answer.texts.front().startsWith("Pallix: ") && answer.texts.front().contains("missing.bfp"),
             qPrintable(answer.texts.front()));
    QCOMPARE(answer.shownOver, QList<QWidget*>{&app->MainFrame()});
    // Over the middle of the window, which stands in the middle of the screen.
    const QPoint middle = app->MainFrame().frameGeometry().center();
    QVERIFY((answer.centres.front() - middle).manhattanLength() < 20);
    QVERIFY((app->MainFrame().screen()->availableGeometry().center() - middle).manhattanLength() < 20);
    QVERIFY(app->MainFrame().isVisible());
    QCOMPARE(app->MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Quon Data Manager"));
    QCOMPARE(app->TreeView().model()->rowCount(), 1);
}

void ShellTest::ctrlNGivesAnUntitledDocumentWithOnlyTheRoot() {
    auto app = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    app->MainFrame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app->MainFrame()));
    QTest::keyClick(&app->TreeView(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(app->MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Quon Data Manager"));
    const QAbstractItemModel& model = *app->TreeView().model();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
}

// A new document has no data file behind it: a save would leave an empty
// file that no longer opens.
void ShellTest::savingANewDocumentIsRefusedInWords() {
    auto app = StartApp({}, CPallixApp::StartResult::run);
    const QString file = folder_.filePath("new.bfp");
    QStringList shown;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            shown << QStringLiteral("save dialog");
            dialog->selectFile(file);
            static_cast<QDialog*>(dialog)->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(10);
    for (const int command : {cmd::kFileSave, cmd::kFileSaveAs}) {
        QVERIFY(app->MainFrame().OnCommand(command));
        QVERIFY2(shown.size() == 1 && shown.front().startsWith("There is nothing to save"),
                 qPrintable(shown.join('\n')));
        QVERIFY(!QFileInfo::exists(file));
        shown.clear();
    }
    QCOMPARE(app->MainFrame().windowTitle(), QStringLiteral("Untitled[*] - Quon Data Manager"));
    // The menu does not offer what it would refuse.
    QVERIFY(!app->MainFrame().Action(cmd::kFileSaveAs)->isEnabled());
    QVERIFY(app->OpenDocumentFile(DemoFile()));
    QVERIFY(app->MainFrame().Action(cmd::kFileSaveAs)->isEnabled());
}

void ShellTest::aDroppedFileOpens() {
    auto app = StartApp({}, CPallixApp::StartResult::run);
    const QString file = CopyOfDemo("dropped.bfp");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->MainFrame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->MainFrame(), &drop);
    QCOMPARE(QString::fromStdString(app->Document().GetPathName()), file);
    QCOMPARE(app->MainFrame().windowTitle(), QStringLiteral("dropped.bfp[*] - Quon Data Manager"));
    QCOMPARE(app->TreeView().model()->rowCount(app->TreeView().model()->index(0, 0)), 3);
}

namespace {

// A file dragged over the window and dropped at a point of it.
void Drop(CMainFrame& frame, const QString& file, QPoint at) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    QTest::qWait(20);
}

}  // namespace

void ShellTest::aPictureOrModelDroppedOnItsRowIsImportedAndAnythingElseRefusedInWords() {
    auto app = StartApp({CopyOfDemo("target.bfp")}, CPallixApp::StartResult::run);
    CPallixView& view = app->View();
    QTemporaryDir exports;
    view.SetExportFolder(ToPath(exports.path()));
    view.SetAnnouncePaths(false);
    fw::TreeControl& tree = view.GetTreeCtrl();
    fw::TreeItem* bank = tree.GetRootItem()->children.front().get();
    tree.Expand(bank, fw::TreeControl::ExpandAction::expand);
    fw::TreeItem* model = bank->children.front().get();
    fw::TreeItem* bitmap = bank->children.back().get();
    RecordTreeView& rows = app->TreeView();
    const auto at = [&](fw::TreeItem* item) { return rows.viewport()->mapTo(&app->MainFrame(), LabelOf(rows, item)); };
    auto* status = app->MainFrame().statusBar()->findChild<QLabel*>(QStringLiteral("MessagePane"));

    // The model's own export, dropped back from elsewhere under another name.
    view.SetContextItem(model);
    view.OnCommand(cmd::kModelExport);
    const QString mesh = folder_.filePath("dropped.3ds");
    QFile::remove(mesh);
    QVERIFY(QFile::copy(QDir(exports.path()).filePath("crate.3ds"), mesh));
    // The bitmap's picture with a corner painted in another of its colours.
    view.SetContextItem(bitmap);
    view.OnCommand(cmd::kBitmapExport);
    QImage picture(QDir(exports.path()).filePath(status->text().section(' ', 1, 1)));
    QVERIFY(!picture.isNull());
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb other = picture.pixel(picture.width() - 1, picture.height() - 1) == picture.pixel(0, 0)
                           ? qRgb(0, 0, 0)
                           : picture.pixel(picture.width() - 1, picture.height() - 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) picture.setPixel(x, y, other);
    const QString painted = folder_.filePath("painted.png");
    QVERIFY(picture.save(painted));

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    const std::vector<uint8_t> before(app->Document().Image().begin(), app->Document().Image().end());
    Drop(app->MainFrame(), painted, at(bitmap));
    QVERIFY2(status->text().startsWith("Imported painted.png from "), qPrintable(status->text()));
    QVERIFY(app->Document().IsModified());
    QVERIFY(!std::equal(before.begin(), before.end(), app->Document().Image().begin()));
    Drop(app->MainFrame(), mesh, at(model));
    QVERIFY2(status->text().startsWith("Imported dropped.3ds from "), qPrintable(status->text()));
    QVERIFY(answerer.texts.isEmpty());

    const QString notes = folder_.filePath("notes.txt");
    QFile text(notes);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.close();
    Drop(app->MainFrame(), notes, at(bitmap));
    Drop(app->MainFrame(), painted, at(model));
    Drop(app->MainFrame(), notes, at(bank));
    const QRect last = rows.visualRect(rows.Model().IndexOf(tree.GetRootItem()->children.back().get()));
    Drop(app->MainFrame(), notes, rows.viewport()->mapTo(&app->MainFrame(), last.bottomLeft() + QPoint(5, 40)));
    QCOMPARE(answerer.texts,
             QStringList({"Import: notes.txt was not imported: a bitmap takes a BMP or PNG picture.",
                          "Import: painted.png was not imported: a model takes a 3DS, glTF, GLB or OBJ file.",
                          "Import: notes.txt was not imported: drop a BMP or PNG picture on a bitmap, or a 3DS, glTF, "
                          "GLB or OBJ model on a model.",
                          "Pallix: notes.txt is not a Quon data file (.bfp), so it was not opened.\nTo import a "
                          "picture or a model, drop it on the bitmap or the model it is for."}));
    QCOMPARE(QString::fromStdString(app->Document().GetPathName()), folder_.filePath("target.bfp"));
}

void ShellTest::menusToolbarAndDisabledCommands() {
    ClearSettings();
    auto app = StartApp({}, CPallixApp::StartResult::run);
    CMainFrame& frame = app->MainFrame();
    QStringList menus;
    for (const QAction* menu : frame.menuBar()->actions()) {
        QStringList entries{menu->text()};
        for (const QAction* entry : menu->menu()->actions())
            if (entry->isVisible()) entries << (entry->isSeparator() ? "-" : entry->text());
        menus << entries.join('|');
    }
    QCOMPARE(menus, QStringList({"&File|&New\tCtrl+N|&Open...\tCtrl+O|&Save\tCtrl+S|Save &As...|&Revert|Open &Export "
                                 "Folder|-|-|Recent File|-|E&xit",
                                 "&View|&Toolbar|&Status Bar", "&Help|&About Pallix..."}));
    QVERIFY(!frame.Action(cmd::kFileMruFirst)->isEnabled());

    QStringList buttons;
    for (const QAction* action : frame.ToolBar()->actions())
        buttons << (action->isSeparator() ? QStringLiteral("-") : QString::number(action->data().toInt()));
    QCOMPARE(buttons.join(' '), QStringLiteral("57600 57601 57603 - 57635 57634 57637 - 57607 57664"));
    for (const int id : {cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}) {
        auto* button = qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(id)));
        QVERIFY(button && !button->isEnabled());
        QVERIFY(!button->toolTip().isEmpty());
    }
    for (const int id : {cmd::kEditUndo, cmd::kNextPane, cmd::kPrevPane}) QVERIFY(!frame.Action(id)->isEnabled());
    QCOMPARE(frame.Action(cmd::kEditPaste)->shortcuts(),
             QList<QKeySequence>({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}));

    // Ctrl+X does nothing, and the document stays as it is.
    QTest::keyClick(&app->TreeView(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!app->Document().IsModified());
    QCOMPARE(frame.findChild<QLabel*>("MessagePane")->text(), QStringLiteral("Ready"));

    // The View menu's commands hide and show the bars.
    QVERIFY(frame.OnCommand(cmd::kViewToolbar));
    QVERIFY(frame.ToolBar()->isHidden());
    QVERIFY(!frame.Action(cmd::kViewToolbar)->isChecked());
    QVERIFY(frame.OnCommand(cmd::kViewToolbar));
    QVERIFY(!frame.ToolBar()->isHidden());
}

void ShellTest::closingAModifiedDocumentAsksAndCancelKeepsItOpen() {
    const QString file = CopyOfDemo("modified.bfp");
    auto app = StartApp({file}, CPallixApp::StartResult::run);
    app->Document().SetModifiedFlag();
    {
        MessageBoxAnswerer answer(QMessageBox::Cancel);
        QVERIFY(!app->MainFrame().close());
        QCOMPARE(answer.texts, QStringList{"Pallix: Save changes to " + file + "?"});
    }
    QVERIFY(app->MainFrame().isVisible());
    QVERIFY(app->Document().IsModified());
    // Exit asks the same; No lets the window go without saving.
    MessageBoxAnswerer answer(QMessageBox::No);
    QVERIFY(app->MainFrame().OnCommand(cmd::kAppExit));
    QCOMPARE(answer.texts.size(), 1);
    QVERIFY(!app->MainFrame().isVisible());
}

void ShellTest::theRecentFileListKeepsFourEntries() {
    auto app = StartApp({}, CPallixApp::StartResult::run);
    QStringList opened;
    for (int i = 1; i <= 5; ++i) {
        opened.prepend(CopyOfDemo(QStringLiteral("recent%1.bfp").arg(i)));
        QVERIFY(app->OpenDocumentFile(opened.front()));
    }
    QStringList kept;
    for (const std::string& file : app->RecentFiles().Files()) kept << QString::fromStdString(file);
    QCOMPARE(kept, opened.mid(0, 4));
    QCOMPARE(QString::fromStdString(app->Profile().GetString("Recent File List", "File4")), opened.at(3));

    CMainFrame& frame = app->MainFrame();
    frame.UpdateRecentFileMenu();
    QVERIFY(frame.Action(cmd::kFileMruFirst + 3)->isEnabled());
    QVERIFY(frame.Action(cmd::kFileMruFirst + 3)->text().endsWith("recent2.bfp"));
    // The fourth entry opens its file.
    QVERIFY(frame.OnCommand(cmd::kFileMruFirst + 3));
    QCOMPARE(QString::fromStdString(app->Document().GetPathName()), opened.at(3));
    // An entry whose file is gone leaves the list when chosen.
    QFile::remove(opened.at(1));
    frame.UpdateRecentFileMenu();
    MessageBoxAnswerer answer(QMessageBox::Ok);
    const QString gone = frame.Action(cmd::kFileMruFirst + 2)->text();
    QVERIFY(gone.endsWith("recent4.bfp"));
    QVERIFY(frame.OnCommand(cmd::kFileMruFirst + 2));
    QCOMPARE(answer.texts.size(), 1);
    QCOMPARE(app->RecentFiles().Files().size(), size_t(3));
}

void ShellTest::expandingAndCollapsingABankSwitchesItsIcon() {
    auto app = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    RecordTreeView& view = app->TreeView();
    fw::TreeControl& tree = app->View().GetTreeCtrl();
    fw::TreeItem* bank = tree.GetChildItem(tree.GetRootItem());
    const QModelIndex index = view.Model().IndexOf(bank);
    QCOMPARE(bank->image, int(ICON_BANK_CLOSED));

    // The user opens and closes the bank with the widget's button; the icon
    // shown is the one of the control's image index.
    const auto iconKey = [&] { return index.data(Qt::DecorationRole).value<QIcon>().cacheKey(); };
    const auto closedIcon = iconKey();
    const auto button = view.PartsOf(index)->button.center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, button);
    QVERIFY(view.isExpanded(index));
    QVERIFY(tree.IsExpanded(bank));
    QCOMPARE(bank->image, int(ICON_BANK_OPEN));
    QVERIFY(iconKey() != closedIcon);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, button);
    QVERIFY(!view.isExpanded(index));
    QCOMPARE(bank->image, int(ICON_BANK_CLOSED));
    QCOMPARE(iconKey(), closedIcon);

    // The control opens it: the widget follows.
    tree.Expand(bank, fw::TreeControl::ExpandAction::expand);
    QVERIFY(view.isExpanded(index));
    QCOMPARE(bank->image, int(ICON_BANK_OPEN));
    // A leaf has nothing to open and keeps its icon.
    fw::TreeItem* model = tree.GetChildItem(bank);
    fw::TreeItem* leaf = tree.GetChildItem(model);
    view.expand(view.Model().IndexOf(model));
    view.expand(view.Model().IndexOf(leaf));
    QCOMPARE(leaf->image, int(ICON_MODEL_OPEN));
    QVERIFY(!tree.IsExpanded(leaf));
}

#include "shell_test.moc"

QObject* NewShellTest() { return new ShellTest; }
