// What the window tells about exports: the export folder in the status bar
// and in the file manager, each command's closing status line, and the
// question before an export replaces a file the user changed.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <algorithm>

#include "app/documentstate.h"
#include "app/exportfolderdisplay.h"
#include "app/mainframe.h"
#include "app/statusmessagepane.h"
#include "framework/commandids.h"
#include "tests/app/apptestsupport.h"

// Stands in for the file manager: keeps the folders it is asked to show.
class FolderCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theExportFolderIsShownAndOpenedFromTheFileMenu();
    void anExportSaysWhatItWroteAndAsksBeforeReplacingAChangedFile();
    void startingAMissingProgramSaysItFailed();
    void aCommandsStatusLineOutlastsAGlanceAtTheMenusAndALongOneIsCutInItsMiddle();
    void theFormatQuestionStartsAtTheLastAnswerAndShowsItsWholeTitle();

private:
    fw::TreeItem* Item(const QString& label) const;
    QString Exports() const { return folder_.filePath(QStringLiteral("exports")); }

    std::unique_ptr<CPallixApp> app_;
    QTemporaryDir folder_;
};

void MessagesTest::init() {
    app_ = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    app_->View().SetExportFolder(ToPath(Exports()));
}

void MessagesTest::cleanup() {
    app_.reset();
    QDir(Exports()).removeRecursively();
}

fw::TreeItem* MessagesTest::Item(const QString& label) const {
    fw::TreeItem* found = nullptr;
    app_->View().GetTreeCtrl().ForEachItem([&](fw::TreeItem* item) {
        if (!found && QString::fromLatin1(item->text).startsWith(label)) found = item;
    });
    if (!found) qFatal("no item %s", qPrintable(label));
    return found;
}

void MessagesTest::theExportFolderIsShownAndOpenedFromTheFileMenu() {
    ExportFolderDisplay& display = app_->ExportFolder();
    QVERIFY(app_->OpenDocumentFile(DemoFile()));
    QVERIFY(display.Pane()->isVisibleTo(&app_->MainFrame()));
    QCOMPARE(display.Pane()->toolTip(), QDir::toNativeSeparators(Exports()));
    const auto fileMenu = app_->State().RevertAction()->associatedObjects();
    QVERIFY(std::any_of(fileMenu.begin(), fileMenu.end(), [&](QObject* menu) {
        auto* entries = qobject_cast<QMenu*>(menu);
        return entries && entries->actions().indexOf(display.OpenAction()) ==
                              entries->actions().indexOf(app_->State().RevertAction()) + 1;
    }));

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    display.OpenAction()->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts[0].startsWith(
        QStringLiteral("Open Export Folder: Nothing has been exported from demo.bfp yet.")));
    QVERIFY(answerer.texts[0].endsWith(QDir::toNativeSeparators(Exports())));

    FolderCatcher fileManager;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &fileManager, "open");
    QVERIFY(QDir().mkpath(Exports()));
    display.OpenAction()->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(fileManager.opened, QList<QUrl>{QUrl::fromLocalFile(Exports())});
    QCOMPARE(answerer.texts.size(), 1);
    // Whether or not a file manager came up, the window says where the folder is.
    QVERIFY(app_->MainFrame()
                .statusBar()
                ->findChild<QLabel*>(QStringLiteral("MessagePane"))
                ->text()
                .contains(QDir::toNativeSeparators(Exports())));

    app_->OnFileNew();
    QVERIFY(!display.Pane()->isVisibleTo(&app_->MainFrame()));
    QVERIFY(!display.OpenAction()->isEnabled());
}

void MessagesTest::anExportSaysWhatItWroteAndAsksBeforeReplacingAChangedFile() {
    CPallixView& view = app_->View();
    view.SetAnnouncePaths(false);
    view.SetContextItem(Item(QStringLiteral("0:crate.bmp")));
    view.OnCommand(cmd::kBitmapExport);
    auto* message = app_->MainFrame().statusBar()->findChild<QLabel*>(QStringLiteral("MessagePane"));
    QCOMPARE(message->text(), QStringLiteral("Exported O68C.bmp to ") + Exports());

    const QString exported = QDir(Exports()).filePath(QStringLiteral("O68C.bmp"));
    QFile edit(exported);
    QVERIFY(edit.open(QIODevice::Append));
    edit.write("painted");
    edit.close();
    MessageBoxAnswerer answerer(QMessageBox::No);
    view.OnCommand(cmd::kBitmapExport);
    QCOMPARE(answerer.texts,
             QStringList{QStringLiteral("Export: O68C.bmp was changed since it was exported. Replace it?")});
    QVERIFY(view.LastResult().Refused());
    QCOMPARE(QFileInfo(exported).size(), 2102 + qint64(sizeof "painted") - 1);
}

void MessagesTest::startingAMissingProgramSaysItFailed() {
    const auto missing = ToPath(folder_.filePath(QStringLiteral("no-such-viewer")));
    QVERIFY(!app_->Ui().StartProgram(missing, "crate.dxf", ToPath(folder_.path())));
}

void MessagesTest::aCommandsStatusLineOutlastsAGlanceAtTheMenusAndALongOneIsCutInItsMiddle() {
    RecordTreeView& tree = app_->TreeView();
    fw::TreeItem* bitmap = Item(QStringLiteral("0:crate.bmp"));
    app_->View().GetTreeCtrl().Expand(app_->View().GetTreeCtrl().GetParentItem(bitmap),
                                      fw::TreeControl::ExpandAction::expand);
    PopupRecorder popups;
    popups.choose = QStringLiteral("Export...");
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    RightClick(tree, LabelOf(tree, bitmap));
    QTest::qWait(50);
    auto* message = app_->MainFrame().statusBar()->findChild<StatusMessagePane*>(QStringLiteral("MessagePane"));
    const QString line = QStringLiteral("Exported O68C.bmp to ") + QDir::toNativeSeparators(Exports());
    QCOMPARE(message->text(), line);
    app_->MainFrame().resize(1600, app_->MainFrame().height());
    QTRY_COMPARE(message->ShownText(), line);

    app_->MainFrame().resize(500, app_->MainFrame().height());
    QTRY_VERIFY(message->ShownText() != line);
    QVERIFY(message->ShownText().contains(QChar(0x2026)));
    QHelpEvent hover(QEvent::ToolTip, message->rect().center(), message->mapToGlobal(message->rect().center()));
    QApplication::sendEvent(message, &hover);
    QCOMPARE(QToolTip::text(), line);

    // Fly-by texts show over the line as menu entries are pointed at, and an
    // empty one when the pointer leaves them.
    CMainFrame& frame = app_->MainFrame();
    const auto flyBy = [&](int ms) {
        frame.Action(cmd::kFileOpen)->showStatusText(&frame);
        QVERIFY(!message->isVisible());
        QTest::qWait(ms);
        QStatusTipEvent leave{QString()};
        QApplication::sendEvent(&frame, &leave);
        QVERIFY(message->isVisible());
    };
    flyBy(300);
    flyBy(300);
    QCOMPARE(message->text(), line);
    flyBy(StatusMessagePane::kFlyByPatienceMs);
    QCOMPARE(message->text(), QStringLiteral("Ready"));
}

void MessagesTest::theFormatQuestionStartsAtTheLastAnswerAndShowsItsWholeTitle() {
    const std::vector<std::string> formats{"3DS (.3ds)", "glTF 2.0 (.gltf with its .bin)", "OBJ (.obj with its .mtl)"};
    QString offered;
    bool titleFits = false;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        offered = dialog->textValue();
        titleFits = dialog->width() > dialog->fontMetrics().horizontalAdvance(dialog->windowTitle());
        if (offered == QString::fromStdString(formats[0])) dialog->setTextValue(QString::fromStdString(formats[2]));
        dialog->accept();
    });
    answerer.start(10);
    QCOMPARE(app_->Ui().AskChoice("Export Model As", "Format:", formats), std::optional<size_t>(2));
    QCOMPARE(offered, QString::fromStdString(formats[0]));
    QVERIFY(titleFits);
    QCOMPARE(app_->Ui().AskChoice("Export Model As", "Format:", formats), std::optional<size_t>(2));
    QCOMPARE(offered, QString::fromStdString(formats[2]));
}

QObject* NewMessagesTest() { return new MessagesTest; }

#include "messages_test.moc"
