// Files that arrive while a command waits for an answer: they open once the
// command is over, and the command finishes on the document it began with.
#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

#include "app/commandgate.h"
#include "app/instancehandover.h"
#include "app/mainframe.h"
#include "browser/pallixview.h"
#include "framework/commandids.h"
#include "tests/app/apptestsupport.h"

class HandOverTest : public QObject {
    Q_OBJECT

private slots:
    void aFileHandedOverDuringACommandOpensAfterIt();
    void whatFollowsCommandsRunsOnceTheLastHasEndedBeforeTheWaitingRequests();
};

namespace {

QByteArray Contents(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// A second start's hand-over, made while the first program's loop runs.
void HandOver(const QString& name, const QString& file) {
    bool sent = false;
    std::thread sender([&] { sent = HandOverToRunningInstance(name, file); });
    QTRY_VERIFY(sent);
    sender.join();
    // Whatever the program would do with the file at once, it has done now.
    QTest::qWait(50);
}

}  // namespace

void HandOverTest::aFileHandedOverDuringACommandOpensAfterIt() {
    QTemporaryDir folder;
    const QString source = folder.filePath("race-src.bfp");
    const QString target = folder.filePath("race-target.bfp");
    QVERIFY(QFile::copy(DemoFile(), source) && QFile::copy(DemoFile(), target));
    const QByteArray original = Contents(DemoFile());
    const QString name = QStringLiteral("pallix-race-%1").arg(QCoreApplication::applicationPid());
    auto app = StartApp({source}, CPallixApp::StartResult::run, name);
    fw::TreeControl& tree = app->View().GetTreeCtrl();
    fw::TreeItem* bank = tree.GetChildItem(tree.GetRootItem());
    tree.Expand(bank, fw::TreeControl::ExpandAction::expand);

    // Inside the import's announcement, a repainted copy of the bitmap
    // appears where it names and the second start hands its file over; the
    // save prompt is answered No.
    const ItemRecord& record = *CPallixView::RecordOf(bank->children.back().get());
    const auto image = app->Document().Image();
    QByteArray repainted(reinterpret_cast<const char*>(image.data()) + record.nOffset, int(record.nSize));
    repainted[repainted.size() - 1] = char(repainted.back() ^ 1);
    QString bitmapFile;
    QStringList asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (box->text().startsWith("Save changes")) {
            asked << box->text();
            box->button(QMessageBox::No)->click();
            return;
        }
        if (!bitmapFile.isEmpty()) return;
        // The announcement ends with the file's path.
        bitmapFile = box->text().section('\n', -1);
        QDir().mkpath(QFileInfo(bitmapFile).path());
        QFile bitmap(bitmapFile);
        if (bitmap.open(QIODevice::WriteOnly)) bitmap.write(repainted);
        bitmap.close();
        HandOver(name, target);
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    PopupRecorder popups;
    popups.choose = QStringLiteral("Import...");
    RightClick(app->TreeView(), LabelOf(app->TreeView(), bank->children.back().get()));
    QVERIFY(!bitmapFile.isEmpty());
    QFile::remove(bitmapFile);

    // The import changed the first document, which is why leaving it asks.
    QTRY_COMPARE(QString::fromStdString(app->Document().GetPathName()), target);
    QCOMPARE(asked, QStringList{"Save changes to " + source + "?"});
    QVERIFY(!app->Document().IsModified());
    QVERIFY(app->MainFrame().OnCommand(cmd::kFileSave));
    QVERIFY(Contents(target) == original);
    QVERIFY(Contents(source) == original);
}

// The window refreshes its preview once a command may have changed the
// document, and only then do the requests that waited run.
void HandOverTest::whatFollowsCommandsRunsOnceTheLastHasEndedBeforeTheWaitingRequests() {
    CommandGate gate;
    QStringList order;
    gate.SetAfterCommands([&] { order << "after"; });
    {
        CommandGate::Command outer(gate);
        { CommandGate::Command inner(gate); }
        gate.Run([&] { order << "request"; });
        QCoreApplication::processEvents();
        QVERIFY(order.isEmpty());
    }
    QTRY_COMPARE(order, QStringList({"after", "request", "after"}));
}

#include "handover_test.moc"

QObject* NewHandOverTest() { return new HandOverTest; }
