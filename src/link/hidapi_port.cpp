// hidapi backend of HidPort. hidapi's -1 and NULL results become LinkError values here.
#include "link/hidapi_port.h"

#include <hidapi.h>

#include <QMetaObject>
#include <array>
#include <vector>

namespace vellora::link {

namespace {

constexpr int kReadTimeoutMs = 25;  // how long Close may wait for the reader to notice

}  // namespace

HidapiPort::HidapiPort(model::Clock& clock)
    : clock_(clock),
      own_enumeration_(std::make_unique<HidapiEnumeration>()),
      enumeration_(*own_enumeration_) {}

HidapiPort::HidapiPort(model::Clock& clock, HidEnumeration& enumeration)
    : clock_(clock), enumeration_(enumeration) {}

HidapiPort::~HidapiPort() {
    Close();
}

bool HidapiPort::IsOpen() const {
    return device_ != nullptr && !failed_.load();
}

LinkError HidapiPort::Open(const DeviceMatch& match) {
    if (device_ != nullptr) Close();
    const std::int64_t now = clock_.NowMs();
    if (scanned_ && last_scan_result_ != LinkError::None && match == last_match_ &&
        now - last_scan_ms_ < kMinScanIntervalMs) {
        return last_scan_result_;
    }
    scanned_ = true;
    last_scan_ms_ = now;
    last_match_ = match;
    ++enumerations_;

    hid_device* opened = nullptr;
    LinkError result = LinkError::NotFound;
    {
        const std::lock_guard lock(io_);
        // Of several matching nodes the first that opens wins; when none does, a node that
        // was refused for lack of permission says more than one that failed otherwise.
        for (const HidDeviceEntry& entry :
             enumeration_.Enumerate(match.VendorId, match.ProductId)) {
            if (entry.VendorId != match.VendorId || entry.ProductId != match.ProductId) continue;
            const HidOpenResult attempt = enumeration_.OpenPath(entry.Path);
            opened = attempt.Device;
            if (opened != nullptr) break;
            if (result != LinkError::AccessDenied) {
                result = attempt.Error == LinkError::AccessDenied ? LinkError::AccessDenied
                                                                  : LinkError::OpenFailed;
            }
        }
    }
    if (opened == nullptr) {
        last_scan_result_ = result;
        return result;
    }
    last_scan_result_ = LinkError::None;
    device_ = opened;
    failed_ = false;
    stop_ = false;
    ++session_;
    reader_ = std::thread(&HidapiPort::ReadLoop, this, opened, match.NumberedReports, session_);
    return LinkError::None;
}

void HidapiPort::ReadLoop(hid_device_* device, bool numbered, std::uint64_t session) {
    // The one hidapi call made off the owner's thread; hidapi allows a reader beside it.
    std::array<unsigned char, 256> buffer{};
    while (!stop_.load()) {
        const int n = hid_read_timeout(device, buffer.data(), buffer.size(), kReadTimeoutMs);
        if (n < 0) {
            failed_ = true;
            QMetaObject::invokeMethod(
                &context_,
                [this, session] {
                    if (session != session_) return;
                    Close();
                    DeviceLost(LinkError::ReadFailed);
                },
                Qt::QueuedConnection);
            return;
        }
        if (n == 0) continue;
        std::vector<std::uint8_t> report =
            InputReportFromRead(std::span(buffer.data(), static_cast<std::size_t>(n)), numbered);
        QMetaObject::invokeMethod(
            &context_,
            [this, session, report = std::move(report)] {
                if (session == session_) InputReportArrived(report);
            },
            Qt::QueuedConnection);
    }
}

std::vector<std::uint8_t> HidapiPort::InputReportFromRead(std::span<const std::uint8_t> read,
                                                          bool numbered) {
    std::vector<std::uint8_t> report;
    report.reserve(read.size() + 1);
    if (!numbered) report.push_back(0);
    report.insert(report.end(), read.begin(), read.end());
    return report;
}

LinkError HidapiPort::WriteReport(std::span<const std::uint8_t> report) {
    if (!IsOpen()) return LinkError::NotOpen;
    if (report.empty()) return LinkError::BadArgument;
    const std::lock_guard lock(io_);
    return hid_write(device_, report.data(), report.size()) < 0 ? LinkError::WriteFailed
                                                                : LinkError::None;
}

LinkError HidapiPort::SendFeatureReport(std::span<const std::uint8_t> report) {
    if (!IsOpen()) return LinkError::NotOpen;
    if (report.empty()) return LinkError::BadArgument;
    const std::lock_guard lock(io_);
    return hid_send_feature_report(device_, report.data(), report.size()) < 0
               ? LinkError::WriteFailed
               : LinkError::None;
}

void HidapiPort::Close() {
    if (device_ == nullptr) return;
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    {
        const std::lock_guard lock(io_);
        enumeration_.Closing(device_);
        hid_close(device_);
    }
    device_ = nullptr;
    failed_ = false;
    ++session_;  // queued reports of this session are dropped
}

}  // namespace vellora::link
