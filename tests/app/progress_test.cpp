// The progress of long work on the desktop: nothing for a short job, a
// dialog after half a second, and its Cancel heard by the job; a question
// the job asks owns the screen while it is open.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qtuiservices.h"
#include "framework/commandids.h"
#include "tests/app/apptestsupport.h"

class ProgressTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogAppearsAfterHalfASecondAndItsCancelStopsTheJob();
    void aQuestionHidesTheDialogWhichWaitsHalfASecondAgainAfterTheAnswer();
    void exportAllsReplaceQuestionsAreAnsweredNoFromTheKeyboardAndTheExportGoesOn();
};

namespace {

constexpr int kPastTheDelayMs = 700;

QProgressDialog* ShownProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QProgressDialog*>(widget);
        if (dialog && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

QMessageBox* ShownMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible()) return box;
    }
    return nullptr;
}

// Waits past the progress dialog's delay with each question open, notes
// what owns the screen then, and answers No with a key sent where the
// keyboard goes. Other boxes are answered OK. A box the keys could not reach
// is clicked away, so that the job ends and the test can fail in words.
class KeyboardAnswerer : public QObject {
public:
    explicit KeyboardAnswerer(QString question) : question_(std::move(question)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(10);
    }
    int asked = 0;
    bool progressShownDuringAQuestion = false;
    bool everyQuestionHadTheKeyboard = true;
    bool everyAnswerByKeys = true;

private:
    void Poll() {
        QMessageBox* box = ShownMessageBox();
        if (!box) return;
        if (!box->text().contains(question_)) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        if (box != open_) {
            open_ = box;
            ++asked;
            shown_.start();
            keySent_ = false;
        }
        if (shown_.elapsed() < kPastTheDelayMs) return;
        if (!keySent_) {
            keySent_ = true;
            progressShownDuringAQuestion = progressShownDuringAQuestion || ShownProgress();
            QWidget* keys = QApplication::focusWidget();
            everyQuestionHadTheKeyboard = everyQuestionHadTheKeyboard && keys && keys->window() == box &&
                                          QApplication::activeModalWidget() == box;
            QTest::keyClick(keys ? keys : box, Qt::Key_N);
            return;
        }
        if (shown_.elapsed() > 3 * kPastTheDelayMs) {
            everyAnswerByKeys = false;
            box->button(QMessageBox::No)->click();
        }
    }

    QString question_;
    QTimer timer_;
    QElapsedTimer shown_;
    QMessageBox* open_ = nullptr;
    bool keySent_ = false;
};

}  // namespace

void ProgressTest::theDialogAppearsAfterHalfASecondAndItsCancelStopsTheJob() {
    QtUiServices ui;
    auto report = ui.OpenProgress("Import All", 10);
    QVERIFY(report->Step(1));
    QCOMPARE(ShownProgress(), nullptr);
    QTest::qWait(600);
    QVERIFY(report->Step(2));
    QProgressDialog* dialog = ShownProgress();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->labelText(), QStringLiteral("Import All"));
    QCOMPARE(dialog->value(), 200);
    dialog->cancel();
    QVERIFY(!report->Step(3));
    report.reset();
    QCOMPARE(ShownProgress(), nullptr);
}

void ProgressTest::aQuestionHidesTheDialogWhichWaitsHalfASecondAgainAfterTheAnswer() {
    QtUiServices ui;
    auto report = ui.OpenProgress("Export All", 10);
    QTest::qWait(600);
    QVERIFY(report->Step(1));
    QVERIFY(ShownProgress() != nullptr);

    KeyboardAnswerer answerer(QStringLiteral("Replace it?"));
    const auto answer = ui.ShowMessage("O68C.bmp was changed since it was exported. Replace it?", "Export All",
                                       fw::MessageStyle{fw::MessageButtons::yesNo, fw::MessageIcon::question, true});
    QCOMPARE(answer, fw::MessageResult::no);
    QVERIFY(answerer.everyAnswerByKeys);
    QVERIFY(answerer.everyQuestionHadTheKeyboard);
    QVERIFY(!answerer.progressShownDuringAQuestion);
    // The answer is seen to take effect before the dialog comes back.
    QVERIFY(report->Step(2));
    QCOMPARE(ShownProgress(), nullptr);
    QTest::qWait(600);
    QVERIFY(report->Step(3));
    QVERIFY(ShownProgress() != nullptr);
}

// Two files changed since the last export: the first question holds the
// job past the dialog's delay, so without a fresh delay after each answer
// the dialog would be up when the second question comes.
void ProgressTest::exportAllsReplaceQuestionsAreAnsweredNoFromTheKeyboardAndTheExportGoesOn() {
    auto app = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    QTemporaryDir exports;
    CPallixView& view = app->View();
    view.SetExportFolder(ToPath(exports.path()));
    view.SetAnnouncePaths(false);
    KeyboardAnswerer answerer(QStringLiteral(" was changed since it was exported. Replace it?"));
    fw::TreeItem* bank = view.GetTreeCtrl().GetRootItem()->children.front().get();
    view.SetContextItem(bank);
    view.OnCommand(cmd::kBankExportAll);
    const QDir folder(exports.path());
    QList<qint64> edited;
    for (const QString& name : {QStringLiteral("crate.3ds"), QStringLiteral("O68C.bmp")}) {
        QFile edit(folder.filePath(name));
        QVERIFY(edit.open(QIODevice::Append));
        edit.write("painted");
        edit.close();
        edited << QFileInfo(edit).size();
    }
    const QString model = folder.filePath(QStringLiteral("pyramid.3ds"));
    QVERIFY(QFile::remove(model));

    PopupRecorder popups;
    popups.choose = QStringLiteral("Export All");
    RightClick(app->TreeView(), LabelOf(app->TreeView(), bank));
    QCOMPARE(answerer.asked, 2);
    QVERIFY(answerer.everyAnswerByKeys);
    QVERIFY2(answerer.everyQuestionHadTheKeyboard, "the keys reach another window than the question");
    QVERIFY2(!answerer.progressShownDuringAQuestion, "the progress dialog shows over a question");
    // No keeps the changed files and lets the rest of the export go on.
    QVERIFY2(!QString::fromStdString(view.LastResult().message).contains("cancelled"),
             view.LastResult().message.c_str());
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("crate.3ds"))).size(), edited[0]);
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("O68C.bmp"))).size(), edited[1]);
    QVERIFY(QFile::exists(model));
}

QObject* NewProgressTest() { return new ProgressTest; }

#include "progress_test.moc"
