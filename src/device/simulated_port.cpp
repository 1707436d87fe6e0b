// Reports in and out of the simulated processor.
#include "device/simulated_port.h"

#include <algorithm>
#include <array>

namespace vellora::device {

namespace {
constexpr std::size_t kReportHeader = 2;  // report id, count
}

SimulatedPort::SimulatedPort(SimulatedProcessor& processor) : processor_(processor) {
    Wire();
}

SimulatedPort::SimulatedPort(std::unique_ptr<SimulatedProcessor> processor)
    : owned_(std::move(processor)), processor_(*owned_) {
    Wire();
}

SimulatedPort::~SimulatedPort() {
    keeper_.reset();
    processor_.Stop();
    processor_.SetOutputHandler(nullptr);
    processor_.SetUnplugHandler(nullptr);
}

void SimulatedPort::Wire() {
    processor_.SetOutputHandler(
        [this](std::span<const std::uint8_t> bytes) { DeviceSends(bytes); });
    processor_.SetUnplugHandler([this] { Unplug(); });
}

link::LinkError SimulatedPort::Open(const link::DeviceMatch& match) {
    if (open_) return link::LinkError::None;
    if (!plugged_ || match.VendorId != ids_.VendorId || match.ProductId != ids_.ProductId)
        return link::LinkError::NotFound;
    open_ = true;
    report_id_ = match.NumberedReports ? 1 : 0;
    processor_.Start();
    return link::LinkError::None;
}

link::LinkError SimulatedPort::WriteReport(std::span<const std::uint8_t> report) {
    if (!open_) return link::LinkError::NotOpen;
    if (report.size() != static_cast<std::size_t>(link::kUsbReportLength) ||
        report[0] != report_id_ || report[1] > report.size() - kReportHeader)
        return link::LinkError::BadArgument;
    ++reports_received_;
    // The processor answers on the clock only, so nothing comes back from inside this call.
    processor_.Receive(report.subspan(kReportHeader, report[1]));
    return link::LinkError::None;
}

link::LinkError SimulatedPort::SendFeatureReport(std::span<const std::uint8_t> /*report*/) {
    return open_ ? link::LinkError::None : link::LinkError::NotOpen;
}

void SimulatedPort::Close() {
    if (!open_) return;
    open_ = false;
    processor_.Stop();
}

void SimulatedPort::Unplug() {
    plugged_ = false;
    if (!open_) return;
    open_ = false;
    processor_.Stop();
    DeviceLost(link::LinkError::Disconnected);
}

void SimulatedPort::SetMaxDataPerReport(int bytes) {
    max_data_ = std::clamp(bytes, 1, kMaxDataPerReport);
}

void SimulatedPort::DeviceSends(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, link::kUsbReportLength> report{};
    std::size_t offset = 0;
    while (open_ && offset < bytes.size()) {
        const std::size_t n = std::min(static_cast<std::size_t>(max_data_), bytes.size() - offset);
        report.fill(0);
        report[0] = report_id_;
        report[1] = static_cast<std::uint8_t>(n);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n,
                    report.begin() + kReportHeader);
        offset += n;
        ++reports_sent_;
        InputReportArrived(report);
    }
}

DeviceError SimulatedPort::KeepStateIn(const QString& folder) {
    keeper_.reset();
    keeper_ = std::make_unique<StateKeeper>(processor_, processor_.GetClock(), folder);
    return keeper_->Load();
}

}  // namespace vellora::device
