// The progress of long work on the desktop: nothing for a short job, a
// dialog after half a second, and its Cancel heard by the job.
#include <QApplication>
#include <QProgressDialog>
#include <QtTest>

#include "app/qtuiservices.h"

class ProgressTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogAppearsAfterHalfASecondAndItsCancelStopsTheJob();
};

namespace {

QProgressDialog* ShownProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QProgressDialog*>(widget);
        if (dialog && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

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

QObject* NewProgressTest() { return new ProgressTest; }

#include "progress_test.moc"
