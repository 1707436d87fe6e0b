// The USB_Comm control: finds and opens the processor through a HidPort, writes byte arrays
// as output reports of at most 60 data bytes, hands every input report's data bytes to its
// owner in order, reports plug changes, and re-scans for the device after a quiet spell.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_state.h"
#include "link/hid_port.h"
#include "link/link_error.h"
#include "model/clock.h"

namespace vellora::link {

class UsbComm : private HidPortListener {
public:
    static constexpr int kPollIntervalMs = 5;     ///< the poll tick
    static constexpr int kRescanAfterTicks = 80;  ///< a scan on the tick that exceeds this
    static constexpr int kMaxChunk = 60;          ///< data bytes per output report at most
    /// Sent once after opening a device of DeviceType 1 (the USB-HID bridge chip).
    static constexpr std::array<std::uint8_t, 6> kBridgeFeatureReport = {0x00, 0xFF, 0xC7,
                                                                         0x83, 0xCC, 0x30};

    using DataArrivalHandler = std::function<void(const std::vector<std::uint8_t>& data)>;
    using PlugHandler = std::function<void(bool state)>;
    using StateHandler = std::function<void(DeviceState state)>;

    /// The port and the clock must outlive the control; the control is the port's listener.
    UsbComm(HidPort& port, model::Clock& clock);
    ~UsbComm() override;
    UsbComm(const UsbComm&) = delete;
    UsbComm& operator=(const UsbComm&) = delete;

    /// 1 = reached through the USB-HID bridge 1A86:E010 (report id 0, bridge feature report);
    /// any other value = the processor itself, 0483:5750 (report id 1).
    [[nodiscard]] int DeviceType() const { return device_type_; }
    void SetDeviceType(int type) { device_type_ = type; }

    /// Id texts in the form "&H1A86"; an empty text stands for the default of DeviceType
    /// ("&H1A86"/"&HE010" for type 1, "&H483"/"&H5750" otherwise). They take part in
    /// matching only in SimulatorMode.
    [[nodiscard]] std::string VendorID() const;
    [[nodiscard]] std::string ProductID() const;
    /// Accepts "" or a 16-bit id in hexadecimal ("&H", "0x" or no prefix); false (and the
    /// property unchanged) for anything else.
    [[nodiscard]] bool SetVendorID(std::string_view text);
    [[nodiscard]] bool SetProductID(std::string_view text);

    [[nodiscard]] bool SimulatorMode() const { return simulator_mode_; }
    void SetDeviceSimulator(bool flag) { simulator_mode_ = flag; }

    /// Starts and stops the 5 ms poll that counts PlugTicks and re-scans for the device.
    void Start() { poll_.Start(); }
    void Stop() { poll_.Stop(); }
    [[nodiscard]] bool IsPolling() const { return poll_.IsActive(); }

    /// Scans for the device and opens it; true when a matching device is present (or stays
    /// open). Raises Plug(true) when a device has just been opened; a device already open is
    /// kept without a second Plug.
    bool Connect();
    /// Writes `data` as consecutive output reports; true when every byte was written; false
    /// without an open device, for an empty array, or after a write failure (which loses the
    /// device: the port is closed and Plug(false) raised).
    bool SendData(std::span<const std::uint8_t> data);

    [[nodiscard]] bool IsOpen() const { return device_open_; }
    /// Ticks of the poll since the last traffic.
    [[nodiscard]] std::int16_t PlugTicks() const { return plug_ticks_; }
    /// Why the last scan found no device, or the last failure of an open device; None after
    /// a successful scan.
    [[nodiscard]] LinkError LastError() const { return last_error_; }
    /// Where the search for the device stands; Searching until the first scan has answered.
    [[nodiscard]] DeviceState State() const { return state_; }
    /// Input reports dropped because their count byte exceeded the report.
    [[nodiscard]] int MalformedReports() const { return malformed_reports_; }

    /// DataArrival: the data bytes of one input report (never empty), in arrival order, on the
    /// owner's thread. Never raised from inside Connect or SendData.
    void SetDataArrivalHandler(DataArrivalHandler handler) { on_data_ = std::move(handler); }
    /// Plug(true) when the device has just been opened, Plug(false) when it has gone.
    void SetPlugHandler(PlugHandler handler) { on_plug_ = std::move(handler); }
    /// Called when State changes, from inside Connect, SendData or the poll, after the change;
    /// a re-scan with the same answer calls nothing.
    void SetStateHandler(StateHandler handler) { on_state_ = std::move(handler); }

    /// Reads an id text ("&H1A86", "0x1a86", "1A86"); nullopt unless it is 1..4 hex digits.
    [[nodiscard]] static std::optional<std::uint16_t> ParseDeviceId(std::string_view text);

private:
    void InputReport(std::span<const std::uint8_t> report) override;
    void PortLost(LinkError reason) override;

    void Tick();
    [[nodiscard]] DeviceMatch WantedDevice() const;
    void LoseDevice(LinkError reason);
    void RaisePlug(bool state);
    void SetState(DeviceState state);
    void DeliverPending();
    void ScheduleDelivery();
    void EnterPort() { ++port_calls_; }
    void LeavePort();

    HidPort& port_;
    model::Clock& clock_;
    model::RepeatingTimer poll_;
    int device_type_ = 0;
    std::string vendor_id_;
    std::string product_id_;
    bool simulator_mode_ = false;
    bool device_open_ = false;
    bool plugged_ = false;  // Plug(true) was raised for the open device
    DeviceMatch opened_{};
    std::int16_t plug_ticks_ = 0;
    LinkError last_error_ = LinkError::None;
    DeviceState state_ = DeviceState::Searching;
    int malformed_reports_ = 0;
    int port_calls_ = 0;                     // > 0 while inside a call into the port
    std::optional<LinkError> loss_in_call_;  // the port reported a loss from inside a call
    std::deque<std::vector<std::uint8_t>> pending_;
    model::TimerId delivery_ = 0;
    bool delivery_scheduled_ = false;
    DataArrivalHandler on_data_;
    PlugHandler on_plug_;
    StateHandler on_state_;
};

}  // namespace vellora::link
