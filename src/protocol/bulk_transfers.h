// The reads and writes of the device's modes through the command channel: the current mode,
// the mode names, a whole stored mode in and out of the ModeImage, and the synchronisation
// that reads the device into the live store and runs the access check.
#pragma once

#include <cstdint>

#include "model/workspace.h"
#include "protocol/access_check.h"
#include "protocol/command_channel.h"
#include "protocol/command_status.h"
#include "protocol/link_views.h"
#include "protocol/prompts.h"

namespace vellora::protocol {

class BulkTransfers {
public:
    static constexpr int kMaxMode = 10;  ///< modes 0..10 (users count 1..11)

    /// Every reference must outlive the transfers. The views start as no-ops.
    BulkTransfers(CommandChannel& channel, model::Workspace& workspace, Prompts& prompts);

    void SetProgressView(BulkProgressView& view) { progress_ = &view; }
    void SetRefreshView(StoreRefreshView& view) { refresh_ = &view; }
    /// Told to end the program when the access check fails.
    void SetLifecycle(EditorLifecycle& lifecycle) { lifecycle_ = &lifecycle; }

    /// ReadCurrentMode (command 9): CurrentMode := reply byte 1. A reply without byte 1 is a
    /// LengthMismatch (with the warning), a mode beyond 10 a BadReply; neither is kept.
    [[nodiscard]] CommandStatus ReadCurrentMode();
    /// ReadModeNames (command 4): the 132-byte reply is then the channel's Reply(); any other
    /// size is a LengthMismatch (with the warning).
    [[nodiscard]] CommandStatus ReadModeNames();

    /// Writes the ModeImage into stored mode `mode` (0..10): kinds 0..7 of scene 0, kinds
    /// 0, 4, 5, 6, 7 of scene 1, kinds 8, 9, 10; stops at the first unanswered frame.
    [[nodiscard]] CommandStatus WriteModeToDevice(int mode);
    /// Reads stored mode `mode` (kinds 0..7, command 1) into the ModeImage.
    [[nodiscard]] CommandStatus ReadModeFromDevice(int mode);
    /// Reads the device into the live store: with `full` the device's current mode first
    /// (then CurrentMode), 13 blocks of kinds 0..7 with `blockCommand` (ReadWorkingBlock:
    /// working settings, ReadModeBlock: a stored mode), kinds 8..10, the master slider limits,
    /// the access check, and finally CurrentScene and BassAutoControl from entries 2590 and
    /// 2591 and the full refresh. AccessRefused means the program has been told to end.
    [[nodiscard]] CommandStatus SyncFromDevice(int mode, bool full, Command blockCommand);

private:
    CommandStatus RunSync(int mode, bool full, Command blockCommand, std::array<int, 3>& where);
    CommandStatus ReadBlockInto(model::ParamTable& table, Command blockCommand, int32_t value,
                                int kind, int slot);
    [[nodiscard]] bool Start();

    CommandChannel& channel_;
    model::Workspace& workspace_;
    Prompts& prompts_;
    AccessCheck access_;
    BulkProgressView no_progress_;
    StoreRefreshView no_refresh_;
    EditorLifecycle no_lifecycle_;
    BulkProgressView* progress_ = &no_progress_;
    StoreRefreshView* refresh_ = &no_refresh_;
    EditorLifecycle* lifecycle_ = &no_lifecycle_;
};

}  // namespace vellora::protocol
