// Socket-bridge backend of HidPort: records out, records in, one queued hand-over per report.
#include "link/socket_port.h"

#include <QHostAddress>
#include <QLocalSocket>
#include <QMetaObject>
#include <QTcpSocket>
#include <utility>
#include <vector>

namespace vellora::link {

namespace {

LinkError LocalOpenError(QLocalSocket::LocalSocketError error) {
    switch (error) {
        case QLocalSocket::ServerNotFoundError:
        case QLocalSocket::ConnectionRefusedError:
            return LinkError::NotFound;
        case QLocalSocket::SocketAccessError:
            return LinkError::SocketAccessDenied;
        default:
            return LinkError::OpenFailed;
    }
}

LinkError TcpOpenError(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
        case QAbstractSocket::HostNotFoundError:
            return LinkError::NotFound;
        case QAbstractSocket::SocketAccessError:
            return LinkError::SocketAccessDenied;
        default:
            return LinkError::OpenFailed;
    }
}

QHostAddress HostAddress(const std::string& host) {
    if (host == "localhost") return QHostAddress(QHostAddress::LocalHost);
    QString text = QString::fromStdString(host);
    if (text.startsWith('[') && text.endsWith(']')) text = text.mid(1, text.size() - 2);
    return QHostAddress(text);
}

}  // namespace

SocketPort::SocketPort(Endpoint endpoint) : endpoint_(std::move(endpoint)) {}

SocketPort::~SocketPort() {
    Close();
}

LinkError SocketPort::Open(const DeviceMatch& /*match*/) {
    Close();
    reader_.Clear();
    ++session_;
    if (endpoint_.Kind == EndpointKind::Unix) {
        local_ = std::make_unique<QLocalSocket>();
        local_->connectToServer(QString::fromStdString(endpoint_.Path));
        if (!local_->waitForConnected(kConnectTimeoutMs)) {
            const LinkError error = LocalOpenError(local_->error());
            local_->abort();
            local_.reset();
            return error;
        }
        io_ = local_.get();
        QObject::connect(local_.get(), &QLocalSocket::disconnected, &context_,
                         [this] { ConnectionEnded(); });
    } else if (endpoint_.Kind == EndpointKind::Tcp) {
        tcp_ = std::make_unique<QTcpSocket>();
        tcp_->connectToHost(HostAddress(endpoint_.Host), endpoint_.Port);
        if (!tcp_->waitForConnected(kConnectTimeoutMs)) {
            const LinkError error = TcpOpenError(tcp_->error());
            tcp_->abort();
            tcp_.reset();
            return error;
        }
        tcp_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        io_ = tcp_.get();
        QObject::connect(tcp_.get(), &QTcpSocket::disconnected, &context_,
                         [this] { ConnectionEnded(); });
    } else {
        return LinkError::NotFound;
    }
    QObject::connect(io_, &QIODevice::readyRead, &context_, [this] { ReadAvailable(); });
    open_ = true;
    // Bytes that came with the connection are not announced again.
    if (io_->bytesAvailable() > 0) ReadAvailable();
    return LinkError::None;
}

void SocketPort::ReadAvailable() {
    // A connection the peer has closed may already be closed here: nothing is left to read.
    if (!open_ || io_ == nullptr || !io_->isOpen()) return;
    const QByteArray bytes = io_->readAll();
    reader_.Append(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())));
    std::vector<std::uint8_t> report;
    for (;;) {
        const RecordReader::Status status = reader_.Next(report);
        if (status == RecordReader::Status::NeedMore) return;
        if (status == RecordReader::Status::Bad) {
            Fail(LinkError::BadRecord);
            return;
        }
        // One queued call per report: the listener gets them one at a time, in order, and a
        // listener that runs an event loop of its own still sees the reports behind this one.
        const std::uint64_t session = session_;
        QMetaObject::invokeMethod(
            &context_,
            [this, session, report] {
                if (session == session_) InputReportArrived(report);
            },
            Qt::QueuedConnection);
    }
}

void SocketPort::ConnectionEnded() {
    if (!open_) return;
    ReadAvailable();
    if (!open_) return;
    Fail(reader_.HasPartial() ? LinkError::ShortRecord : LinkError::Disconnected);
}

void SocketPort::Fail(LinkError reason) {
    // Writes fail from now on; the reports already queued go first, then the loss.
    open_ = false;
    if (io_ != nullptr) {
        QObject::disconnect(io_, nullptr, &context_, nullptr);
        if (local_) local_->abort();
        if (tcp_) tcp_->abort();
    }
    const std::uint64_t session = session_;
    QMetaObject::invokeMethod(
        &context_,
        [this, session, reason] {
            if (session != session_) return;
            Close();
            DeviceLost(reason);
        },
        Qt::QueuedConnection);
}

LinkError SocketPort::WriteReport(std::span<const std::uint8_t> report) {
    if (!open_ || io_ == nullptr) return LinkError::NotOpen;
    if (report.empty() || report.size() > 255) return LinkError::BadArgument;
    const std::vector<std::uint8_t> record = EncodeRecord(report);
    const auto size = static_cast<qint64>(record.size());
    if (io_->write(reinterpret_cast<const char*>(record.data()), size) != size) {
        return LinkError::WriteFailed;
    }
    // Hand the bytes to the system now rather than on the next pass of the event loop.
    if (local_) local_->flush();
    if (tcp_) tcp_->flush();
    return open_ ? LinkError::None : LinkError::WriteFailed;  // the flush may find it closed
}

LinkError SocketPort::SendFeatureReport(std::span<const std::uint8_t> /*report*/) {
    return open_ ? LinkError::None : LinkError::NotOpen;
}

void SocketPort::Close() {
    open_ = false;
    ++session_;
    if (io_ != nullptr) QObject::disconnect(io_, nullptr, &context_, nullptr);
    io_ = nullptr;
    if (local_) {
        local_->abort();
        local_.reset();
    }
    if (tcp_) {
        tcp_->abort();
        tcp_.reset();
    }
    reader_.Clear();
}

}  // namespace vellora::link
