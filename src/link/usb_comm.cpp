// The USB_Comm logic over a HidPort: scanning, chunked writes, ordered delivery, plug events.
#include "link/usb_comm.h"

#include <algorithm>
#include <cctype>

namespace vellora::link {

namespace {

constexpr std::string_view kBridgeVendor = "&H1A86";
constexpr std::string_view kBridgeProduct = "&HE010";
constexpr std::string_view kDeviceVendor = "&H483";
constexpr std::string_view kDeviceProduct = "&H5750";
constexpr std::uint16_t kBridgeVendorId = 0x1A86;
constexpr std::uint16_t kBridgeProductId = 0xE010;
constexpr std::uint16_t kDeviceVendorId = 0x0483;
constexpr std::uint16_t kDeviceProductId = 0x5750;

}  // namespace

UsbComm::UsbComm(HidPort& port, model::Clock& clock)
    : port_(port), clock_(clock), poll_(clock, kPollIntervalMs, [this] { Tick(); }) {
    port_.SetListener(this);
}

UsbComm::~UsbComm() {
    poll_.Stop();
    if (delivery_scheduled_) clock_.Cancel(delivery_);
    port_.SetListener(nullptr);
    if (device_open_) port_.Close();
}

std::optional<std::uint16_t> UsbComm::ParseDeviceId(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        text.remove_prefix(2);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 4) return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isxdigit(u)) return std::nullopt;
        const unsigned digit = std::isdigit(u) ? u - '0' : (std::toupper(u) - 'A' + 10u);
        value = value * 16 + digit;
    }
    return static_cast<std::uint16_t>(value);
}

std::string UsbComm::VendorID() const {
    if (!vendor_id_.empty()) return vendor_id_;
    return std::string(device_type_ == 1 ? kBridgeVendor : kDeviceVendor);
}

std::string UsbComm::ProductID() const {
    if (!product_id_.empty()) return product_id_;
    return std::string(device_type_ == 1 ? kBridgeProduct : kDeviceProduct);
}

bool UsbComm::SetVendorID(std::string_view text) {
    if (!text.empty() && !ParseDeviceId(text)) return false;
    vendor_id_ = std::string(text);
    return true;
}

bool UsbComm::SetProductID(std::string_view text) {
    if (!text.empty() && !ParseDeviceId(text)) return false;
    product_id_ = std::string(text);
    return true;
}

DeviceMatch UsbComm::WantedDevice() const {
    DeviceMatch match;
    match.NumberedReports = device_type_ != 1;
    if (simulator_mode_) {
        // Both texts hold valid ids: the setters refuse anything else and "" means the default.
        match.VendorId = ParseDeviceId(VendorID()).value_or(0);
        match.ProductId = ParseDeviceId(ProductID()).value_or(0);
    } else if (device_type_ == 1) {
        match.VendorId = kBridgeVendorId;
        match.ProductId = kBridgeProductId;
    } else {
        match.VendorId = kDeviceVendorId;
        match.ProductId = kDeviceProductId;
    }
    return match;
}

void UsbComm::LeavePort() {
    --port_calls_;
    if (port_calls_ == 0 && loss_in_call_) {
        const LinkError reason = *loss_in_call_;
        loss_in_call_.reset();
        LoseDevice(reason);
    }
}

bool UsbComm::Connect() {
    const DeviceMatch wanted = WantedDevice();
    if (device_open_) {
        // The port tells of a lost device at once; a port that closed without telling is
        // noticed here, as is a change of the wanted ids since the device was opened.
        if (!port_.IsOpen()) {
            LoseDevice(LinkError::Disconnected);
        } else if (wanted != opened_) {
            LoseDevice(LinkError::None);
        } else {
            last_error_ = LinkError::None;
            return true;
        }
    }

    EnterPort();
    LinkError result = port_.Open(wanted);
    LeavePort();
    if (result == LinkError::None && !port_.IsOpen()) result = LinkError::Disconnected;
    last_error_ = result;
    if (result != LinkError::None) {
        SetState(StateAfterScan(result));
        return false;
    }

    device_open_ = true;
    opened_ = wanted;
    if (device_type_ == 1) {
        // The bridge chip needs this configuration report; a failure here shows up as a
        // silent device, which the link supervision handles.
        EnterPort();
        (void)port_.SendFeatureReport(kBridgeFeatureReport);
        LeavePort();
        if (!device_open_) return false;  // lost at once: no Plug either way
    }
    plugged_ = true;
    SetState(DeviceState::Open);
    RaisePlug(true);
    return device_open_;
}

bool UsbComm::SendData(std::span<const std::uint8_t> data) {
    if (!device_open_ || data.empty()) return false;
    const int length = port_.OutputReportLength();
    const int chunk = std::min(length - 2, kMaxChunk);
    if (chunk < 1) {
        last_error_ = LinkError::BadArgument;
        return false;
    }
    std::vector<std::uint8_t> report(static_cast<std::size_t>(length));
    const std::uint8_t report_id = device_type_ == 1 ? 0 : 1;
    std::size_t offset = 0;
    while (offset < data.size()) {
        const std::size_t n = std::min(static_cast<std::size_t>(chunk), data.size() - offset);
        std::fill(report.begin(), report.end(), std::uint8_t{0});
        report[0] = report_id;
        report[1] = static_cast<std::uint8_t>(n);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), n, report.begin() + 2);
        EnterPort();
        const LinkError result = port_.WriteReport(report);
        LeavePort();
        if (result != LinkError::None || !device_open_) {
            if (device_open_) LoseDevice(result);
            return false;
        }
        offset += n;
    }
    plug_ticks_ = 0;
    return true;
}

void UsbComm::Tick() {
    ++plug_ticks_;
    if (plug_ticks_ > kRescanAfterTicks) {
        plug_ticks_ = 0;
        (void)Connect();
    }
}

void UsbComm::InputReport(std::span<const std::uint8_t> report) {
    if (!device_open_) return;
    if (report.size() < 2) {
        ++malformed_reports_;
        return;
    }
    const std::size_t count = report[1];
    if (count == 0) return;
    if (count > report.size() - 2) {
        ++malformed_reports_;
        last_error_ = LinkError::BadReport;
        return;
    }
    plug_ticks_ = 0;
    std::vector<std::uint8_t> data(report.begin() + 2,
                                   report.begin() + 2 + static_cast<std::ptrdiff_t>(count));
    if (port_calls_ > 0 || !pending_.empty()) {
        pending_.push_back(std::move(data));
        ScheduleDelivery();
        return;
    }
    if (on_data_) on_data_(data);
}

void UsbComm::ScheduleDelivery() {
    if (delivery_scheduled_) return;
    delivery_scheduled_ = true;
    delivery_ = clock_.CallAfter(0, [this] {
        delivery_scheduled_ = false;
        DeliverPending();
    });
}

void UsbComm::DeliverPending() {
    while (!pending_.empty()) {
        if (port_calls_ > 0) {
            ScheduleDelivery();
            return;
        }
        const std::vector<std::uint8_t> data = std::move(pending_.front());
        pending_.pop_front();
        if (on_data_) on_data_(data);
    }
}

void UsbComm::PortLost(LinkError reason) {
    if (port_calls_ > 0) {
        loss_in_call_ = reason;
        return;
    }
    LoseDevice(reason);
}

void UsbComm::LoseDevice(LinkError reason) {
    if (!device_open_) return;
    device_open_ = false;
    port_.Close();
    // A device closed on purpose (other ids wanted) leaves the state to the scan that follows.
    if (reason != LinkError::None) {
        last_error_ = reason;
        SetState(DeviceState::Lost);
    }
    if (plugged_) {
        plugged_ = false;
        RaisePlug(false);
    }
}

void UsbComm::RaisePlug(bool state) {
    if (on_plug_) on_plug_(state);
}

void UsbComm::SetState(DeviceState state) {
    if (state == state_) return;
    state_ = state;
    if (on_state_) on_state_(state);
}

}  // namespace vellora::link
