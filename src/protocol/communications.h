// The link engine (the Communications module): send-and-wait with its retries, the write of
// one parameter, whole-mode reads and writes, the synchronisation with its access check, the
// 50 ms link tick, the start-sync timer, the link switch and the exit sequence. Runs headless:
// bytes go out through a ByteSink, the wait runs a WaitDriver, and the user is reached only
// through Prompts and EngineView.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/byte_sink.h"
#include "protocol/command_status.h"
#include "protocol/engine_view.h"
#include "protocol/frame_builder.h"
#include "protocol/link_state.h"
#include "protocol/password_window.h"
#include "protocol/prompts.h"
#include "protocol/receive_parser.h"
#include "protocol/wait_driver.h"
#include "protocol/wire_format.h"

namespace vellora::protocol {

/// What the engine did, for diagnostics and tests.
struct EngineCounters {
    uint32_t Transmissions = 0;    ///< command frames sent, retransmissions included
    uint32_t LateReplies = 0;      ///< good frames that arrived while no command waited: dropped
    uint32_t QueuedWrites = 0;     ///< parameter writes deferred behind a waiting command
    uint32_t RefusedCommands = 0;  ///< commands refused with Busy
};

class Communications : private ParserObserver {
public:
    static constexpr std::int64_t kReplyTimeoutMs = 600;  ///< TimeOuter
    static constexpr int kTransmissions = 9;              ///< of the same frame, at most
    static constexpr std::int64_t kLinkTickMs = 50;       ///< tmrCommBaseTicks
    static constexpr std::int64_t kStartSyncMs = 100;     ///< tmrStartSync
    static constexpr std::int64_t kCloseDelayMs = 700;    ///< Timer5
    /// The link tick acts on the tick whose count exceeds these: a keep-alive every 20 ticks,
    /// the silence drop after 101 ticks without the device's keep-alive, a search every 10.
    static constexpr int32_t kKeepAliveAfterTicks = 19;
    static constexpr int32_t kSilenceAfterTicks = 100;
    static constexpr int32_t kSearchAfterTicks = 9;
    static constexpr int32_t kBlinkPhaseTicks = 4;
    static constexpr int kMaxMode = 10;  ///< modes 0..10 (users count 1..11)
    /// After a command answered only on a retransmission, the device may still answer the
    /// earlier transmissions; the next command waits until this long after that answer and
    /// drops whatever arrives meanwhile (the reply time-out plus a margin for jitter).
    static constexpr std::int64_t kLateReplyQuietMs = 700;

    /// Every reference must outlive the engine. The timers are created stopped.
    Communications(model::Workspace& workspace, LinkState& link, model::Clock& clock,
                   ByteSink& sink, WaitDriver& wait, Prompts& prompts, EngineView& view);
    ~Communications() override;
    Communications(const Communications&) = delete;
    Communications& operator=(const Communications&) = delete;

    // ---- bytes from the device ----

    /// Every DataArrival of the USB_Comm control, in arrival order.
    void OnDeviceBytes(std::span<const uint8_t> bytes);

    // ---- timers ----

    /// Starts tmrCommBaseTicks (50 ms, LinkTick) and tmrStartSync (100 ms, StartSyncTick).
    void StartTimers();
    void StopTimers();
    [[nodiscard]] model::RepeatingTimer& CommBaseTicks() { return comm_base_ticks_; }
    [[nodiscard]] model::RepeatingTimer& StartSyncTimer() { return start_sync_; }
    [[nodiscard]] bool TimeOuterActive() const { return time_outer_.IsActive(); }

    /// The 50 ms link tick: keep-alive every 20 ticks while linked, the silence drop after
    /// more than 100 ticks without a keep-alive from the device, a search frame every 10
    /// ticks while down and searching, and the blink counter.
    void LinkTick();
    /// The 100 ms start-sync tick: a pending StartSyncRequest is cleared and the full
    /// synchronisation runs (mode 0, full, command 11). While another command or bulk
    /// operation runs, the request stays for a later tick.
    void StartSyncTick();
    /// Sends the search frame now (the parser's position is reset first).
    void SendLinkSearch();

    // ---- commands ----

    /// Sends one command frame and waits up to 600 ms for the reply, processing events; sends
    /// the same frame again on silence, 9 transmissions in all while the link stays up; then
    /// warns "与目标通信连接超时，已断开连接。" (unless closing), drops the link and returns
    /// NoReply. With the link down: one transmission, 600 ms, NoReply without a message.
    /// Bytes that arrived before the frame is sent are dropped, never taken as its reply;
    /// after a command answered only on a retransmission the next frame waits until 700 ms
    /// after that answer, dropping the late answers to the earlier transmissions.
    /// Called while another command waits (a user action inside the wait), it sends nothing
    /// and returns Busy; use WriteParam for edits. After Ok, the reply is Parser().LastPayload().
    /// An answered SaveToMode clears LinkState::Modified.
    [[nodiscard]] CommandStatus SendCommand(uint8_t command, int32_t value, int32_t index,
                                            bool sendNeutral);
    [[nodiscard]] CommandStatus SendCommand(Command command, int32_t value, int32_t index,
                                            bool sendNeutral) {
        return SendCommand(static_cast<uint8_t>(command), value, index, sendNeutral);
    }

    /// The write of one parameter (command 0, the entry of the current scene from the store;
    /// slot 0 for 2048 and up). LinkDown (nothing sent) when the link is down. While another
    /// command waits, the write is queued (one per parameter and scene; the store's value at
    /// sending time goes out) and Queued returns at once; queued writes go out, in the order
    /// first asked, before the next command or right after the waiting one completes.
    CommandStatus WriteParam(int32_t index, bool sendNeutral = false);
    /// Parameter writes waiting to be sent.
    [[nodiscard]] std::size_t QueuedWriteCount() const { return pending_writes_.size(); }

    /// ReadCurrentMode (command 9): CurrentMode := reply byte 1.
    [[nodiscard]] CommandStatus ReadCurrentMode();
    /// PasswordCommand check (command 8, operation 0) with `digits` (each 0..9, as many as
    /// the slot has) put into PasswordDigits: Ok when the device answers 'S', Refused when it
    /// answers otherwise.
    [[nodiscard]] CommandStatus CheckPassword(int32_t slot, std::span<const uint8_t> digits);

    /// Writes the ModeImage into stored mode `mode` (0..10): kinds 0..7 of scene 0, kinds
    /// 0, 4, 5, 6, 7 of scene 1, kinds 8, 9, 10; stops at the first unanswered frame.
    [[nodiscard]] CommandStatus WriteModeToDevice(int mode);
    /// Reads the device into the live store: with `full` the device's current mode first
    /// (then CurrentMode), 13 blocks of kinds 0..7 with `blockCommand` (11 working settings,
    /// 1 stored mode), kinds 8..10, the master slider limits, the access check, and finally
    /// the full refresh. AccessRefused means the program has been told to end.
    [[nodiscard]] CommandStatus SyncFromDevice(int mode, bool full, uint8_t blockCommand);
    /// Reads stored mode `mode` (kinds 0..7, command 1) into the ModeImage.
    [[nodiscard]] CommandStatus ReadModeFromDevice(int mode);
    /// Slots 0 and 1 of the whole store into the ModeImage.
    void CopyStoreToModeImage() { workspace_.CopyStoreToModeImage(); }
    /// Slot 0 into slot 1 for every entry that is not kept per scene.
    static void ShareSingleSceneValues(model::ParamTable& table) { table.ShareSingleSceneValues(); }

    // ---- the link switch, the indicator, exit ----

    /// Command1: switches searching on, or off (asking to save unsaved changes while linked).
    void SwitchClick();
    /// cmdConnectStatus: the indicator as a second switch (no save question).
    void IndicatorClick();
    /// The caption Command1 shows: "联机开启" (searching on) or "联机关闭".
    [[nodiscard]] std::string_view SwitchCaption() const;
    /// cmdConnectStatus Value: 0 not linked, 1 linked, 2 linking switched off.
    [[nodiscard]] int ConnectStatus() const { return connect_status_; }

    /// cmdExit: Closing, pending events run, the timers stop; the editor closes at once, or
    /// after the warning and 700 ms when a command was waiting.
    void Exit();
    /// The editor is opened again: Closing is cleared (timers are started by the caller).
    void Reopen();

    /// The graph arms the blink counter (1) or stops it (0).
    void ArmBlink() { link_.BlinkTicks = 1; }
    void StopBlink() { link_.BlinkTicks = 0; }

    // ---- state ----

    [[nodiscard]] const ReceiveParser& Parser() const { return parser_; }
    [[nodiscard]] LinkState& Link() { return link_; }
    /// The 8 bytes the device identified itself with ("TR-W48" + variant + "_"); empty before.
    [[nodiscard]] const std::string& DeviceTag() const { return device_tag_; }
    [[nodiscard]] const EngineCounters& Counters() const { return counters_; }
    /// True while a command is in progress (from its start to its result).
    [[nodiscard]] bool CommandInProgress() const { return busy_; }
    /// True while a bulk operation runs.
    [[nodiscard]] bool BulkInProgress() const { return bulk_; }

private:
    struct PendingWrite {
        int32_t Index;
        int Scene;
        bool SendNeutral;
    };
    class Flag;  // sets a bool for a scope

    // ParserObserver
    void OnToneKey() override;
    void OnIdentified(char variantLetter) override;
    void OnReplyComplete() override;

    CommandStatus Transmit(std::span<const uint8_t> frame);
    void DiscardArrived();
    void FlushPendingWrites();
    void ScheduleFlush();
    void OnTimeOut();
    void DropLink();
    void SetConnectStatus(int value);
    void SetSwitchOn(bool on);

    CommandStatus RunSync(int mode, bool full, uint8_t blockCommand, std::array<int, 3>& where);
    CommandStatus AccessCheck(int32_t slot, PasswordInputType type);
    CommandStatus ReadBlockInto(model::ParamTable& table, uint8_t blockCommand, int32_t value,
                                int kind, int slot);

    model::Workspace& workspace_;
    LinkState& link_;
    model::Clock& clock_;
    ByteSink& sink_;
    WaitDriver& wait_;
    Prompts& prompts_;
    EngineView& view_;

    ReceiveParser parser_;
    FrameBuilder builder_;
    model::RepeatingTimer comm_base_ticks_;
    model::RepeatingTimer start_sync_;
    model::RepeatingTimer time_outer_;
    model::TimerId close_timer_ = 0;
    bool close_pending_ = false;
    model::TimerId flush_timer_ = 0;
    bool flush_scheduled_ = false;

    bool busy_ = false;             // a command is in progress (SendCommand or the queued writes)
    bool bulk_ = false;             // a bulk operation is in progress
    bool awaiting_ = false;         // a transmitted frame waits for its reply
    bool switch_on_ = true;         // Command1 shows "联机开启"
    std::int64_t quiet_until_ = 0;  // no new frame before this time (late replies may come)
    int connect_status_ = 0;
    std::vector<PendingWrite> pending_writes_;
    std::string device_tag_;
    EngineCounters counters_{};
};

}  // namespace vellora::protocol
