#include "platform/ActivationChannel.h"

#include <QLocalSocket>

namespace {

constexpr int ConnectTimeoutMs = 1000;
const QByteArray ActivationRequest = "activate\n";

}  // namespace

ActivationChannel::ActivationChannel(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)) {}

ActivationChannel::~ActivationChannel() = default;

bool ActivationChannel::runningCopyListens() const {
    QLocalSocket socket;
    socket.connectToServer(path_);
    const bool connected = socket.waitForConnected(ConnectTimeoutMs);
    socket.abort();
    return connected;
}

bool ActivationChannel::requestActivation() const {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(ConnectTimeoutMs)) return false;
    socket.write(ActivationRequest);
    const bool written = socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectTimeoutMs);
    return written;
}

bool ActivationChannel::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path_)) {
        if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
        // Nobody answered there (checked at start), so the file is a dead copy's.
        QLocalServer::removeServer(path_);
        if (!server_->listen(path_)) return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this,
            &ActivationChannel::acceptConnections);
    return true;
}

void ActivationChannel::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) readRequest(socket);
    }
}

void ActivationChannel::readRequest(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        if (socket->readLine() == ActivationRequest) Q_EMIT activationRequested();
    }
    // Anything else is not ours: a peer that talks too much is dropped.
    if (socket->bytesAvailable() > 64) socket->abort();
}
