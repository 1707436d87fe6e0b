// Helpers of the link tests: a HidPort driven by the test, a UsbComm that records what it
// raises, and bounded waits on the Qt event loop (and on a virtual clock's due calls).
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>
#include <vector>

#include "link/hid_port.h"
#include "link/usb_comm.h"
#include "model/clock.h"

namespace vellora::link::testing {

using Data = std::vector<std::uint8_t>;

/// n bytes counting up from `first`.
inline Data Bytes(std::size_t n, std::uint8_t first = 0) {
    Data v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
    return v;
}

/// A device that is present on the "bus" or not: records every report written to it, and
/// sends input reports or disappears when the test says so.
class ScriptedPort : public HidPort {
public:
    bool present = true;
    DeviceMatch device{0x0483, 0x5750, true};
    LinkError absent_error = LinkError::NotFound;
    int report_length = kUsbReportLength;
    int fail_write_at = -1;  ///< index of the write that fails (-1 none)
    /// Runs inside WriteReport, after the report is recorded (a device answering at once).
    std::function<void(std::span<const std::uint8_t>)> on_write;

    std::vector<DeviceMatch> open_calls;
    std::vector<Data> writes;
    std::vector<Data> features;
    int close_calls = 0;

    LinkError Open(const DeviceMatch& match) override {
        open_calls.push_back(match);
        if (!present || match.VendorId != device.VendorId || match.ProductId != device.ProductId)
            return absent_error;
        open_ = true;
        return LinkError::None;
    }
    bool IsOpen() const override { return open_; }
    int OutputReportLength() const override { return report_length; }
    LinkError WriteReport(std::span<const std::uint8_t> report) override {
        if (!open_) return LinkError::NotOpen;
        writes.emplace_back(report.begin(), report.end());
        if (static_cast<int>(writes.size()) - 1 == fail_write_at) return LinkError::WriteFailed;
        if (on_write) on_write(report);
        return LinkError::None;
    }
    LinkError SendFeatureReport(std::span<const std::uint8_t> report) override {
        if (!open_) return LinkError::NotOpen;
        features.emplace_back(report.begin(), report.end());
        return LinkError::None;
    }
    void Close() override {
        if (open_) ++close_calls;
        open_ = false;
    }

    /// The device sends one input report as it stands (USB layout).
    void Send(const Data& report) { InputReportArrived(report); }
    /// The device sends `data` as one report with report id 1, padded to 65 bytes.
    void SendData(const Data& data) {
        Data report(kUsbReportLength, 0);
        report[0] = 1;
        report[1] = static_cast<std::uint8_t>(data.size());
        std::copy(data.begin(), data.end(), report.begin() + 2);
        Send(report);
    }
    /// Unplugged: the port notices and says so.
    void Unplug(LinkError reason = LinkError::Disconnected) {
        present = false;
        open_ = false;
        DeviceLost(reason);
    }
    /// Unplugged without the port noticing: only a scan can tell.
    void VanishSilently() {
        present = false;
        open_ = false;
    }
    /// Data bytes of each written report: as many bytes after the count as the count says.
    std::vector<Data> WrittenData() const {
        std::vector<Data> out;
        for (const Data& r : writes) out.emplace_back(r.begin() + 2, r.begin() + 2 + r[1]);
        return out;
    }

private:
    bool open_ = false;
};

/// A UsbComm that records every DataArrival and Plug it raises.
struct RecordingComm {
    RecordingComm(HidPort& port, model::Clock& clock) : comm(port, clock) {
        comm.SetDataArrivalHandler([this](const Data& d) { arrived.push_back(d); });
        comm.SetPlugHandler([this](bool s) { plugs.push_back(s); });
    }
    UsbComm comm;
    std::vector<Data> arrived;
    std::vector<bool> plugs;
};

inline constexpr int kWaitLimitMs = 10000;

/// Pumps events (and the clock's due calls) until `pred` holds; false after a generous limit.
template <typename Pred>
bool WaitUntil(Pred pred, model::VirtualClock* clock = nullptr, int limit_ms = kWaitLimitMs) {
    const QDeadlineTimer deadline(limit_ms);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock != nullptr) clock->RunDue();
        if (pred()) return true;
        if (deadline.hasExpired()) return false;
        QThread::msleep(1);
    }
}

/// Lets queued work run for a while; for checking that nothing more happens.
inline void Settle(model::VirtualClock* clock = nullptr, int ms = 50) {
    WaitUntil([] { return false; }, clock, ms);
}

}  // namespace vellora::link::testing
