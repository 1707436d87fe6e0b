// The device's end of the socket bridge, for a simulated processor in its own process: listens
// on a Unix socket or on TCP on this machine, serves one terminal at a time, hands the data
// bytes of every output report to the device and sends the device's input reports back.
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <cstdint>
#include <span>
#include <string>

#include "link/bridge_record.h"
#include "link/endpoint.h"
#include "link/link_error.h"

class QIODevice;
class QLocalServer;
class QTcpServer;

namespace vellora::link {

class SocketBridgeServer : public QObject {
    Q_OBJECT

public:
    /// Report id of the input reports the server sends.
    static constexpr std::uint8_t kInputReportId = 1;
    /// Most bytes that may wait unsent for the terminal. A terminal that leaves more unread
    /// is dropped (NotReading), so one that sends and never reads cannot grow the server.
    static constexpr qint64 kMaxQueuedBytes = qint64{1} << 20;

    explicit SocketBridgeServer(QObject* parent = nullptr);
    ~SocketBridgeServer() override;

    /// Listens on a Unix or Tcp endpoint. A tcp host must be a loopback address; port 0 picks
    /// a free port (ListeningEndpoint tells which). A Unix socket file that nobody answers on
    /// is a leftover and is replaced; one in use is refused (ListenFailed).
    [[nodiscard]] LinkError Listen(const Endpoint& endpoint);
    [[nodiscard]] bool IsListening() const;
    [[nodiscard]] Endpoint ListeningEndpoint() const { return endpoint_; }
    /// Why the last Listen failed, in English; empty after a success.
    [[nodiscard]] const std::string& ErrorString() const { return error_; }
    /// Stops listening and drops the terminal (ClientDisconnected is raised for it).
    void Close();

    [[nodiscard]] bool HasClient() const { return client_ != nullptr; }
    /// Sends up to 60 data bytes to the terminal as one input report (an empty array sends a
    /// report of count 0, which the terminal ignores). NotOpen without a terminal, BadArgument
    /// for more than 60 bytes (nothing is sent); NotReading when the report would take the
    /// unsent bytes over kMaxQueuedBytes: the terminal is then dropped.
    [[nodiscard]] LinkError SendReport(std::span<const std::uint8_t> data);
    /// Disconnects the terminal, as if the device were unplugged.
    void DropClient();

signals:
    void ClientConnected();
    /// The terminal has gone: Disconnected, or BadRecord / ShortRecord when it broke the format,
    /// NotReading when it left too much unread (the server then dropped it).
    void ClientDisconnected(vellora::link::LinkError reason);
    /// The data bytes of one output report of the terminal (never empty), in order.
    void OutputData(const QByteArray& data);

private:
    void Accept(QIODevice* socket);
    void ReadClient();
    void ClientEnded();
    void EndClient(LinkError reason);

    QLocalServer* local_server_ = nullptr;
    QTcpServer* tcp_server_ = nullptr;
    QIODevice* client_ = nullptr;
    RecordReader reader_;
    Endpoint endpoint_;
    std::string error_;
};

}  // namespace vellora::link

Q_DECLARE_METATYPE(vellora::link::LinkError)
