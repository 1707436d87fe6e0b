// The command channel. Every command runs to its result before the caller goes on; the only
// concurrency is what the wait driver runs inside a wait (timers, arriving bytes, user
// actions): a command started there is refused or, for a parameter write, queued.
#include "protocol/command_channel.h"

#include <algorithm>
#include <array>

namespace vellora::protocol {

// Sets a flag for the lifetime of a scope.
class CommandChannel::Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
};

CommandChannel::CommandChannel(model::Workspace& tables, LinkState& link, ByteSink& sink,
                               WaitDriver& wait)
    : tables_(tables),
      link_(link),
      sink_(sink),
      wait_(wait),
      clock_(wait.Clock()),
      parser_(tables, link, this),
      time_outer_(clock_, kReplyTimeoutMs, [this] {
          reply_pending_ = false;
          reply_ok_ = false;
          time_outer_.Stop();
      }) {
    link_.AddListener(*this);
}

CommandChannel::~CommandChannel() {
    link_.RemoveListener(*this);
    time_outer_.Stop();
    if (idle_scheduled_) clock_.Cancel(idle_timer_);
}

void CommandChannel::OnDeviceBytes(std::span<const uint8_t> bytes) {
    parser_.OnDeviceBytes(bytes);
}

void CommandChannel::OnToneKey() {
    if (tone_key_) tone_key_();
}

void CommandChannel::OnFrame(std::span<const uint8_t> payload, bool identification) {
    // The answer to a search frame sent before the link came up: it answers no command. (A
    // names reply may begin with the same bytes when a mode is named so; its size tells.)
    const bool names =
        awaited_ == Command::ReadModeNames && payload.size() == kModeNamesReplyLength;
    if (identification && !(awaiting_ && names)) {
        ++counters_.UnfitReplies;
        return;
    }
    if (awaiting_) {
        reply_pending_ = false;
        reply_ok_ = true;
        time_outer_.Stop();
        return;
    }
    // No command waits for it: a late answer to an earlier transmission. Inside the quiet
    // window it shows that the device answered after the reply time-out.
    ++counters_.LateReplies;
    if (clock_.NowMs() < quiet_until_ && !late_in_window_) {
        late_in_window_ = true;
        ++slow_commands_;
    }
}

void CommandChannel::LinkLost(LinkLoss /*why*/, bool /*wasUp*/) {
    pending_writes_.clear();  // the next synchronisation replaces the store's values
    slow_commands_ = 0;
}

// ---- send and wait ----

CommandStatus CommandChannel::SendCommand(Command command, int32_t value, int32_t index,
                                          bool sendNeutral) {
    FrameRequest request;
    request.command = command;
    request.value = value;
    request.index = index;
    request.sendNeutral = sendNeutral;
    request.scene = tables_.CurrentScene();
    return Send(request);
}

CommandStatus CommandChannel::Send(const FrameRequest& request) {
    if (busy_) {
        ++counters_.RefusedCommands;
        return CommandStatus::Busy;
    }
    if (link_.Closing()) return CommandStatus::Closing;

    CommandStatus status = CommandStatus::Ok;
    {
        Flag busy(busy_);
        FlushPendingWrites();
        std::array<uint8_t, kMaxFrameLength> frame{};
        const ByteResult built = BuildFrame(request, tables_, frame);
        if (!built.Ok()) {
            status = CommandStatus::BadFrame;
        } else {
            status = DiscardArrived();
            if (status == CommandStatus::Ok)
                status = link_.Closing()
                             ? CommandStatus::Closing
                             : Transmit(std::span(frame.data(), built.Bytes), request.command);
        }
    }
    if (status == CommandStatus::Ok && request.command == Command::SaveToMode)
        link_.ClearModified();
    ScheduleIdleWork();
    return status;
}

CommandStatus CommandChannel::DiscardArrived() {
    // The last command needed a retransmission: the device may still answer the earlier
    // transmissions. Replies carry no command code, so those answers are let through now,
    // while no command waits for them, and counted as late.
    const bool window = quiet_until_ != 0;
    if (clock_.NowMs() < quiet_until_) {
        bool quiet = false;
        const model::TimerId id =
            clock_.CallAfter(quiet_until_ - clock_.NowMs(), [&quiet] { quiet = true; });
        while (!quiet && !link_.Closing()) {
            if (!wait_.Step()) break;
        }
        if (!quiet) clock_.Cancel(id);
    }
    if (window && !late_in_window_) slow_commands_ = 0;  // a lost frame, not a slow device
    quiet_until_ = 0;
    late_in_window_ = false;
    // Whatever the transport already holds arrived before this frame: let it through the
    // parser now, while no command waits, so it can never complete the new command's wait.
    wait_.Drain();
    parser_.ResetPosition();
    if (slow_commands_ >= kSlowCommandsLimit) {
        link_.Lose(LinkLoss::TooSlow);
        return CommandStatus::TooSlow;
    }
    return CommandStatus::Ok;
}

CommandStatus CommandChannel::Transmit(std::span<const uint8_t> frame, Command command) {
    for (int attempt = 1;; ++attempt) {
        parser_.ResetPosition();
        reply_pending_ = true;
        reply_ok_ = false;
        time_outer_.Start();
        awaiting_ = true;
        awaited_ = command;
        ++counters_.Transmissions;
        (void)sink_.SendData(frame);  // a frame that did not leave gets no reply: the time-out

        in_wait_ = true;
        bool gaveUp = false;
        while (reply_pending_ && !link_.Closing()) {
            if (!wait_.Step()) {
                gaveUp = true;
                break;
            }
        }
        in_wait_ = false;
        awaiting_ = false;
        time_outer_.Stop();

        if (reply_ok_ && !gaveUp) {
            if (attempt > 1) {
                quiet_until_ =
                    clock_.NowMs() + (attempt - 1) * kReplyTimeoutMs + kLateReplyMarginMs;
                late_in_window_ = false;
            } else {
                slow_commands_ = 0;
            }
            return CommandStatus::Ok;
        }
        reply_pending_ = false;
        if (link_.Closing()) {
            // Exit during the wait: no further transmissions and no message.
            link_.Lose(LinkLoss::Closing);
            return CommandStatus::Closing;
        }
        if (link_.LinkUp() && attempt < kTransmissions && !gaveUp) continue;
        link_.Lose(LinkLoss::NoReply);
        return CommandStatus::NoReply;
    }
}

void CommandChannel::AbandonWait() {
    reply_pending_ = false;
    reply_ok_ = false;
}

// ---- bytes without a reply ----

void CommandChannel::SendLinkSearch() {
    parser_.ResetPosition();
    const auto frame = LinkSearchFrame();
    (void)sink_.SendData(frame);
}

void CommandChannel::SendKeepAlive() {
    const uint8_t keepAlive = KeepAliveByte;
    (void)sink_.SendData(std::span<const uint8_t>(&keepAlive, 1));
}

// ---- parameter writes and idle work ----

CommandStatus CommandChannel::WriteParam(int32_t index, bool sendNeutral) {
    if (link_.Closing()) return CommandStatus::Closing;
    if (!link_.LinkUp()) return CommandStatus::LinkDown;
    if (!model::ValidIndex(index)) return CommandStatus::BadFrame;
    if (!busy_) return SendCommand(Command::WriteParam, 0, index, sendNeutral);

    const int scene = index >= model::kModeScopedEnd ? 0 : tables_.CurrentScene();
    auto same =
        std::find_if(pending_writes_.begin(), pending_writes_.end(),
                     [&](const PendingWrite& w) { return w.Index == index && w.Scene == scene; });
    if (same != pending_writes_.end()) {
        same->SendNeutral = sendNeutral;  // the latest request decides; the store holds the value
    } else {
        pending_writes_.push_back({index, scene, sendNeutral});
    }
    ++counters_.QueuedWrites;
    return CommandStatus::Queued;
}

void CommandChannel::FlushPendingWrites() {
    while (!pending_writes_.empty() && !link_.Closing()) {
        const PendingWrite write = pending_writes_.front();
        pending_writes_.erase(pending_writes_.begin());
        if (!link_.LinkUp()) {
            pending_writes_.clear();
            break;
        }
        FrameRequest request;
        request.command = Command::WriteParam;
        request.index = write.Index;
        request.sendNeutral = write.SendNeutral;
        request.scene = write.Scene;
        std::array<uint8_t, kMaxFrameLength> frame{};
        const ByteResult built = BuildFrame(request, tables_, frame);
        if (!built.Ok()) continue;
        if (DiscardArrived() != CommandStatus::Ok || link_.Closing() ||
            Transmit(std::span(frame.data(), built.Bytes), request.command) != CommandStatus::Ok) {
            pending_writes_.clear();
            break;
        }
    }
}

void CommandChannel::WhenIdle(std::function<void()> action) {
    if (link_.Closing()) return;
    if (Idle() && pending_writes_.empty()) {
        action();
        return;
    }
    idle_actions_.push_back(std::move(action));
    ScheduleIdleWork();
}

void CommandChannel::ScheduleIdleWork() {
    if ((pending_writes_.empty() && idle_actions_.empty()) || idle_scheduled_) return;
    idle_scheduled_ = true;
    idle_timer_ = clock_.CallAfter(0, [this] {
        idle_scheduled_ = false;
        RunIdleWork();
    });
}

void CommandChannel::RunIdleWork() {
    // A command or bulk run that started meanwhile schedules the work again when it ends.
    if (!Idle()) return;
    if (link_.Closing()) {
        idle_actions_.clear();
        return;
    }
    if (!pending_writes_.empty()) {
        Flag busy(busy_);
        FlushPendingWrites();
    }
    std::vector<std::function<void()>> actions;
    actions.swap(idle_actions_);
    for (auto& action : actions)
        if (!link_.Closing()) action();
    ScheduleIdleWork();
}

CommandChannel::Hold::Hold(CommandChannel& channel) : channel_(channel) {
    ++channel_.holds_;
}

CommandChannel::Hold::~Hold() {
    --channel_.holds_;
    channel_.ScheduleIdleWork();
}

}  // namespace vellora::protocol
