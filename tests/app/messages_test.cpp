// What the window tells about exports: the export folder in the status bar
// and in the file manager, each command's closing status line, and the
// question before an export replaces a file the user changed.
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "app/documentstate.h"
#include "app/exportfolderdisplay.h"
#include "app/mainframe.h"
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

QObject* NewMessagesTest() { return new MessagesTest; }

#include "messages_test.moc"
