// The report-level port that UsbComm drives: find and open one HID device, write output
// reports, hand over input reports, report a lost device. hidapi, the socket bridge and the
// in-process simulated processor each implement it.
#pragma once

#include <cstdint>
#include <span>

#include "link/link_error.h"

namespace vellora::link {

/// Length of the processor's reports on USB, report id included (64 bytes of report).
inline constexpr int kUsbReportLength = 65;

/// Which device to open.
struct DeviceMatch {
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    /// False for the USB-HID bridge chip, whose reports carry no report id on USB.
    bool NumberedReports = true;

    friend bool operator==(const DeviceMatch&, const DeviceMatch&) = default;
};

/// Receives what a port hands over. UsbComm is the one listener in the program.
class HidPortListener {
public:
    virtual ~HidPortListener() = default;
    /// One input report in the USB layout: byte 0 report id, byte 1 count n, bytes 2..n+1
    /// data, then padding. The span is valid for the call only.
    virtual void InputReport(std::span<const std::uint8_t> report) = 0;
    /// The open device has gone; the port is already closed when this is called.
    virtual void PortLost(LinkError reason) = 0;
};

/// What an implementation must do (the in-process simulated processor included):
/// - all methods and both listener calls run on the owner's (user-interface) thread;
/// - Open is called only while closed and does not block for long (no more than a few ms);
/// - input reports are handed over one per InputReportArrived call, in the order the device
///   sent them, each exactly once; they may be handed over at any time, also from inside
///   WriteReport (UsbComm defers those until the write has returned);
/// - a write or read failure means the device is lost: close, then call DeviceLost (or
///   return the error from WriteReport; UsbComm closes the port then);
/// - Close forgets everything of the session: nothing of it is handed over afterwards.
class HidPort {
public:
    virtual ~HidPort() = default;
    HidPort() = default;
    HidPort(const HidPort&) = delete;
    HidPort& operator=(const HidPort&) = delete;

    /// The listener is not owned; nullptr detaches it.
    void SetListener(HidPortListener* listener) { listener_ = listener; }

    /// Finds the first present device with the ids of `match` and opens it. None when open;
    /// NotFound, AccessDenied (SocketAccessDenied for a bridge socket) or OpenFailed otherwise
    /// (the port stays closed).
    [[nodiscard]] virtual LinkError Open(const DeviceMatch& match) = 0;
    [[nodiscard]] virtual bool IsOpen() const = 0;
    /// Output report length in bytes, report id included, of the open device (65 for the
    /// processor); UsbComm writes reports of exactly this length.
    [[nodiscard]] virtual int OutputReportLength() const = 0;
    /// Writes one output report; byte 0 is the report id.
    [[nodiscard]] virtual LinkError WriteReport(std::span<const std::uint8_t> report) = 0;
    /// Sends one feature report; byte 0 is the report id.
    [[nodiscard]] virtual LinkError SendFeatureReport(std::span<const std::uint8_t> report) = 0;
    /// Closes the device; harmless when closed.
    virtual void Close() = 0;

protected:
    /// For implementations: hand one input report (USB layout) to the listener.
    void InputReportArrived(std::span<const std::uint8_t> report);
    /// For implementations: the device is gone and the port has closed itself.
    void DeviceLost(LinkError reason);

private:
    HidPortListener* listener_ = nullptr;
};

}  // namespace vellora::link
