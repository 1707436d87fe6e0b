// The command channel: one command frame at a time, sent and waited for with its retries, the
// guard against late answers, and the queue of parameter writes made while a command waits.
// Replies carry no command code: the next good frame that fits the waiting command answers it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/byte_sink.h"
#include "protocol/command_status.h"
#include "protocol/frame_builder.h"
#include "protocol/link_state.h"
#include "protocol/receive_parser.h"
#include "protocol/wait_driver.h"

namespace vellora::protocol {

/// What the channel did, for diagnostics and tests.
struct ChannelCounters {
    uint32_t Transmissions = 0;    ///< command frames sent, retransmissions included
    uint32_t LateReplies = 0;      ///< good frames that arrived while no command waited: dropped
    uint32_t UnfitReplies = 0;     ///< identifications while linked: never an answer
    uint32_t QueuedWrites = 0;     ///< parameter writes deferred behind a waiting command
    uint32_t RefusedCommands = 0;  ///< commands refused with Busy
};

class CommandChannel : private ParserObserver, private LinkListener {
public:
    static constexpr std::int64_t kReplyTimeoutMs = 600;  ///< TimeOuter
    static constexpr int kTransmissions = 9;              ///< of the same frame, at most
    /// After a command answered only on its n-th transmission the device may still answer the
    /// earlier ones: the next frame waits until (n - 1) reply time-outs and this margin have
    /// passed since the answer, and whatever arrives meanwhile is dropped.
    static constexpr std::int64_t kLateReplyMarginMs = 100;
    /// Late answers after this many commands in a row show a device slower than the reply
    /// time-out: the next command fails with TooSlow. (One alone may be a hiccup.)
    static constexpr int kSlowCommandsLimit = 2;

    /// Every reference must outlive the channel. Tables give the frames their entries.
    CommandChannel(model::Workspace& tables, LinkState& link, ByteSink& sink, WaitDriver& wait);
    ~CommandChannel() override;
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    /// Every DataArrival of the USB_Comm control, in arrival order.
    void OnDeviceBytes(std::span<const uint8_t> bytes);

    /// Sends one command frame and waits up to 600 ms for its reply, processing events; sends
    /// the same frame again on silence, 9 transmissions in all while the link stays up; then
    /// the link is lost (NoReply: the supervision warns "与目标通信连接超时，已断开连接。").
    /// With the link down: one transmission, 600 ms, NoReply without a message.
    /// Bytes that arrived before the frame is sent are never taken as its reply, nor is the
    /// answer to an earlier transmission of another command (see kLateReplyMarginMs).
    /// Called while another command waits (a user action inside the wait), it sends nothing
    /// and returns Busy; use WriteParam for edits. An answered SaveToMode clears Modified.
    [[nodiscard]] CommandStatus Send(const FrameRequest& request);
    /// Send for the commands without mode override or digits; command 0 takes the entry of
    /// the current scene.
    [[nodiscard]] CommandStatus SendCommand(Command command, int32_t value, int32_t index,
                                            bool sendNeutral = false);
    /// The payload of the last reply (what Send answered Ok with).
    [[nodiscard]] std::span<const uint8_t> Reply() const { return parser_.LastPayload(); }

    /// The write of one parameter (command 0, the entry of the current scene from the store;
    /// slot 0 for 2048 and up). LinkDown (nothing sent) when the link is down. While another
    /// command waits, the write is queued (one per parameter and scene; the store's value at
    /// sending time goes out) and Queued returns at once; queued writes go out, in the order
    /// first asked, before the next command or as soon as the channel is idle again.
    CommandStatus WriteParam(int32_t index, bool sendNeutral = false);
    [[nodiscard]] std::size_t QueuedWriteCount() const { return pending_writes_.size(); }

    /// The search frame, now, unanswered by the channel (the parser's position is reset first).
    void SendLinkSearch();
    /// The single keep-alive byte.
    void SendKeepAlive();
    /// The link was found silent: a waiting command ends unanswered at once.
    void AbandonWait();

    /// No command in progress and no bulk run holding the channel.
    [[nodiscard]] bool Idle() const { return !busy_ && holds_ == 0; }
    /// A command is in progress, from its start to its result.
    [[nodiscard]] bool CommandInProgress() const { return busy_; }
    /// A send-and-wait is inside its wait loop (InWait).
    [[nodiscard]] bool InWait() const { return in_wait_; }
    /// Runs `action` now when the channel is idle, else once it is idle again (after the
    /// waiting command, the bulk run and the queued writes). Dropped when the program closes.
    void WhenIdle(std::function<void()> action);

    /// Held by a bulk run for its whole length: the channel is not idle meanwhile.
    class Hold {
    public:
        explicit Hold(CommandChannel& channel);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CommandChannel& channel_;
    };

    /// Called for the tone-key byte (the key shift in the store is 5 already).
    void SetToneKeyHandler(std::function<void()> handler) { tone_key_ = std::move(handler); }

    [[nodiscard]] LinkState& Link() { return link_; }
    [[nodiscard]] WaitDriver& Wait() { return wait_; }
    [[nodiscard]] const ReceiveParser& Parser() const { return parser_; }
    [[nodiscard]] const ChannelCounters& Counters() const { return counters_; }
    [[nodiscard]] bool TimeOuterActive() const { return time_outer_.IsActive(); }

private:
    struct PendingWrite {
        int32_t Index;
        int Scene;
        bool SendNeutral;
    };
    class Flag;

    // ParserObserver
    void OnToneKey() override;
    void OnFrame(std::span<const uint8_t> payload, bool identification) override;
    // LinkListener
    void LinkLost(LinkLoss why, bool wasUp) override;

    CommandStatus Transmit(std::span<const uint8_t> frame, Command command);
    CommandStatus DiscardArrived();
    void FlushPendingWrites();
    void ScheduleIdleWork();
    void RunIdleWork();

    model::Workspace& tables_;
    LinkState& link_;
    ByteSink& sink_;
    WaitDriver& wait_;
    model::Clock& clock_;

    ReceiveParser parser_;
    model::RepeatingTimer time_outer_;
    model::TimerId idle_timer_ = 0;
    bool idle_scheduled_ = false;

    bool busy_ = false;      // a command is in progress
    int holds_ = 0;          // bulk runs holding the channel
    bool awaiting_ = false;  // a transmitted frame waits for its reply
    Command awaited_ = Command::ReadCurrentMode;
    bool reply_pending_ = false;    // ReplyPending
    bool reply_ok_ = false;         // ReplyOk
    bool in_wait_ = false;          // InWait
    std::int64_t quiet_until_ = 0;  // no new frame before this time (late replies may come)
    bool late_in_window_ = false;   // a late reply came in the current quiet window
    int slow_commands_ = 0;         // commands in a row answered after the time-out
    std::vector<PendingWrite> pending_writes_;
    std::vector<std::function<void()>> idle_actions_;
    std::function<void()> tone_key_;
    ChannelCounters counters_{};
};

}  // namespace vellora::protocol
