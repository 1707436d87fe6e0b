// Real USB through hidapi (hidraw on Linux). A reader thread waits in hid_read_timeout and
// posts each input report to the owner's thread as its own queued call, so a report reaches
// the listener within one pass of the event loop; every other hidapi call on the device is
// made from the owner's thread under one mutex.
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/hid_enumeration.h"
#include "link/hid_port.h"
#include "model/clock.h"

namespace vellora::link {

class HidapiPort : public HidPort {
public:
    /// Enumeration runs at most once per this interval; an Open sooner repeats the last answer.
    static constexpr std::int64_t kMinScanIntervalMs = 1000;

    /// The clock paces the enumeration; it must outlive the port. Needs a Qt event loop on
    /// the owner's thread for input reports to arrive.
    explicit HidapiPort(model::Clock& clock);
    /// The same over another device list (a scripted one in tests); both must outlive the port.
    HidapiPort(model::Clock& clock, HidEnumeration& enumeration);
    ~HidapiPort() override;

    [[nodiscard]] LinkError Open(const DeviceMatch& match) override;
    [[nodiscard]] bool IsOpen() const override;
    [[nodiscard]] int OutputReportLength() const override { return kUsbReportLength; }
    [[nodiscard]] LinkError WriteReport(std::span<const std::uint8_t> report) override;
    [[nodiscard]] LinkError SendFeatureReport(std::span<const std::uint8_t> report) override;
    void Close() override;

    /// An input report as hidapi read it, in the common layout (report id first): a device
    /// without numbered reports is read without its id byte, so a 0 is put in front.
    [[nodiscard]] static std::vector<std::uint8_t> InputReportFromRead(
        std::span<const std::uint8_t> read, bool numbered);

    /// How often hidapi was asked to enumerate (for diagnostics).
    [[nodiscard]] int Enumerations() const { return enumerations_; }

private:
    void ReadLoop(hid_device_* device, bool numbered, std::uint64_t session);

    model::Clock& clock_;
    std::unique_ptr<HidEnumeration> own_enumeration_;  // hidapi's, unless one was given
    HidEnumeration& enumeration_;
    QObject context_;  // receives the reader's queued calls on the owner's thread
    std::mutex io_;    // serialises the owner's hidapi calls on the device
    hid_device_* device_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::uint64_t session_ = 0;
    int enumerations_ = 0;
    bool scanned_ = false;
    std::int64_t last_scan_ms_ = 0;
    DeviceMatch last_match_{};
    LinkError last_scan_result_ = LinkError::NotFound;
};

}  // namespace vellora::link
