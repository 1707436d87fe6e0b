// Link supervision: the 50 ms link tick (keep-alive, silence drop, search while down), the
// 100 ms start-sync tick, searching switched on and off, the link indicator with the
// time-out warning when the link is lost, and the exit.
#pragma once

#include <cstdint>
#include <functional>

#include "model/clock.h"
#include "protocol/bulk_transfers.h"
#include "protocol/command_channel.h"
#include "protocol/link_state.h"
#include "protocol/link_views.h"
#include "protocol/prompts.h"

namespace vellora::protocol {

class LinkSupervisor : private LinkListener {
public:
    static constexpr std::int64_t kLinkTickMs = 50;     ///< tmrCommBaseTicks
    static constexpr std::int64_t kStartSyncMs = 100;   ///< tmrStartSync
    static constexpr std::int64_t kCloseDelayMs = 700;  ///< Timer5
    /// The link tick acts on the tick whose count exceeds these: a keep-alive every 20 ticks,
    /// the silence drop after 101 ticks without the device's keep-alive, a search every 10.
    static constexpr int32_t kKeepAliveAfterTicks = 19;
    static constexpr int32_t kSilenceAfterTicks = 100;
    static constexpr int32_t kSearchAfterTicks = 9;

    /// Every reference must outlive the supervisor. The timers are created stopped; the views
    /// start as no-ops.
    LinkSupervisor(CommandChannel& channel, BulkTransfers& bulk, Prompts& prompts);
    ~LinkSupervisor() override;
    LinkSupervisor(const LinkSupervisor&) = delete;
    LinkSupervisor& operator=(const LinkSupervisor&) = delete;

    void SetStatusView(LinkStatusView& view) { status_ = &view; }
    /// The keep-alive tick advances the shown progress bars.
    void SetProgressView(BulkProgressView& view) { progress_ = &view; }
    void SetLifecycle(EditorLifecycle& lifecycle) { lifecycle_ = &lifecycle; }
    /// Called at the end of every link tick. The editor paces the blinking of the response
    /// graph's selected handle with it (ResponseGraph::BlinkTick counts its own phase).
    void SetTickHandler(std::function<void()> handler) { tick_ = std::move(handler); }

    /// Starts the link tick (50 ms) and the start-sync tick (100 ms).
    void StartTimers();
    void StopTimers();
    [[nodiscard]] model::RepeatingTimer& LinkTickTimer() { return link_tick_; }
    [[nodiscard]] model::RepeatingTimer& StartSyncTimer() { return start_sync_; }
    void LinkTick();
    /// A pending start-sync request is cleared and the full synchronisation runs (mode 0,
    /// full, working settings). While the channel is not idle the request stays for later.
    void StartSyncTick();

    /// Searching switched off by the user: no search frames (an identification still counts).
    [[nodiscard]] bool SearchOff() const { return search_off_; }
    void ResumeSearch() { search_off_ = false; }
    /// Searching off and the link down (SwitchedOff or IndicatorOff: the indicator shows 0 or 2).
    void SwitchOff(LinkLoss why);
    void ShowIndicator(ConnectStatus status);

    /// cmdExit: Closing, pending events run, the timers stop; the editor closes at once, or
    /// after the warning "正在停止通信进程..." and 700 ms when a command was waiting.
    void Exit();
    /// The editor is opened again: Closing is cleared (the caller starts the timers).
    void Reopen();

private:
    void LinkCameUp() override;
    void LinkLost(LinkLoss why, bool wasUp) override;

    CommandChannel& channel_;
    BulkTransfers& bulk_;
    Prompts& prompts_;
    LinkState& link_;
    model::Clock& clock_;
    LinkStatusView no_status_;
    BulkProgressView no_progress_;
    EditorLifecycle no_lifecycle_;
    LinkStatusView* status_ = &no_status_;
    BulkProgressView* progress_ = &no_progress_;
    EditorLifecycle* lifecycle_ = &no_lifecycle_;
    std::function<void()> tick_;

    model::RepeatingTimer link_tick_;
    model::RepeatingTimer start_sync_;
    model::TimerId close_timer_ = 0;
    bool close_pending_ = false;
    bool search_off_ = false;
    int32_t keep_alive_ticks_ = 0;
    int32_t search_ticks_ = 0;
};

}  // namespace vellora::protocol
