// One link to the processor, the same for every front end: the port an endpoint names, the
// USB_Comm control on it, and the parts of the link wired together (command channel, mode
// transfers, link supervision, link switch), from an endpoint to a synchronised store.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "link/device_state.h"
#include "link/endpoint.h"
#include "link/hid_port.h"
#include "link/link_error.h"
#include "link/usb_comm.h"
#include "model/workspace.h"
#include "protocol/bulk_transfers.h"
#include "protocol/byte_sink.h"
#include "protocol/command_channel.h"
#include "protocol/link_state.h"
#include "protocol/link_supervisor.h"
#include "protocol/link_switch.h"
#include "protocol/link_views.h"
#include "protocol/prompts.h"
#include "protocol/wait_driver.h"

namespace vellora::protocol {

/// The windows of a front end, by role; a role left null shows nothing.
struct LinkViews {
    BulkProgressView* progress = nullptr;
    LinkStatusView* status = nullptr;
    StoreRefreshView* refresh = nullptr;
    EditorLifecycle* lifecycle = nullptr;
};

class LinkSession : private LinkListener {
public:
    /// Makes the port an endpoint names, on the clock given; nullptr when there is none. The
    /// program passes the device layer's factory, which also knows the simulated processor.
    using PortFactory =
        std::function<std::unique_ptr<link::HidPort>(const link::Endpoint&, model::Clock&)>;

    static constexpr std::int64_t kLinkUpTimeoutMs = 5000;
    /// A search frame unanswered this long is sent again during LinkUp.
    static constexpr std::int64_t kSearchRepeatMs = 2500;

    enum class OpenResult { Ok, NoPort, NoDevice };
    enum class LinkUpResult { Ok, Silent, DeviceGone, TooSlow };

    /// Every reference must outlive the session; the wait driver's clock runs everything.
    LinkSession(model::Workspace& workspace, WaitDriver& wait, Prompts& prompts,
                PortFactory makePort);
    ~LinkSession() override;
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    /// Connects each view to the parts that change it.
    void SetViews(const LinkViews& views);

    /// Makes the port of `endpoint`, finds and opens the device on it and starts the poll.
    /// On failure PortError() says why.
    [[nodiscard]] OpenResult Open(const link::Endpoint& endpoint);
    /// For a window: the link tick and the start-sync tick run, so the link comes up when the
    /// device answers a search, and every link-up starts a synchronisation; the port keeps
    /// being scanned, so a device plugged in later (or again) is found.
    void StartSupervision();
    /// Called when what a scan of the port finds changes (not found, no permission, open,
    /// lost, ...); set before Open.
    void SetDeviceStateHandler(std::function<void(link::DeviceState)> handler) {
        device_state_ = std::move(handler);
    }
    /// For a one-shot command: a search frame (again every 2.5 s) until the device identifies
    /// itself, at most 5 s; then the link tick keeps the link (no synchronisation starts by
    /// itself). TooSlow when the identification came the reply time-out (600 ms) or more after
    /// its search frame: such a device cannot answer a command in time.
    [[nodiscard]] LinkUpResult LinkUp();
    /// Time from the last search frame to the identification, for LinkUp's result.
    [[nodiscard]] std::int64_t IdentifiedAfterMs() const { return identified_after_ms_; }
    /// The synchronisation of link-up: the current mode, every block into the store, the
    /// access check, the refresh.
    [[nodiscard]] CommandStatus Synchronise();

    /// Why the device is not (or no longer) there; None while it is.
    [[nodiscard]] link::LinkError PortError() const;

    [[nodiscard]] CommandChannel& Channel() { return channel_; }
    [[nodiscard]] BulkTransfers& Transfers() { return transfers_; }
    [[nodiscard]] LinkSupervisor& Supervisor() { return supervisor_; }
    [[nodiscard]] LinkSwitch& Switch() { return switch_; }
    [[nodiscard]] LinkState& Link() { return link_; }

private:
    void LinkCameUp() override;
    [[nodiscard]] bool WaitUntil(const std::function<bool()>& done, std::int64_t atMs);

    WaitDriver& wait_;
    model::Clock& clock_;
    PortFactory make_port_;
    LinkState link_;
    FunctionSink sink_;
    CommandChannel channel_;
    BulkTransfers transfers_;
    LinkSupervisor supervisor_;
    LinkSwitch switch_;
    std::function<void(link::DeviceState)> device_state_;
    std::unique_ptr<link::HidPort> port_;
    std::unique_ptr<link::UsbComm> usb_;  // after the port: it is the port's listener
    std::int64_t identified_at_ms_ = -1;
    std::int64_t identified_after_ms_ = -1;
};

}  // namespace vellora::protocol
