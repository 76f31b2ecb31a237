// The desktop program's meeting points with the platform: the command line,
// the desktop registration and the hand-over to a running program.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/instancehandover.h"
#include "app/shellcommand.h"
#include "app/shellregistration.h"
#include "tests/app/apptestsupport.h"

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void theCommandLineIsParsed_data();
    void theCommandLineIsParsed();
    void theDesktopRegistrationIsWrittenOnce();
    void theExecLineQuotesEveryPath();
    void onlyAProgramRunFromAFolderRegistersItself();
    void aSecondStartHandsItsFileOver();
    void theHandOverNameBelongsToOneUsersSession();
    void withoutARuntimeFolderTheHandOverLivesInAFolderOfTheUsersOwn();
};

void PlatformTest::theCommandLineIsParsed_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed");
    QTest::newRow("nothing") << QStringList{} << "new";
    QTest::newRow("a file") << QStringList{"/data/set 1.bfp"} << "open /data/set 1.bfp";
    QTest::newRow("print") << QStringList{"/P", "a.bfp"} << "print a.bfp";
    QTest::newRow("print to") << QStringList{"/pt", "a.bfp", "Office", "drv", "port"} << "printto a.bfp Office";
    QTest::newRow("exchange flag") << QStringList{"/dde", "a.bfp"} << "open a.bfp";
    QTest::newRow("two files") << QStringList{"a.bfp", "b.bfp"} << "error";
    QTest::newRow("print without file") << QStringList{"/p"} << "error";
}

void PlatformTest::theCommandLineIsParsed() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    QString error;
    const auto command = ParseShellCommand(arguments, error);
    QString seen = QStringLiteral("error");
    if (command) {
        const char* kinds[] = {"new", "open", "print", "printto"};
        seen = QString::fromLatin1(kinds[static_cast<int>(command->kind)]);
        if (!command->file.isEmpty()) seen += ' ' + command->file;
        if (!command->printer.isEmpty()) seen += ' ' + command->printer;
    } else {
        QVERIFY(error.startsWith("Usage: pallix"));
    }
    QCOMPARE(seen, parsed);
}

void PlatformTest::theDesktopRegistrationIsWrittenOnce() {
#ifdef _WIN32
    QSKIP("the registration goes to the registry on Windows");
#else
    QTemporaryDir home;
    QVERIFY(RegisterDocumentType("/opt/pallix/pallix", home.path()));
    QFile mime(home.filePath("mime/packages/pallix-quondata.xml"));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    const QByteArray type = mime.readAll();
    QVERIFY(type.contains("<glob pattern=\"*.bfp\"/>"));
    QVERIFY(type.contains("<comment>bfp file</comment>"));
    QFile entry(home.filePath("applications/pallix-quondata.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray desktop = entry.readAll();
    QVERIFY(desktop.contains("\nExec=\"/opt/pallix/pallix\" %f\n"));
    QVERIFY(desktop.contains("\nMimeType=application/x-quondata;\n"));
    // Every later start finds everything in place and writes nothing.
    QVERIFY(!RegisterDocumentType("/opt/pallix/pallix", home.path()));
    // A moved program is registered anew.
    QVERIFY(RegisterDocumentType("/usr/local/bin/pallix", home.path()));
#endif
}

void PlatformTest::theExecLineQuotesEveryPath() {
    QCOMPARE(DesktopExecLine("/home/a b/pallix"), QStringLiteral("\"/home/a b/pallix\" %f"));
    QCOMPARE(DesktopExecLine("/x/$y`z\"/100%"), QStringLiteral("\"/x/\\\\$y\\\\`z\\\\\"/100%%\" %f"));
    QCOMPARE(DesktopExecLine("/x\\y"), QStringLiteral("\"/x\\\\\\\\y\" %f"));
}

void PlatformTest::onlyAProgramRunFromAFolderRegistersItself() {
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath("bin"));
    QVERIFY(QDir(prefix.path()).mkpath("build/bin"));
    QVERIFY(QDir(prefix.path()).mkpath("share/applications"));
    QVERIFY(!RunsFromInstalledLayout(prefix.filePath("bin")));
    QFile entry(prefix.filePath("share/applications/pallix.desktop"));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.close();
    QVERIFY(RunsFromInstalledLayout(prefix.filePath("bin")));
    // A folder beside an installed tree, or one not named bin, is no installation.
    QVERIFY(!RunsFromInstalledLayout(prefix.filePath("build/bin")));
    QVERIFY(!RunsFromInstalledLayout(prefix.path()));
}

void PlatformTest::aSecondStartHandsItsFileOver() {
    const QString name = QStringLiteral("pallix-test-%1").arg(QCoreApplication::applicationPid());
    QVERIFY(!HandOverToRunningInstance(name, DemoFile()));
    QStringList received;
    InstanceServer server(name, [&](const QString& file) { received << file; });
    QVERIFY(server.Listen());
    InstanceServer second(name, [](const QString&) {});
    QVERIFY(!second.Listen());
    // The sender blocks on its socket, so it runs where the server's loop can answer.
    bool handed = false;
    std::thread sender([&] { handed = HandOverToRunningInstance(name, DemoFile()); });
    QTRY_COMPARE(received, QStringList{DemoFile()});
    sender.join();
    QVERIFY(handed);
}

namespace {

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

}  // namespace

// Another display means another session, whose window must not get the
// file; the user's name in the environment proves nothing.
void PlatformTest::theHandOverNameBelongsToOneUsersSession() {
#ifdef _WIN32
    QSKIP("Windows names the session without the environment");
#else
    QTemporaryDir runtime;
    const ScopedVariable folder("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const ScopedVariable wayland("WAYLAND_DISPLAY", {});
    const ScopedVariable user("USER", "someone");
    QString first, second, renamed;
    {
        const ScopedVariable display("DISPLAY", ":98");
        first = InstanceServerName();
    }
    {
        const ScopedVariable display("DISPLAY", ":99");
        second = InstanceServerName();
        const ScopedVariable otherUser("USER", "someone-else");
        renamed = InstanceServerName();
    }
    QVERIFY(first != second);
    QCOMPARE(renamed, second);
    QVERIFY2(second.startsWith(runtime.path() + '/'), qPrintable(second));
#endif
}

// Another user who could make the folder or listen under the name first
// would receive every file the user opens.
void PlatformTest::withoutARuntimeFolderTheHandOverLivesInAFolderOfTheUsersOwn() {
#ifdef _WIN32
    QSKIP("Windows keeps the hand-over in a pipe of the user's own");
#else
    QTemporaryDir temporary;
    const ScopedVariable folder("XDG_RUNTIME_DIR", {});
    const ScopedVariable temp("TMPDIR", temporary.path().toLocal8Bit());
    const QString name = InstanceServerName();
    const QString own = temporary.path() + "/pallix-" + QString::number(getuid());
    QVERIFY2(name.startsWith(own + '/'), qPrintable(name));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther;
    QVERIFY(!(QFile::permissions(own) & others));
    // A folder of that name that others may enter is not used.
    QVERIFY(QFile::setPermissions(own, QFile::permissions(own) | QFile::WriteOther | QFile::ExeOther));
    QCOMPARE(InstanceServerName(), QString());
#endif
}

#include "platform_test.moc"

QObject* NewPlatformTest() { return new PlatformTest; }
