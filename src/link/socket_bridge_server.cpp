// Server side of the socket bridge.
#include "link/socket_bridge_server.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <vector>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>

#include <cerrno>
#endif

namespace vellora::link {

namespace {

constexpr int kProbeTimeoutMs = 200;

QHostAddress LoopbackAddress(const std::string& host) {
    if (host == "localhost") return QHostAddress(QHostAddress::LocalHost);
    QString text = QString::fromStdString(host);
    if (text.startsWith('[') && text.endsWith(']')) text = text.mid(1, text.size() - 2);
    return QHostAddress(text);
}

// Whether the place of a local socket is free or holds only a socket file (which may be
// removed). Anything else there, a user's file above all, must never be replaced.
bool ReplaceableSocketFile(const QString& name) {
#if defined(Q_OS_UNIX)
    // QLocalServer puts a bare name into the temporary directory.
    const QString path = name.contains('/') ? name : QDir::tempPath() + '/' + name;
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return errno == ENOENT;
    return S_ISSOCK(info.st_mode);
#else
    Q_UNUSED(name);
    return true;  // named pipes leave nothing behind
#endif
}

void Abort(QIODevice* socket) {
    if (auto* local = qobject_cast<QLocalSocket*>(socket)) local->abort();
    if (auto* tcp = qobject_cast<QTcpSocket*>(socket)) tcp->abort();
}

void Flush(QIODevice* socket) {
    if (auto* local = qobject_cast<QLocalSocket*>(socket)) local->flush();
    if (auto* tcp = qobject_cast<QTcpSocket*>(socket)) tcp->flush();
}

}  // namespace

SocketBridgeServer::SocketBridgeServer(QObject* parent) : QObject(parent) {
    qRegisterMetaType<vellora::link::LinkError>();
}

SocketBridgeServer::~SocketBridgeServer() {
    // No signals from a server that is going away.
    blockSignals(true);
    Close();
}

bool SocketBridgeServer::IsListening() const {
    return (local_server_ != nullptr && local_server_->isListening()) ||
           (tcp_server_ != nullptr && tcp_server_->isListening());
}

LinkError SocketBridgeServer::Listen(const Endpoint& endpoint) {
    Close();
    error_.clear();
    if (endpoint.Kind == EndpointKind::Unix) {
        if (endpoint.Path.empty()) {
            error_ = "empty socket path";
            return LinkError::ListenFailed;
        }
        const QString name = QString::fromStdString(endpoint.Path);
        local_server_ = new QLocalServer(this);
        local_server_->setSocketOptions(QLocalServer::UserAccessOption);
        // A socket that answers belongs to a device that is running: leave it alone. One that
        // does not is a leftover of a device that has gone, and is replaced.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kProbeTimeoutMs)) {
            probe.abort();
            error_ = "another device already listens on " + endpoint.Path;
            delete local_server_;
            local_server_ = nullptr;
            return LinkError::ListenFailed;
        }
        if (!ReplaceableSocketFile(name)) {
            error_ = endpoint.Path + " exists and is not a socket";
            delete local_server_;
            local_server_ = nullptr;
            return LinkError::ListenFailed;
        }
        QLocalServer::removeServer(name);
        const bool listening = local_server_->listen(name);
        if (!listening) {
            if (error_.empty()) error_ = local_server_->errorString().toStdString();
            delete local_server_;
            local_server_ = nullptr;
            return LinkError::ListenFailed;
        }
        connect(local_server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = local_server_->nextPendingConnection()) Accept(socket);
        });
        endpoint_ = endpoint;
        return LinkError::None;
    }
    if (endpoint.Kind == EndpointKind::Tcp) {
        const QHostAddress address = LoopbackAddress(endpoint.Host);
        if (address.isNull() || !address.isLoopback()) {
            error_ = "the bridge listens on a loopback address only (127.0.0.1, ::1, localhost)";
            return LinkError::ListenFailed;
        }
        tcp_server_ = new QTcpServer(this);
        if (!tcp_server_->listen(address, endpoint.Port)) {
            error_ = tcp_server_->errorString().toStdString();
            delete tcp_server_;
            tcp_server_ = nullptr;
            return LinkError::ListenFailed;
        }
        connect(tcp_server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = tcp_server_->nextPendingConnection()) {
                socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                Accept(socket);
            }
        });
        endpoint_ = endpoint;
        endpoint_.Port = tcp_server_->serverPort();
        return LinkError::None;
    }
    error_ = "the bridge listens on unix:PATH or tcp:HOST:PORT only";
    return LinkError::ListenFailed;
}

void SocketBridgeServer::Accept(QIODevice* socket) {
    if (client_ != nullptr) {
        // One terminal at a time: a second one is turned away at once.
        Abort(socket);
        socket->deleteLater();
        return;
    }
    client_ = socket;
    reader_.Clear();
    connect(socket, &QIODevice::readyRead, this, [this] { ReadClient(); });
    if (auto* local = qobject_cast<QLocalSocket*>(socket)) {
        connect(local, &QLocalSocket::disconnected, this, [this] { ClientEnded(); });
    } else if (auto* tcp = qobject_cast<QTcpSocket*>(socket)) {
        connect(tcp, &QTcpSocket::disconnected, this, [this] { ClientEnded(); });
    }
    emit ClientConnected();
    if (client_ == socket && socket->bytesAvailable() > 0) ReadClient();
}

void SocketBridgeServer::ReadClient() {
    QIODevice* const socket = client_;
    if (socket == nullptr) return;
    const QByteArray bytes = socket->readAll();
    reader_.Append(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())));
    std::vector<std::uint8_t> report;
    while (client_ == socket) {
        const RecordReader::Status status = reader_.Next(report);
        if (status == RecordReader::Status::NeedMore) return;
        if (status == RecordReader::Status::Bad) {
            EndClient(LinkError::BadRecord);
            return;
        }
        const std::size_t count = report[1];
        if (count == 0) continue;
        emit OutputData(QByteArray(reinterpret_cast<const char*>(report.data() + 2),
                                   static_cast<qsizetype>(count)));
    }
}

void SocketBridgeServer::ClientEnded() {
    if (client_ == nullptr) return;
    ReadClient();
    if (client_ == nullptr) return;
    EndClient(reader_.HasPartial() ? LinkError::ShortRecord : LinkError::Disconnected);
}

void SocketBridgeServer::EndClient(LinkError reason) {
    QIODevice* const socket = client_;
    if (socket == nullptr) return;
    client_ = nullptr;
    disconnect(socket, nullptr, this, nullptr);
    Abort(socket);
    socket->deleteLater();
    reader_.Clear();
    emit ClientDisconnected(reason);
}

LinkError SocketBridgeServer::SendReport(std::span<const std::uint8_t> data) {
    if (client_ == nullptr) return LinkError::NotOpen;
    if (data.size() > kRecordMaxCount) return LinkError::BadArgument;
    const std::vector<std::uint8_t> record = EncodeDataRecord(kInputReportId, data);
    const auto size = static_cast<qint64>(record.size());
    if (client_->bytesToWrite() + size > kMaxQueuedBytes) {
        EndClient(LinkError::NotReading);
        return LinkError::NotReading;
    }
    if (client_->write(reinterpret_cast<const char*>(record.data()), size) != size) {
        EndClient(LinkError::Disconnected);
        return LinkError::WriteFailed;
    }
    Flush(client_);
    return LinkError::None;
}

void SocketBridgeServer::DropClient() {
    EndClient(LinkError::Disconnected);
}

void SocketBridgeServer::Close() {
    EndClient(LinkError::Disconnected);
    if (local_server_ != nullptr) {
        local_server_->close();
        delete local_server_;
        local_server_ = nullptr;
    }
    if (tcp_server_ != nullptr) {
        tcp_server_->close();
        delete tcp_server_;
        tcp_server_ = nullptr;
    }
    endpoint_ = Endpoint{};
}

}  // namespace vellora::link
