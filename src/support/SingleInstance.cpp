#include "support/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace brimlo {

namespace {

constexpr int kSocketWaitMs = 2000;

QString LockDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

// Reads whatever a later copy wrote; each complete message is one request.
void ServeConnection(QLocalSocket* socket, const std::function<void()>& onRaise) {
    auto readRequests = [socket, onRaise] {
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine();
            if (line == SingleInstance::kRaiseMessage && onRaise)
                onRaise();
        }
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, readRequests);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, readRequests] {
        readRequests();
        socket->deleteLater();
    });
    readRequests();
}

} // namespace

SingleInstance::SingleInstance(const std::string& lockName, std::function<void()> onRaiseRequest)
    : serverName_(lockName + "_" + std::to_string(::getuid())),
      onRaiseRequest_(std::move(onRaiseRequest)) {
    const QString name = QString::fromStdString(serverName_);
    lock_ = std::make_unique<QLockFile>(QDir(LockDirectory()).filePath(name + u".lock"_qs));
    // Only a lock whose holder has died counts as stale, never an old one.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        listen();
        return;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        another_ = true;
        askFirstCopyForward();
        return;
    }
    // The lock file cannot be made at all (no writable runtime folder): the
    // socket alone decides, a live listener meaning another copy.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kSocketWaitMs)) {
        probe.disconnectFromServer();
        another_ = true;
        askFirstCopyForward();
        return;
    }
    listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen() {
    const QString name = QString::fromStdString(serverName_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind is a killed copy's.
    QLocalServer::removeServer(name);
    server_->listen(name);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            ServeConnection(socket, onRaiseRequest_);
    });
}

void SingleInstance::askFirstCopyForward() {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(serverName_));
    if (!socket.waitForConnected(kSocketWaitMs))
        return;
    socket.write(kRaiseMessage);
    socket.waitForBytesWritten(kSocketWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kSocketWaitMs);
}

bool CheckSingleInstance(const std::string& lockName, std::function<void()> onRaiseRequest) {
    static std::unique_ptr<SingleInstance> held;
    auto check = std::make_unique<SingleInstance>(lockName, std::move(onRaiseRequest));
    const bool another = check->anotherCopyRuns();
    if (!another)
        held = std::move(check);
    return another;
}

} // namespace brimlo
