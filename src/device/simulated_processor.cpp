// The processor's firmware: frame handling, the commands, the answers and the faults.
//
// What the device does with each command:
//  0  writes one entry into the working settings (the scene in byte 2; kinds 8..10 into the
//     settings of no mode); an entry not kept per scene goes into both scenes. The rights
//     entries 2574 (panel lock) and 2592 (administrator level) change only while their
//     password is accepted in this session; otherwise the write is refused.
//  1  answers the block of a stored mode (byte 2 = mode + 11 x scene).
//  11 answers the block of the working settings. Addressing a mode other than the current one
//     first recalls that mode into the working settings and makes it current, so the mode
//     the terminal reads is the one it then edits and saves.
//  2  stores a block into a stored mode, and into the working settings too when that mode is
//     the current one. A scene-1 block leaves the entries not kept per scene alone (they come
//     with the scene-0 block). Block writes never change the rights entries.
//  Kinds 8..10 belong to no mode: commands 1, 2 and 11 address the one set whatever byte 2 is.
//  3  copies both working scenes into mode n and makes it current.
//  4  answers the 11 mode names, 12 bytes each.
//  8  checks, changes or closes a password; byte 1 of the answer is 'S' when accepted.
//  9  answers the current mode in payload byte 1.
//  250 with "YOP_CTRL" answers the identification "TR-W48", the variant letter and "_", and
//     starts a new session (accepted passwords are forgotten).
// Every other answer carries the command code in payload byte 0 and 'S' (done) or 'N'
// (refused: unknown command, bad mode, kind, address, scene or size) in byte 1. A refused
// request changes nothing.
#include "device/simulated_processor.h"

#include <algorithm>
#include <array>

#include "model/workspace.h"
#include "protocol/wire_format.h"

namespace vellora::device {

namespace {

constexpr std::size_t kHeaderLength = protocol::kCommandHeaderLength;  // payload starts here
constexpr std::size_t kMaxReplyPayload = protocol::kMaxReplyLength - 3;
constexpr int kModeFieldLimit = 2 * kModeCount;  // ModeField 0..21
constexpr auto kCheck = static_cast<std::uint8_t>(protocol::PasswordOperation::Check);
constexpr auto kChange = static_cast<std::uint8_t>(protocol::PasswordOperation::Change);
constexpr auto kClose = static_cast<std::uint8_t>(protocol::PasswordOperation::Close);

std::vector<std::uint8_t> Short(std::uint8_t command, std::uint8_t result) {
    return {command, result};
}

template <std::size_t N>
bool SameDigits(const std::array<std::uint8_t, N>& stored, std::span<const std::uint8_t> given) {
    return given.size() == N && std::equal(stored.begin(), stored.end(), given.begin());
}

}  // namespace

SimulatedProcessor::SimulatedProcessor(model::Clock& clock, ProcessorOptions options)
    : SimulatedProcessor(clock, ProcessorState{}, std::move(options)) {}

SimulatedProcessor::SimulatedProcessor(model::Clock& clock, ProcessorState state,
                                       ProcessorOptions options)
    : clock_(clock),
      state_(std::move(state)),
      keep_alive_(clock, kKeepAliveIntervalMs, [this] { KeepAliveTick(); }) {
    if (SetVariant(options.Variant) != DeviceError::Ok) variant_ = 'A';
    SetReplyLatencyMs(options.ReplyLatencyMs);
    SetFaults(std::move(options.Faults));
}

SimulatedProcessor::~SimulatedProcessor() {
    keep_alive_.Stop();
    CancelPending();
}

DeviceError SimulatedProcessor::SetVariant(char letter) {
    if (letter < 'A' || letter > 'Z') return DeviceError::BadVariant;
    variant_ = letter;
    return DeviceError::Ok;
}

void SimulatedProcessor::SetFaults(FaultPlan faults) {
    faults_ = std::move(faults);
    plan_answered_ = 0;
    bad_checksums_left_ = faults_.BadChecksumReplies;
    unplug_done_ = false;
    repeat_frame_.clear();
    repeat_count_ = 0;
}

void SimulatedProcessor::Start() {
    if (running_) return;
    running_ = true;
    reader_.Reset();
    keep_alive_.Start();
}

void SimulatedProcessor::Stop() {
    if (!running_) return;
    running_ = false;
    keep_alive_.Stop();
    CancelPending();
    reader_.Reset();
    repeat_frame_.clear();
    repeat_count_ = 0;
    admin_verified_ = false;
    panel_verified_ = false;
}

void SimulatedProcessor::CancelPending() {
    for (const auto& [key, id] : pending_) clock_.Cancel(id);
    pending_.clear();
}

void SimulatedProcessor::Emit(std::vector<std::uint8_t> bytes, std::int64_t delayMs) {
    if (!running_) return;
    if (pending_.size() >= kMaxPendingAnswers) {
        ++counters_.AnswersDropped;
        return;
    }
    const std::uint64_t key = ++next_pending_;
    pending_[key] = clock_.CallAfter(delayMs, [this, key, bytes = std::move(bytes)] {
        pending_.erase(key);
        if (output_) output_(bytes);
    });
}

void SimulatedProcessor::KeepAliveTick() {
    if (faults_.NoKeepAlive) return;
    ++counters_.KeepAlivesSent;
    Emit({protocol::KeepAliveByte}, 0);
}

void SimulatedProcessor::SendToneKey() {
    if (!running_) return;
    state_.Working().SetValueAt(model::entry::kKeyShift, 0, kNoKeyShift);
    Emit({protocol::ToneKeyByte}, 0);
    NoteChange();
}

void SimulatedProcessor::NoteChange() {
    if (changed_) changed_();
}

void SimulatedProcessor::Receive(std::span<const std::uint8_t> bytes) {
    if (!running_) return;
    for (const std::uint8_t b : bytes) {
        switch (reader_.Push(b)) {
            case CommandReader::Event::None:
                break;
            case CommandReader::Event::KeepAlive:
                ++counters_.KeepAlivesReceived;
                if (!faults_.NoKeepAlive) {
                    ++counters_.KeepAlivesSent;
                    Emit({protocol::KeepAliveByte}, latency_ms_);
                }
                break;
            case CommandReader::Event::Frame:
                OnFrame(reader_.Frame());
                break;
            case CommandReader::Event::BadChecksum:
                ++counters_.BadChecksum;
                break;
            case CommandReader::Event::BadLength:
                ++counters_.BadLength;
                break;
            case CommandReader::Event::Stray:
                ++counters_.StrayBytes;
                break;
        }
    }
}

void SimulatedProcessor::OnFrame(std::span<const std::uint8_t> frame) {
    ++counters_.FramesReceived;
    if (log_.size() >= kFrameLogLimit) log_.pop_front();
    log_.push_back({clock_.NowMs(), {frame.begin(), frame.end()}, false});
    FrameRecord& record = log_.back();

    // Faults that keep the device from hearing the frame at all.
    bool heard = !faults_.Silent;
    if (heard && faults_.StopAfterFrames != FaultPlan::kNever &&
        plan_answered_ >= static_cast<std::uint64_t>(faults_.StopAfterFrames))
        heard = false;
    if (heard && faults_.AnswerFromTransmission > 1) {
        if (std::equal(frame.begin(), frame.end(), repeat_frame_.begin(), repeat_frame_.end())) {
            ++repeat_count_;
        } else {
            repeat_frame_.assign(frame.begin(), frame.end());
            repeat_count_ = 1;
        }
        if (repeat_count_ < faults_.AnswerFromTransmission) {
            heard = false;
        } else {
            repeat_frame_.clear();
            repeat_count_ = 0;
        }
    }
    if (!heard) {
        ++counters_.FramesIgnored;
        return;
    }

    Answer answer;
    if (!Handle(frame, answer)) return;
    record.Answered = true;
    SendReply(std::move(answer));
}

std::vector<std::uint8_t> SimulatedProcessor::ReplyFrame(std::span<const std::uint8_t> payload) {
    const std::size_t n = std::min(payload.size(), kMaxReplyPayload);
    std::vector<std::uint8_t> frame;
    frame.reserve(n + 3);
    frame.push_back(protocol::kFrameStart);
    frame.push_back(static_cast<std::uint8_t>(n + 3));
    frame.insert(frame.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(n));
    frame.push_back(protocol::FrameChecksum(frame));
    return frame;
}

void SimulatedProcessor::SendReply(Answer answer) {
    if (answer.Block && faults_.BlockLengthError != 0) {
        const int size = static_cast<int>(answer.Payload.size()) + faults_.BlockLengthError;
        answer.Payload.resize(
            static_cast<std::size_t>(std::clamp(size, 0, static_cast<int>(kMaxReplyPayload))));
    }
    std::vector<std::uint8_t> frame = ReplyFrame(answer.Payload);
    if (bad_checksums_left_ != 0) {
        // A wrong checksum that still is an ordinary byte, so the frame ends where it should.
        frame.back() = static_cast<std::uint8_t>((frame.back() + 1) % (protocol::kMaxDataByte + 1));
        if (bad_checksums_left_ > 0) --bad_checksums_left_;
    }
    ++counters_.FramesAnswered;
    ++plan_answered_;
    Emit(std::move(frame), latency_ms_);

    if (!unplug_done_ && faults_.UnplugAfterFrames != FaultPlan::kNever &&
        plan_answered_ >= static_cast<std::uint64_t>(faults_.UnplugAfterFrames)) {
        unplug_done_ = true;
        // After the answer: the same delay, scheduled later, fires later.
        const std::uint64_t key = ++next_pending_;
        pending_[key] = clock_.CallAfter(latency_ms_, [this, key] {
            pending_.erase(key);
            if (unplug_) unplug_();
        });
    }
}

std::vector<std::uint8_t> SimulatedProcessor::Identification() const {
    if (!faults_.TagOverride.empty()) {
        std::vector<std::uint8_t> tag(faults_.TagOverride.begin(), faults_.TagOverride.end());
        for (auto& b : tag) b = std::min(b, protocol::kMaxDataByte);
        return tag;
    }
    std::vector<std::uint8_t> tag(protocol::kDeviceTagPrefix.begin(),
                                  protocol::kDeviceTagPrefix.end());
    tag.push_back(static_cast<std::uint8_t>(variant_));
    tag.push_back('_');
    return tag;
}

bool SimulatedProcessor::Handle(std::span<const std::uint8_t> frame, Answer& answer) {
    const std::uint8_t command = frame[1];
    const std::span<const std::uint8_t> payload =
        frame.subspan(kHeaderLength, frame.size() - kHeaderLength - 1);
    switch (command) {
        case static_cast<std::uint8_t>(protocol::Command::LinkSearch):
            // Anything but the search text is not meant for this device: no answer.
            if (!std::equal(payload.begin(), payload.end(), protocol::kLinkSearchText.begin(),
                            protocol::kLinkSearchText.end()))
                return false;
            admin_verified_ = false;
            panel_verified_ = false;
            answer.Payload = Identification();
            return true;
        case static_cast<std::uint8_t>(protocol::Command::WriteParam):
            return HandleWriteParam(frame[2], frame[3] * 256 + frame[4], payload, answer);
        case static_cast<std::uint8_t>(protocol::Command::ReadModeBlock):
        case static_cast<std::uint8_t>(protocol::Command::WriteModeBlock):
        case static_cast<std::uint8_t>(protocol::Command::ReadWorkingBlock):
            return HandleBlock(command, frame[2], frame[3], frame[4], payload, answer);
        case static_cast<std::uint8_t>(protocol::Command::SaveToMode): {
            const bool saved = state_.SaveWorkingToMode(frame[2]) == DeviceError::Ok;
            answer.Payload = Short(command, saved ? protocol::kAccepted : kRefused);
            if (saved) NoteChange();
            return true;
        }
        case static_cast<std::uint8_t>(protocol::Command::ReadModeNames): {
            const auto names = state_.NamesReply();
            answer.Payload.assign(names.begin(), names.end());
            return true;
        }
        case static_cast<std::uint8_t>(protocol::Command::PasswordCommand):
            return HandlePassword(frame[3], frame[4], payload, answer);
        case static_cast<std::uint8_t>(protocol::Command::ReadCurrentMode):
            answer.Payload = Short(command, static_cast<std::uint8_t>(state_.CurrentMode()));
            return true;
        default:
            answer.Payload = Short(command, kRefused);
            return true;
    }
}

bool SimulatedProcessor::HandleWriteParam(std::uint8_t scene, int index,
                                          std::span<const std::uint8_t> payload, Answer& answer) {
    const std::uint8_t command = static_cast<std::uint8_t>(protocol::Command::WriteParam);
    const bool adminRight = index == model::entry::kAdminPassword;
    const bool panelRight = index == model::entry::kPanelLock;
    if ((adminRight && !admin_verified_) || (panelRight && !panel_verified_)) {
        answer.Payload = Short(command, kRefused);
        return true;
    }
    const bool written = state_.WriteEntry(scene, index, payload);
    answer.Payload = Short(command, written ? protocol::kAccepted : kRefused);
    if (written) NoteChange();
    return true;
}

bool SimulatedProcessor::HandleBlock(std::uint8_t command, std::uint8_t field, std::uint8_t kind,
                                     std::uint8_t address, std::span<const std::uint8_t> payload,
                                     Answer& answer) {
    const auto refuse = [&] {
        answer.Payload = Short(command, kRefused);
        return true;
    };
    const model::Workspace& layout = state_.Layout();
    if (kind >= model::kMenuKindCount || state_.BlockBytes(kind) == 0 ||
        address != layout.MenuKindFirst(kind) % 256)
        return refuse();
    const bool common = kind >= kModeKindCount;
    if (!common && field >= kModeFieldLimit) return refuse();
    const int mode = common ? 0 : field % kModeCount;
    const int scene = common ? 0 : field / kModeCount;

    if (command == static_cast<std::uint8_t>(protocol::Command::WriteModeBlock)) {
        if (payload.size() != state_.BlockBytes(kind)) return refuse();
        // The rights entries are set one at a time, after their password (see above).
        const std::int32_t admin = state_.Working().ValueAt(model::entry::kAdminPassword, 0);
        const std::int32_t panel = state_.Working().ValueAt(model::entry::kPanelLock, 0);
        bool stored = state_.WriteBlock(common ? kWorkingSettings : mode, kind, scene, payload);
        if (stored && !common && mode == state_.CurrentMode())
            stored = state_.WriteBlock(kWorkingSettings, kind, scene, payload);
        state_.Working().SetValueAt(model::entry::kAdminPassword, 0, admin);
        state_.Working().SetValueAt(model::entry::kPanelLock, 0, panel);
        if (!stored) return refuse();
        answer.Payload = Short(command, protocol::kAccepted);
        NoteChange();
        return true;
    }

    int source = mode;
    if (command == static_cast<std::uint8_t>(protocol::Command::ReadWorkingBlock)) {
        if (!common && mode != state_.CurrentMode()) {
            if (state_.RecallMode(mode) != DeviceError::Ok) return refuse();
            NoteChange();
        }
        source = kWorkingSettings;
    }
    std::array<std::uint8_t, kMaxReplyPayload> block{};
    const std::size_t size = state_.ReadBlock(source, kind, scene, block);
    if (size == 0) return refuse();
    answer.Payload.assign(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    answer.Block = true;
    return true;
}

bool SimulatedProcessor::HandlePassword(std::uint8_t slot, std::uint8_t operation,
                                        std::span<const std::uint8_t> digits, Answer& answer) {
    const std::uint8_t command = static_cast<std::uint8_t>(protocol::Command::PasswordCommand);
    if (slot != protocol::kPanelLockSlot && slot != protocol::kAdministratorSlot) {
        answer.Payload = Short(command, kRefused);
        return true;
    }
    const bool admin = slot == protocol::kAdministratorSlot;
    bool& verified = admin ? admin_verified_ : panel_verified_;
    const std::size_t n = protocol::PasswordDigitCount(slot);
    bool accepted = false;
    switch (operation) {
        case kCheck:
            accepted = admin ? SameDigits(state_.Administrator(), digits)
                             : SameDigits(state_.Panel(), digits);
            verified = accepted;
            break;
        case kChange: {
            if (digits.size() != 2 * n) break;
            const auto old = digits.first(n);
            const auto fresh = digits.subspan(n);
            const bool oldMatches =
                admin ? SameDigits(state_.Administrator(), old) : SameDigits(state_.Panel(), old);
            if (!oldMatches) {
                verified = false;
                break;
            }
            accepted = (admin ? state_.SetAdministrator(fresh) : state_.SetPanel(fresh)) ==
                       DeviceError::Ok;
            if (accepted) {
                verified = true;
                NoteChange();
            }
            break;
        }
        case kClose:
            verified = false;
            accepted = true;
            break;
        default:
            break;
    }
    answer.Payload = Short(command, accepted ? protocol::kAccepted : kRefused);
    return true;
}

}  // namespace vellora::device
