// Before a whole write replaces what the device holds, that is read and handed to a keeper
// (the storage layer's snapshot store): a stored mode read into the ModeImage, or the working
// settings as the live store holds them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/workspace.h"
#include "protocol/bulk_transfers.h"
#include "protocol/command_status.h"

namespace vellora::protocol {

enum class SnapshotSource : uint8_t {
    StoredMode,       ///< a stored mode, read from the device
    WorkingSettings,  ///< the working settings of the current mode
};

/// Keeps `image`, the snapshot of `mode` (0..10); returns an empty text when it was kept,
/// else why not (one line, for the user).
using SnapshotKeeper =
    std::function<std::string(const model::ParamTable& image, int mode, SnapshotSource source)>;

struct SnapshotResult {
    CommandStatus Status = CommandStatus::Ok;  ///< of the read from the device
    std::string Problem;                       ///< the keeper's reason; empty when kept
    [[nodiscard]] bool Ok() const { return Status == CommandStatus::Ok && Problem.empty(); }
};

/// Fills the ModeImage with what a whole write of `mode` would replace and hands it to `keep`.
/// Both sources start from a copy of the live store, which holds the device's settings of no
/// mode (kinds 8..10, which a whole write also replaces) and its working settings since the
/// synchronisation, every edit being written at once. StoredMode then reads stored mode
/// `mode` (kinds 0..7, 13 frames) from the device over it; WorkingSettings sends nothing.
/// On a failed read the keeper is not called. The ModeImage is overwritten either way.
[[nodiscard]] SnapshotResult TakeSnapshot(BulkTransfers& transfers, model::Workspace& ws, int mode,
                                          SnapshotSource source, const SnapshotKeeper& keep);

}  // namespace vellora::protocol
