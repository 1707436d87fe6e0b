// The terminal's end of the socket bridge: a device in another process, reached over a Unix
// socket (a named pipe on Windows) or TCP on this machine. Connecting is opening the device;
// a closed connection is a device that has gone.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>

#include "link/bridge_record.h"
#include "link/endpoint.h"
#include "link/hid_port.h"

class QIODevice;
class QLocalSocket;
class QTcpSocket;

namespace vellora::link {

class SocketPort : public HidPort {
public:
    /// Open waits at most this long for the connection (the peer is on this machine).
    static constexpr int kConnectTimeoutMs = 250;

    /// `endpoint` is a Unix or Tcp endpoint. Needs a Qt event loop on the owner's thread.
    explicit SocketPort(Endpoint endpoint);
    ~SocketPort() override;

    /// Connects to the endpoint; the ids of `match` play no part (the peer is the device).
    /// NotFound when nothing listens there, SocketAccessDenied when the socket may not be used.
    [[nodiscard]] LinkError Open(const DeviceMatch& match) override;
    [[nodiscard]] bool IsOpen() const override { return open_; }
    [[nodiscard]] int OutputReportLength() const override { return kUsbReportLength; }
    /// Sends the report as one record.
    [[nodiscard]] LinkError WriteReport(std::span<const std::uint8_t> report) override;
    /// Feature reports configure the USB bridge chip only; nothing travels over the socket.
    [[nodiscard]] LinkError SendFeatureReport(std::span<const std::uint8_t> report) override;
    void Close() override;

    [[nodiscard]] const Endpoint& GetEndpoint() const { return endpoint_; }

private:
    void ReadAvailable();
    void ConnectionEnded();
    void Fail(LinkError reason);

    Endpoint endpoint_;
    QObject context_;  // receives the socket's signals and the queued hand-overs
    std::unique_ptr<QLocalSocket> local_;
    std::unique_ptr<QTcpSocket> tcp_;
    QIODevice* io_ = nullptr;
    RecordReader reader_;
    bool open_ = false;
    std::uint64_t session_ = 0;
};

}  // namespace vellora::link
