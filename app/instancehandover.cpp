#include "app/instancehandover.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include "framework/os.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A path longer than this is no path; the request is dropped.
constexpr qint64 kMaxRequestBytes = 64 * 1024;
// Room for a socket's path on every Unix (sun_path holds at least 104 bytes).
constexpr qsizetype kMaxSocketPathBytes = 100;

// Who runs the program, as the system knows it: another user's program,
// whatever its environment says, never hears of this one's files.
QString UserIdentity() { return QString::fromStdString(fw::os::UserIdentity()); }

// The desktop session the program shows on: a program on another display
// or in another login session keeps its files to itself.
QString SessionIdentity() {
    const std::string session = fw::os::SessionIdentity();
    if (!session.empty()) return QString::fromStdString(session);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// The user's runtime folder, private to them, when the system has one.
QString RuntimeFolder() {
    const QString folder = QString::fromStdString(fw::os::Utf8FromPath(fw::os::RuntimeFolder()));
    return !folder.isEmpty() && QDir(folder).exists() ? QDir(folder).absolutePath() : QString();
}

// Without a runtime folder, a folder of the user's own in the temporary
// folder, mode 0700: nobody else can listen in it or take its name first.
// One that another user made, or that others may enter, is not used.
QString PrivateSocketFolder() {
    const QString folder = QDir::tempPath() + "/pallix-" + UserIdentity();
    const auto path = fw::os::PathFromUtf8(folder.toStdString());
    if (!fw::os::MakePrivateFolder(path) || !fw::os::IsOwnPrivateFolder(path)) return {};
    return folder;
}

// The socket's path in the folder, when the socket can hold it.
QString SocketPath(const QString& folder, const QString& name) {
    const QString path = folder + '/' + name;
    return !folder.isEmpty() && QFile::encodeName(path).size() <= kMaxSocketPathBytes ? path : QString();
}

}  // namespace

QString InstanceServerName() {
    const QByteArray identity = (UserIdentity() + '\n' + SessionIdentity()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(12);
    const QString name = QStringLiteral("QuonDataManager-Pallix-") + QString::fromLatin1(hash);
#ifdef Q_OS_WIN
    return name;  // a pipe that only this user's programs may open
#else
    // A name in the shared temporary folder would let another user listen
    // first and receive every file: without a folder of the user's own
    // that holds the path, there is no hand-over at all.
    const QString path = SocketPath(RuntimeFolder(), name);
    return path.isEmpty() ? SocketPath(PrivateSocketFolder(), name) : path;
#endif
}

bool HandOverToRunningInstance(const QString& serverName, const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return false;
    // The running program closes the connection once it has the whole path.
    socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}

InstanceServer::InstanceServer(const QString& serverName, OpenRequest open, QObject* parent)
    : QObject(parent), serverName_(serverName), open_(std::move(open)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

bool InstanceServer::Listen() {
    QLocalSocket probe;
    probe.connectToServer(serverName_);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;
    // Nobody answers on the name, so what is left of it is from a program
    // that ended without cleaning up.
    QLocalServer::removeServer(serverName_);
    return server_.listen(serverName_);
}

void InstanceServer::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxRequestBytes) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine()) return;
            const QString file = QString::fromUtf8(socket->readLine()).chopped(1);
            socket->disconnectFromServer();
            // The open may ask to save first; the sender must not wait for that.
            if (!file.isEmpty()) QTimer::singleShot(0, this, [this, file] { open_(file); });
        });
    }
}
