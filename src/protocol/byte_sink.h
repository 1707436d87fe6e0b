// Where the link engine sends its bytes: frames, keep-alive and search bytes. The program
// sends through the USB_Comm control (link::UsbComm::SendData); the engine never sees a port.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <utility>

namespace vellora::protocol {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Sends all `bytes` in order; true when every byte left the terminal. The engine does
    /// not rely on the answer: a frame that did not leave simply gets no reply.
    virtual bool SendData(std::span<const uint8_t> bytes) = 0;
};

/// A sink that forwards to a function, e.g. a lambda around UsbComm::SendData.
class FunctionSink : public ByteSink {
public:
    using Send = std::function<bool(std::span<const uint8_t>)>;
    explicit FunctionSink(Send send) : send_(std::move(send)) {}
    bool SendData(std::span<const uint8_t> bytes) override { return send_ && send_(bytes); }

private:
    Send send_;
};

}  // namespace vellora::protocol
