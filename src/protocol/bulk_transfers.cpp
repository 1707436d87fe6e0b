// Whole-mode transfers and the synchronisation: fixed frame orders, each reply decoded into
// its table, the windows disabled meanwhile and refreshed afterwards.
#include "protocol/bulk_transfers.h"

#include <array>

#include "protocol/entry_codec.h"
#include "protocol/link_texts.h"

namespace vellora::protocol {

namespace {

// Block order for kinds 0..7: scene 0 with every kind, scene 1 with the kinds that have a
// second scene.
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

BulkTransfers::BulkTransfers(CommandChannel& channel, model::Workspace& workspace, Prompts& prompts)
    : channel_(channel), workspace_(workspace), prompts_(prompts), access_(channel, prompts) {}

bool BulkTransfers::Start() {
    return channel_.Idle();
}

// ---- single reads ----

CommandStatus BulkTransfers::ReadCurrentMode() {
    const CommandStatus status = channel_.SendCommand(Command::ReadCurrentMode, 0, 0);
    if (status != CommandStatus::Ok) return status;
    const auto reply = channel_.Reply();
    if (reply.size() < 2) {
        prompts_.Warning(texts::kLengthMismatch);
        return CommandStatus::LengthMismatch;
    }
    if (reply[1] > kMaxMode) return CommandStatus::BadReply;
    channel_.Link().SetCurrentMode(reply[1]);
    return CommandStatus::Ok;
}

CommandStatus BulkTransfers::ReadModeNames() {
    const CommandStatus status = channel_.SendCommand(Command::ReadModeNames, 0, 0);
    if (status != CommandStatus::Ok) return status;
    if (channel_.Reply().size() != kModeNamesReplyLength) {
        prompts_.Warning(texts::kLengthMismatch);
        return CommandStatus::LengthMismatch;
    }
    return CommandStatus::Ok;
}

CommandStatus BulkTransfers::ReadBlockInto(model::ParamTable& table, Command blockCommand,
                                           int32_t value, int kind, int slot) {
    FrameRequest request;
    request.command = blockCommand;
    request.value = value;
    request.index = workspace_.MenuKindFirst(kind);
    // Kinds 8..10 belong to no mode: their frames name the mode through the override.
    if (kind >= kFirstPlainKind) request.modeOverride = static_cast<uint8_t>(value);
    const CommandStatus status = channel_.Send(request);
    if (status != CommandStatus::Ok) return status;
    const ByteResult read = DecodeBlock(channel_.Reply(), table, workspace_, kind, slot);
    if (IsSizeError(read.Error)) {
        prompts_.Warning(texts::kLengthMismatch);
        return CommandStatus::LengthMismatch;
    }
    return read.Ok() ? CommandStatus::Ok : CommandStatus::BadFrame;
}

// ---- whole modes ----

CommandStatus BulkTransfers::WriteModeToDevice(int mode) {
    if (!Start()) return CommandStatus::Busy;
    CommandChannel::Hold hold(channel_);
    progress_->BeginBulk(BulkOperation::WriteMode);
    channel_.Wait().Drain();

    CommandStatus result = CommandStatus::Ok;
    int done = 0;
    if (mode < 0 || mode > kMaxMode) result = CommandStatus::BadFrame;
    FrameRequest request;
    request.command = Command::WriteModeBlock;
    for (const BlockStep step : kModeBlocks) {
        if (result != CommandStatus::Ok) break;
        request.value = ModeField(mode, step.slot);
        request.index = workspace_.MenuKindFirst(step.kind);
        result = channel_.Send(request);
        if (result == CommandStatus::Ok) progress_->BulkProgress(++done, kModeBlockFrames);
    }
    for (const int kind : kCommonKinds) {
        if (result != CommandStatus::Ok) break;
        request.value = mode;
        request.index = workspace_.MenuKindFirst(kind);
        request.modeOverride = static_cast<uint8_t>(mode);
        result = channel_.Send(request);
        if (result == CommandStatus::Ok) progress_->BulkProgress(++done, kModeBlockFrames);
    }

    if (result == CommandStatus::BadFrame) prompts_.Error(texts::kWriteFailed);
    progress_->EndBulk(BulkOperation::WriteMode);
    refresh_->ClearUndoHistory();
    return result;
}

CommandStatus BulkTransfers::ReadModeFromDevice(int mode) {
    if (!Start()) return CommandStatus::Busy;
    CommandChannel::Hold hold(channel_);
    progress_->BeginBulk(BulkOperation::ReadMode);
    channel_.Wait().Drain();

    CommandStatus result = CommandStatus::Ok;
    int done = 0;
    const int total = static_cast<int>(kModeBlocks.size());
    BlockStep where{0, 0};
    if (mode < 0 || mode > kMaxMode) result = CommandStatus::BadFrame;
    for (const BlockStep step : kModeBlocks) {
        if (result != CommandStatus::Ok) break;
        where = step;
        result = ReadBlockInto(workspace_.ModeImage, Command::ReadModeBlock,
                               ModeField(mode, step.slot), step.kind, step.slot);
        if (result == CommandStatus::Ok) progress_->BulkProgress(++done, total);
    }
    if (result == CommandStatus::Ok) workspace_.ModeImage.ShareSingleSceneValues();

    if (result == CommandStatus::BadFrame)
        prompts_.Error(texts::ReadFailedText(where.slot, where.kind,
                                             workspace_.MenuKindFirst(where.kind) % 256));
    progress_->EndBulk(BulkOperation::ReadMode);
    return result;
}

// ---- the synchronisation ----

CommandStatus BulkTransfers::SyncFromDevice(int mode, bool full, Command blockCommand) {
    if (!Start()) return CommandStatus::Busy;
    CommandChannel::Hold hold(channel_);
    progress_->BeginBulk(BulkOperation::Synchronise);
    channel_.Wait().Drain();

    std::array<int, 3> where{0, 0, 0};  // the numbers of the read error message
    const CommandStatus result = RunSync(mode, full, blockCommand, where);
    if (result == CommandStatus::AccessRefused) {
        lifecycle_->EndProgram();
        return result;  // the program ends now
    }

    if (result == CommandStatus::BadFrame || result == CommandStatus::BadReply)
        prompts_.Error(texts::ReadFailedText(where[0], where[1], where[2]));
    const model::ParamTable& store = workspace_.ParamStore;
    (void)workspace_.SetCurrentScene(store.ValueAt(model::entry::kSceneSelect, 0));
    workspace_.SetBassAutoControl(store.ValueAt(model::entry::kBassAuto, 0));
    refresh_->ReloadAllControls();
    progress_->EndBulk(BulkOperation::Synchronise);
    refresh_->ClearUndoHistory();
    return result;
}

CommandStatus BulkTransfers::RunSync(int mode, bool full, Command blockCommand,
                                     std::array<int, 3>& where) {
    const int total = (full ? 1 : 0) + kModeBlockFrames;
    int done = 0;
    if (full) {
        const CommandStatus status = ReadCurrentMode();
        if (status != CommandStatus::Ok) return status;
        mode = channel_.Link().CurrentMode();
        progress_->BulkProgress(++done, total);
    }
    if (mode < 0 || mode > kMaxMode) return CommandStatus::BadFrame;

    for (const BlockStep step : kModeBlocks) {
        where = {step.slot, step.kind, workspace_.MenuKindFirst(step.kind) % 256};
        const CommandStatus status = ReadBlockInto(
            workspace_.ParamStore, blockCommand, ModeField(mode, step.slot), step.kind, step.slot);
        if (status != CommandStatus::Ok) return status;
        progress_->BulkProgress(++done, total);
    }
    for (const int kind : kCommonKinds) {
        where = {kind, 0, workspace_.MenuKindFirst(kind) % 256};
        const CommandStatus status =
            ReadBlockInto(workspace_.ParamStore, blockCommand, mode, kind, 0);
        if (status != CommandStatus::Ok) return status;
        progress_->BulkProgress(++done, total);
    }

    const model::ParamTable& store = workspace_.ParamStore;
    refresh_->SetMasterSliderLimits({store.ValueAt(model::entry::kMasterLimit0, 0),
                                     store.ValueAt(model::entry::kMasterLimit0 + 1, 0),
                                     store.ValueAt(model::entry::kMasterLimit0 + 2, 0)});

    if (store.ValueAt(model::entry::kAdminPassword, 0) != 0) {
        const CommandStatus status = access_.Run(PasswordInputType::Administrator);
        if (status != CommandStatus::Ok) return status;
    }
    if (store.ValueAt(model::entry::kPanelLock, 0) != 0) {
        const CommandStatus status = access_.Run(PasswordInputType::PanelLock);
        if (status != CommandStatus::Ok) return status;
    }

    workspace_.ParamStore.ShareSingleSceneValues();
    return CommandStatus::Ok;
}

}  // namespace vellora::protocol
