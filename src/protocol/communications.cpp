// The link engine. Every command runs to its result before the caller goes on; the only
// concurrency is what the wait driver runs inside a wait (timers, arriving bytes, user
// actions), which is why a command started inside a wait is refused or, for a parameter
// write, queued.
#include "protocol/communications.h"

#include <algorithm>

#include "protocol/entry_codec.h"
#include "protocol/link_texts.h"

namespace vellora::protocol {

namespace {

// Block order of the bulk transfers for kinds 0..7: scene 0 with every kind, scene 1 with
// the kinds that have a second scene.
struct BlockStep {
    int slot;
    int kind;
};
constexpr std::array<BlockStep, 13> kModeBlocks{{{0, 0},
                                                 {0, 1},
                                                 {0, 2},
                                                 {0, 3},
                                                 {0, 4},
                                                 {0, 5},
                                                 {0, 6},
                                                 {0, 7},
                                                 {1, 0},
                                                 {1, 4},
                                                 {1, 5},
                                                 {1, 6},
                                                 {1, 7}}};
constexpr std::array<int, 3> kCommonKinds{8, 9, 10};
constexpr int kModeBlockFrames = static_cast<int>(kModeBlocks.size()) + 3;  // 16

bool IsSizeError(ProtocolError error) {
    return error == ProtocolError::ReplyTooShort || error == ProtocolError::ReplyTooLong;
}

}  // namespace

// Sets a flag for the lifetime of a scope.
class Communications::Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
};

Communications::Communications(model::Workspace& workspace, LinkState& link, model::Clock& clock,
                               ByteSink& sink, WaitDriver& wait, Prompts& prompts, EngineView& view)
    : workspace_(workspace),
      link_(link),
      clock_(clock),
      sink_(sink),
      wait_(wait),
      prompts_(prompts),
      view_(view),
      parser_(workspace, link, this),
      builder_(workspace, link),
      comm_base_ticks_(clock, kLinkTickMs, [this] { LinkTick(); }),
      start_sync_(clock, kStartSyncMs, [this] { StartSyncTick(); }),
      time_outer_(clock, kReplyTimeoutMs, [this] { OnTimeOut(); }) {}

Communications::~Communications() {
    StopTimers();
    time_outer_.Stop();
    if (close_pending_) clock_.Cancel(close_timer_);
    if (flush_scheduled_) clock_.Cancel(flush_timer_);
}

void Communications::OnDeviceBytes(std::span<const uint8_t> bytes) {
    parser_.OnDeviceBytes(bytes);
}

// ---- parser events ----

void Communications::OnToneKey() {
    view_.ToneKeyReset();
}

void Communications::OnIdentified(char /*variantLetter*/) {
    const auto payload = parser_.LastPayload();
    device_tag_.assign(payload.begin(), payload.begin() + kDeviceTagLength);
    SetConnectStatus(1);
}

void Communications::OnReplyComplete() {
    if (awaiting_) {
        time_outer_.Stop();
        return;
    }
    // No command waits for it: a late reply to an earlier transmission. It completes
    // nothing; the next command resets the flags it set.
    ++counters_.LateReplies;
}

void Communications::OnTimeOut() {
    link_.ReplyPending = false;
    link_.ReplyOk = false;
    time_outer_.Stop();
}

// ---- timers ----

void Communications::StartTimers() {
    comm_base_ticks_.Start();
    start_sync_.Start();
}

void Communications::StopTimers() {
    comm_base_ticks_.Stop();
    start_sync_.Stop();
}

void Communications::SendLinkSearch() {
    parser_.ResetPosition();
    const auto frame = LinkSearchFrame();
    (void)sink_.SendData(frame);
}

void Communications::LinkTick() {
    if (link_.LinkUp) {
        if (++link_.KeepAliveTicks > kKeepAliveAfterTicks) {
            link_.KeepAliveTicks = 0;
            const uint8_t keepAlive = KeepAliveByte;
            (void)sink_.SendData(std::span<const uint8_t>(&keepAlive, 1));
            view_.ProgressStep();
        }
        if (++link_.SilenceTicks > kSilenceAfterTicks) {
            if (!link_.Closing) prompts_.Warning(texts::kLinkTimeout);
            link_.LinkUp = false;
            link_.ReplyPending = false;
            link_.ReplyOk = false;
            pending_writes_.clear();
            SetConnectStatus(0);
        }
    } else {
        link_.SilenceTicks = 0;
        link_.KeepAliveTicks = 0;
    }

    if (link_.LinkUp || link_.SearchOff) {
        link_.SearchTicks = 0;
    } else if (++link_.SearchTicks > kSearchAfterTicks) {
        link_.SearchTicks = 0;
        SendLinkSearch();
    }

    if (link_.BlinkTicks > 0 && ++link_.BlinkTicks > kBlinkPhaseTicks) {
        link_.BlinkTicks = 1;
        link_.BlinkPhase = !link_.BlinkPhase;
        view_.BlinkToggled(link_.BlinkPhase);
    }
}

void Communications::StartSyncTick() {
    if (!link_.StartSyncRequest || busy_ || bulk_) return;
    link_.StartSyncRequest = false;
    (void)SyncFromDevice(0, true, static_cast<uint8_t>(Command::ReadWorkingBlock));
}

// ---- send and wait ----

CommandStatus Communications::SendCommand(uint8_t command, int32_t value, int32_t index,
                                          bool sendNeutral) {
    if (busy_) {
        ++counters_.RefusedCommands;
        return CommandStatus::Busy;
    }
    if (link_.Closing) return CommandStatus::Closing;

    CommandStatus status = CommandStatus::Ok;
    {
        Flag busy(busy_);
        FlushPendingWrites();
        std::array<uint8_t, kMaxFrameLength> frame{};
        const ByteResult built = builder_.Build(command, value, index, sendNeutral, frame);
        if (!built.Ok()) {
            status = CommandStatus::BadFrame;
        } else {
            DiscardArrived();
            status = link_.Closing ? CommandStatus::Closing
                                   : Transmit(std::span<const uint8_t>(frame.data(), built.Bytes));
        }
    }
    if (status == CommandStatus::Ok && command == static_cast<uint8_t>(Command::SaveToMode))
        link_.Modified = false;
    ScheduleFlush();
    return status;
}

CommandStatus Communications::WriteParam(int32_t index, bool sendNeutral) {
    if (link_.Closing) return CommandStatus::Closing;
    if (!link_.LinkUp) return CommandStatus::LinkDown;
    if (!model::ValidIndex(index)) return CommandStatus::BadFrame;
    if (!busy_) return SendCommand(Command::WriteParam, 0, index, sendNeutral);

    const int scene = index >= model::kModeScopedEnd ? 0 : workspace_.CurrentScene();
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

void Communications::FlushPendingWrites() {
    // The frame of the caller's command is not built yet; its one-shot mode byte must survive
    // the writes that go out first.
    const uint8_t modeOverride = link_.ModeOverride;
    link_.ModeOverride = 0;
    while (!pending_writes_.empty() && !link_.Closing) {
        const PendingWrite write = pending_writes_.front();
        pending_writes_.erase(pending_writes_.begin());
        if (!link_.LinkUp) {
            pending_writes_.clear();  // the next synchronisation replaces the store's values
            break;
        }
        std::array<uint8_t, kMaxFrameLength> frame{};
        const ByteResult built =
            builder_.BuildWriteParam(write.Index, write.Scene, write.SendNeutral, frame);
        if (!built.Ok()) continue;
        DiscardArrived();
        if (link_.Closing) break;
        const CommandStatus status = Transmit(std::span<const uint8_t>(frame.data(), built.Bytes));
        if (status != CommandStatus::Ok) {
            pending_writes_.clear();
            break;
        }
    }
    link_.ModeOverride = modeOverride;
}

void Communications::ScheduleFlush() {
    if (pending_writes_.empty() || flush_scheduled_) return;
    flush_scheduled_ = true;
    flush_timer_ = clock_.CallAfter(0, [this] {
        flush_scheduled_ = false;
        // A command that started meanwhile sends the queue itself, first thing.
        if (busy_ || link_.Closing || pending_writes_.empty()) return;
        {
            Flag busy(busy_);
            FlushPendingWrites();
        }
        ScheduleFlush();
    });
}

void Communications::DiscardArrived() {
    // The last command needed a retransmission: the device may still answer the earlier
    // transmissions. Replies carry no command code, so those answers are let through now,
    // while no command waits for them, and counted as late.
    if (clock_.NowMs() < quiet_until_) {
        bool quiet = false;
        const model::TimerId id =
            clock_.CallAfter(quiet_until_ - clock_.NowMs(), [&quiet] { quiet = true; });
        while (!quiet && !link_.Closing) {
            if (!wait_.Step()) break;
        }
        if (!quiet) clock_.Cancel(id);
    }
    quiet_until_ = 0;
    // Whatever the transport already holds arrived before this frame: let it through the
    // parser now, while no command waits, so it can never complete the new command's wait.
    wait_.Drain();
    parser_.ResetPosition();
}

CommandStatus Communications::Transmit(std::span<const uint8_t> frame) {
    for (int attempt = 1;; ++attempt) {
        parser_.ResetPosition();
        link_.ReplyPending = true;
        link_.ReplyOk = false;
        time_outer_.Start();
        awaiting_ = true;
        ++counters_.Transmissions;
        (void)sink_.SendData(frame);  // a frame that did not leave gets no reply: the time-out

        link_.InWait = true;
        bool gaveUp = false;
        while (link_.ReplyPending && !link_.Closing) {
            if (!wait_.Step()) {
                gaveUp = true;
                break;
            }
        }
        link_.InWait = false;
        awaiting_ = false;
        time_outer_.Stop();

        if (link_.ReplyOk && !gaveUp) {
            if (attempt > 1) quiet_until_ = clock_.NowMs() + kLateReplyQuietMs;
            return CommandStatus::Ok;
        }
        link_.ReplyPending = false;
        if (link_.Closing) {
            // Exit during the wait: no further transmissions and no message.
            DropLink();
            return CommandStatus::Closing;
        }
        if (link_.LinkUp && attempt < kTransmissions && !gaveUp) continue;
        if (link_.LinkUp) prompts_.Warning(texts::kLinkTimeout);
        DropLink();
        return CommandStatus::NoReply;
    }
}

void Communications::DropLink() {
    link_.LinkUp = false;
    pending_writes_.clear();
    SetConnectStatus(0);
}

void Communications::SetConnectStatus(int value) {
    connect_status_ = value;
    view_.SetConnectStatus(value);
}

// ---- single commands ----

CommandStatus Communications::ReadCurrentMode() {
    const CommandStatus status = SendCommand(Command::ReadCurrentMode, 0, 0, false);
    if (status != CommandStatus::Ok) return status;
    if (parser_.LastPayload().size() < 2) {
        prompts_.Warning(texts::kLengthMismatch);
        return CommandStatus::LengthMismatch;
    }
    link_.CurrentMode = parser_.PayloadByte(1);
    return CommandStatus::Ok;
}

CommandStatus Communications::CheckPassword(int32_t slot, std::span<const uint8_t> digits) {
    const std::size_t count = PasswordDigitCount(slot);
    if (count == 0 || digits.size() != count ||
        std::any_of(digits.begin(), digits.end(), [](uint8_t d) { return d > 9; }))
        return CommandStatus::BadFrame;
    std::copy(digits.begin(), digits.end(), link_.PasswordDigits.begin());
    const CommandStatus status = SendCommand(Command::PasswordCommand, slot,
                                             static_cast<int32_t>(PasswordOperation::Check), false);
    if (status != CommandStatus::Ok) return status;
    return parser_.PayloadByte(1) == kAccepted ? CommandStatus::Ok : CommandStatus::Refused;
}

// ---- bulk operations ----

CommandStatus Communications::ReadBlockInto(model::ParamTable& table, uint8_t blockCommand,
                                            int32_t value, int kind, int slot) {
    const CommandStatus status =
        SendCommand(blockCommand, value, workspace_.MenuKindFirst(kind), false);
    if (status != CommandStatus::Ok) return status;
    const ByteResult read = DecodeBlock(parser_.LastPayload(), table, workspace_, kind, slot);
    if (IsSizeError(read.Error)) {
        prompts_.Warning(texts::kLengthMismatch);
        return CommandStatus::LengthMismatch;
    }
    return read.Ok() ? CommandStatus::Ok : CommandStatus::BadFrame;
}

CommandStatus Communications::WriteModeToDevice(int mode) {
    if (busy_ || bulk_) {
        ++counters_.RefusedCommands;
        return CommandStatus::Busy;
    }
    Flag bulk(bulk_);
    view_.BeginBulk(BulkOperation::WriteMode);
    wait_.Drain();

    CommandStatus result = CommandStatus::Ok;
    int done = 0;
    if (mode < 0 || mode > kMaxMode) result = CommandStatus::BadFrame;
    for (const BlockStep step : kModeBlocks) {
        if (result != CommandStatus::Ok) break;
        result = SendCommand(Command::WriteModeBlock, ModeField(mode, step.slot),
                             workspace_.MenuKindFirst(step.kind), false);
        if (result == CommandStatus::Ok) view_.BulkProgress(++done, kModeBlockFrames);
    }
    for (const int kind : kCommonKinds) {
        if (result != CommandStatus::Ok) break;
        link_.ModeOverride = static_cast<uint8_t>(mode);
        result = SendCommand(Command::WriteModeBlock, mode, workspace_.MenuKindFirst(kind), false);
        if (result == CommandStatus::Ok) view_.BulkProgress(++done, kModeBlockFrames);
    }
    link_.ModeOverride = 0;

    if (result == CommandStatus::BadFrame) prompts_.Error(texts::kWriteFailed);
    view_.EndBulk(BulkOperation::WriteMode);
    view_.ClearUndo();
    return result;
}

CommandStatus Communications::ReadModeFromDevice(int mode) {
    if (busy_ || bulk_) {
        ++counters_.RefusedCommands;
        return CommandStatus::Busy;
    }
    Flag bulk(bulk_);
    view_.BeginBulk(BulkOperation::ReadMode);
    wait_.Drain();

    CommandStatus result = CommandStatus::Ok;
    int done = 0;
    const int total = static_cast<int>(kModeBlocks.size());
    BlockStep where{0, 0};
    if (mode < 0 || mode > kMaxMode) result = CommandStatus::BadFrame;
    for (const BlockStep step : kModeBlocks) {
        if (result != CommandStatus::Ok) break;
        where = step;
        result = ReadBlockInto(workspace_.ModeImage, static_cast<uint8_t>(Command::ReadModeBlock),
                               ModeField(mode, step.slot), step.kind, step.slot);
        if (result == CommandStatus::Ok) view_.BulkProgress(++done, total);
    }
    if (result == CommandStatus::Ok) workspace_.ModeImage.ShareSingleSceneValues();

    if (result == CommandStatus::BadFrame)
        prompts_.Error(texts::ReadFailedText(where.slot, where.kind,
                                             workspace_.MenuKindFirst(where.kind) % 256));
    view_.EndBulk(BulkOperation::ReadMode);
    return result;
}

CommandStatus Communications::SyncFromDevice(int mode, bool full, uint8_t blockCommand) {
    if (busy_ || bulk_) {
        ++counters_.RefusedCommands;
        return CommandStatus::Busy;
    }
    Flag bulk(bulk_);
    view_.BeginBulk(BulkOperation::Synchronise);
    wait_.Drain();

    std::array<int, 3> where{0, 0, 0};  // the numbers of the read error message
    const CommandStatus result = RunSync(mode, full, blockCommand, where);
    if (result == CommandStatus::AccessRefused) return result;  // the program ends now

    if (result == CommandStatus::BadFrame)
        prompts_.Error(texts::ReadFailedText(where[0], where[1], where[2]));
    const model::ParamTable& store = workspace_.ParamStore;
    (void)workspace_.SetCurrentScene(store.ValueAt(model::entry::kSceneSelect, 0));
    workspace_.SetBassAutoControl(store.ValueAt(model::entry::kBassAuto, 0));
    view_.FullRefresh();
    view_.EndBulk(BulkOperation::Synchronise);
    view_.ClearUndo();
    return result;
}

CommandStatus Communications::RunSync(int mode, bool full, uint8_t blockCommand,
                                      std::array<int, 3>& where) {
    const int total = (full ? 1 : 0) + kModeBlockFrames;
    int done = 0;
    if (full) {
        const CommandStatus status = ReadCurrentMode();
        if (status != CommandStatus::Ok) return status;
        mode = link_.CurrentMode;
        view_.BulkProgress(++done, total);
    }
    if (mode < 0 || mode > kMaxMode) return CommandStatus::BadFrame;

    for (const BlockStep step : kModeBlocks) {
        where = {step.slot, step.kind, workspace_.MenuKindFirst(step.kind) % 256};
        const CommandStatus status = ReadBlockInto(
            workspace_.ParamStore, blockCommand, ModeField(mode, step.slot), step.kind, step.slot);
        if (status != CommandStatus::Ok) return status;
        view_.BulkProgress(++done, total);
    }
    for (const int kind : kCommonKinds) {
        where = {kind, 0, workspace_.MenuKindFirst(kind) % 256};
        link_.ModeOverride = static_cast<uint8_t>(mode);
        const CommandStatus status =
            ReadBlockInto(workspace_.ParamStore, blockCommand, mode, kind, 0);
        link_.ModeOverride = 0;
        if (status != CommandStatus::Ok) return status;
        view_.BulkProgress(++done, total);
    }

    const model::ParamTable& store = workspace_.ParamStore;
    view_.SetMasterLimits({store.ValueAt(model::entry::kMasterLimit0, 0),
                           store.ValueAt(model::entry::kMasterLimit0 + 1, 0),
                           store.ValueAt(model::entry::kMasterLimit0 + 2, 0)});

    if (store.ValueAt(model::entry::kAdminPassword, 0) != 0) {
        const CommandStatus status =
            AccessCheck(kAdministratorSlot, PasswordInputType::Administrator);
        if (status != CommandStatus::Ok) return status;
    }
    if (store.ValueAt(model::entry::kPanelLock, 0) != 0) {
        const CommandStatus status = AccessCheck(kPanelLockSlot, PasswordInputType::PanelLock);
        if (status != CommandStatus::Ok) return status;
    }

    workspace_.ParamStore.ShareSingleSceneValues();
    return CommandStatus::Ok;
}

CommandStatus Communications::AccessCheck(int32_t slot, PasswordInputType type) {
    // First the all-zero password: a device without a real one accepts it silently.
    const std::size_t digits = PasswordDigitCount(slot);
    std::fill_n(link_.PasswordDigits.begin(), digits, uint8_t{0});
    const CommandStatus status = SendCommand(Command::PasswordCommand, slot,
                                             static_cast<int32_t>(PasswordOperation::Check), false);
    if (status != CommandStatus::Ok) return status;
    if (parser_.PayloadByte(1) == kAccepted) return CommandStatus::Ok;

    PasswordWindow window(*this, prompts_, type);
    prompts_.AskPassword(window);
    if (window.OK()) return CommandStatus::Ok;
    prompts_.Warning(type == PasswordInputType::Administrator ? texts::kAdminRefused
                                                              : texts::kPanelRefused);
    view_.EndProgram();
    return CommandStatus::AccessRefused;
}

// ---- the link switch and exit ----

std::string_view Communications::SwitchCaption() const {
    return switch_on_ ? texts::kSwitchOn : texts::kSwitchOff;
}

void Communications::SetSwitchOn(bool on) {
    switch_on_ = on;
    view_.SetSwitchCaption(SwitchCaption());
}

void Communications::SwitchClick() {
    if (!switch_on_) {
        SetSwitchOn(true);
        link_.SearchOff = false;
        return;
    }
    SetSwitchOn(false);
    if (link_.Modified && link_.LinkUp) {
        const std::string question =
            std::string(texts::kSaveQuestion) + std::to_string(link_.CurrentMode + 1);
        if (prompts_.Question(question))
            (void)SendCommand(Command::SaveToMode, link_.CurrentMode, 0, false);
    }
    link_.SearchOff = true;
    link_.LinkUp = false;
    pending_writes_.clear();
    SetConnectStatus(0);
}

void Communications::IndicatorClick() {
    if (!switch_on_) {
        SetSwitchOn(true);
        SetConnectStatus(0);
        link_.SearchOff = false;
        return;
    }
    SetSwitchOn(false);
    link_.SearchOff = true;
    link_.LinkUp = false;
    pending_writes_.clear();
    SetConnectStatus(2);
}

void Communications::Exit() {
    link_.Closing = true;  // ends a running wait and silences its time-out message
    wait_.Drain();
    StopTimers();
    view_.StopEditorTimers();
    if (link_.InWait) {
        prompts_.Warning(texts::kStopping);
        if (close_pending_) clock_.Cancel(close_timer_);
        close_pending_ = true;
        close_timer_ = clock_.CallAfter(kCloseDelayMs, [this] {
            close_pending_ = false;
            view_.CloseEditor();
        });
        return;
    }
    view_.CloseEditor();
}

void Communications::Reopen() {
    link_.Closing = false;
}

}  // namespace vellora::protocol
