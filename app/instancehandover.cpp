#include "instancehandover.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A path longer than this is no path; the request is dropped.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

}  // namespace

QString InstanceServerName() {
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    const QByteArray hash = QCryptographicHash::hash(user.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("QuonDataManager-Pallix-") + QString::fromLatin1(hash);
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
