// A HidPort driven by the test: a device that is present or not, records every report written
// to it, and sends input reports or disappears when the test says so.
#pragma once

#include <functional>
#include <vector>

#include "link/hid_port.h"

namespace vellora::link::testing {

class ScriptedPort : public HidPort {
public:
    // The device on the "bus".
    bool present = true;
    DeviceMatch device{0x0483, 0x5750, true};
    LinkError absent_error = LinkError::NotFound;
    int report_length = kUsbReportLength;
    int fail_write_at = -1;  ///< index of the write that fails (-1 none)
    /// Runs inside WriteReport, after the report is recorded (a device answering at once).
    std::function<void(std::span<const std::uint8_t>)> on_write;

    // What happened.
    std::vector<DeviceMatch> open_calls;
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::vector<std::uint8_t>> features;
    int close_calls = 0;

    LinkError Open(const DeviceMatch& match) override {
        open_calls.push_back(match);
        if (!present || match.VendorId != device.VendorId || match.ProductId != device.ProductId) {
            return absent_error;
        }
        open_ = true;
        return LinkError::None;
    }
    bool IsOpen() const override { return open_; }
    int OutputReportLength() const override { return report_length; }
    LinkError WriteReport(std::span<const std::uint8_t> report) override {
        if (!open_) return LinkError::NotOpen;
        const int index = static_cast<int>(writes.size());
        writes.emplace_back(report.begin(), report.end());
        if (index == fail_write_at) return LinkError::WriteFailed;
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

    /// The device sends one input report (USB layout).
    void Send(const std::vector<std::uint8_t>& report) { InputReportArrived(report); }
    /// The device sends `data` as one report with report id 1 and padding to 65 bytes.
    void SendData(const std::vector<std::uint8_t>& data) {
        std::vector<std::uint8_t> report(kUsbReportLength, 0);
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

private:
    bool open_ = false;
};

/// Data bytes of each written report: the bytes after the count, as many as the count says.
inline std::vector<std::vector<std::uint8_t>> WrittenData(const ScriptedPort& port) {
    std::vector<std::vector<std::uint8_t>> out;
    for (const auto& report : port.writes) {
        out.emplace_back(report.begin() + 2, report.begin() + 2 + report[1]);
    }
    return out;
}

inline std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t first = 0) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
    return v;
}

}  // namespace vellora::link::testing
