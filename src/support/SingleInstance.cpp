#include "support/SingleInstance.h"

#include "support/DataFolderLock.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace brimlo {

namespace {

constexpr int kSocketWaitMs = 2000;

// Copies on different data folders must not share a socket.
std::string FolderTag(const std::string& folder) {
    std::error_code error;
    const std::string name = std::filesystem::weakly_canonical(folder, error).string();
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : name.empty() ? folder : name)
        h = (h ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
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

SingleInstance::SingleInstance(const std::string& lockName, const std::string& dataFolder,
                               std::function<void()> onRaiseRequest)
    : serverName_(lockName + "_" + std::to_string(::getuid()) + "_" + FolderTag(dataFolder)),
      onRaiseRequest_(std::move(onRaiseRequest)),
      lock_(std::make_unique<DataFolderLock>(dataFolder)) {
    if (lock_->taken()) {
        another_ = true;
        holder_ = lock_->holder();
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
    // We hold the folder, so a socket file of its name left behind is a
    // killed copy's.
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

bool CheckSingleInstance(const std::string& lockName, const std::string& dataFolder,
                         std::function<void()> onRaiseRequest, std::string& holder) {
    static std::unique_ptr<SingleInstance> held;
    auto check = std::make_unique<SingleInstance>(lockName, dataFolder, std::move(onRaiseRequest));
    const bool another = check->anotherCopyRuns();
    holder = check->holder();
    if (!another)
        held = std::move(check);
    return another;
}

} // namespace brimlo
