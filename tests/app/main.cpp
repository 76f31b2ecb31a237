#include <QApplication>
#include <QtTest>
#include <memory>

QObject* NewHandOverTest();
QObject* NewMessagesTest();
QObject* NewPlatformTest();
QObject* NewPreviewTest();
QObject* NewProgressTest();
QObject* NewShellTest();
QObject* NewTreeInteractionTest();

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    int failures = 0;
    for (auto* make : {NewShellTest, NewTreeInteractionTest, NewPlatformTest, NewPreviewTest, NewHandOverTest,
                       NewMessagesTest, NewProgressTest}) {
        std::unique_ptr<QObject> test(make());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
