// The in-process simulated processor as a USB device: a link::HidPort that turns the
// terminal's output reports into the processor's byte stream and the processor's bytes into
// input reports of up to 60 data bytes, handed over on the clock, never inside WriteReport.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

#include "device/device_error.h"
#include "device/simulated_processor.h"
#include "device/state_keeper.h"
#include "link/hid_port.h"

namespace vellora::device {

class SimulatedPort : public link::HidPort {
public:
    /// The ids the device answers to unless told otherwise: the processor itself, 0483:5750.
    static constexpr link::DeviceMatch kProcessorIds{0x0483, 0x5750, true};
    static constexpr int kMaxDataPerReport = 60;

    /// Borrows a processor, which must outlive the port.
    explicit SimulatedPort(SimulatedProcessor& processor);
    /// Owns its processor (not null).
    explicit SimulatedPort(std::unique_ptr<SimulatedProcessor> processor);
    ~SimulatedPort() override;

    /// Opens when the device is plugged in and `match` names its vendor and product ids;
    /// NotFound otherwise. Input reports then carry report id 1 (numbered reports) or 0.
    [[nodiscard]] link::LinkError Open(const link::DeviceMatch& match) override;
    [[nodiscard]] bool IsOpen() const override { return open_; }
    [[nodiscard]] int OutputReportLength() const override { return link::kUsbReportLength; }
    /// Takes one 65-byte report (report id, count n <= 63, n data bytes, padding) and gives
    /// its data to the processor. NotOpen when closed; BadArgument (nothing taken) for another
    /// length, another report id or a count beyond the report.
    [[nodiscard]] link::LinkError WriteReport(std::span<const std::uint8_t> report) override;
    /// The processor has no bridge chip to configure: accepted and ignored while open.
    [[nodiscard]] link::LinkError SendFeatureReport(std::span<const std::uint8_t> report) override;
    void Close() override;

    [[nodiscard]] SimulatedProcessor& Processor() { return processor_; }
    [[nodiscard]] const SimulatedProcessor& Processor() const { return processor_; }

    /// Pulls the cable: an open port closes and tells its listener (Disconnected); Open finds
    /// nothing until Replug. The processor's unplug fault does the same.
    void Unplug();
    void Replug() { plugged_ = true; }
    [[nodiscard]] bool Plugged() const { return plugged_; }

    /// The vendor and product ids the device answers to.
    void SetDeviceIds(const link::DeviceMatch& ids) { ids_ = ids; }
    [[nodiscard]] const link::DeviceMatch& DeviceIds() const { return ids_; }
    /// Data bytes per input report, 1..60 (values outside are clamped); fewer bytes per
    /// report split the device's frames across more reports.
    void SetMaxDataPerReport(int bytes);
    [[nodiscard]] int MaxDataPerReport() const { return max_data_; }

    /// Keeps the processor's state in `folder` (see StateKeeper::Load for the result); the
    /// port saves it shortly after changes and when it goes away.
    [[nodiscard]] DeviceError KeepStateIn(const QString& folder);
    [[nodiscard]] StateKeeper* Keeper() { return keeper_.get(); }

    [[nodiscard]] std::uint64_t ReportsReceived() const { return reports_received_; }
    [[nodiscard]] std::uint64_t ReportsSent() const { return reports_sent_; }

private:
    void Wire();
    void DeviceSends(std::span<const std::uint8_t> bytes);

    std::unique_ptr<SimulatedProcessor> owned_;
    SimulatedProcessor& processor_;
    std::unique_ptr<StateKeeper> keeper_;  // after the processor: goes first
    link::DeviceMatch ids_ = kProcessorIds;
    bool plugged_ = true;
    bool open_ = false;
    std::uint8_t report_id_ = 1;
    int max_data_ = kMaxDataPerReport;
    std::uint64_t reports_received_ = 0;
    std::uint64_t reports_sent_ = 0;
};

}  // namespace vellora::device
