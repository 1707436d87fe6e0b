// Reading what a whole write would replace, for its snapshot.
#include "protocol/mode_snapshot.h"

namespace vellora::protocol {

SnapshotResult TakeSnapshot(BulkTransfers& transfers, model::Workspace& ws, int mode,
                            SnapshotSource source, const SnapshotKeeper& keep) {
    SnapshotResult result;
    ws.ModeImage = ws.ParamStore;
    if (source == SnapshotSource::StoredMode) {
        result.Status = transfers.ReadModeFromDevice(mode);
        if (result.Status != CommandStatus::Ok) return result;
    }
    if (keep) result.Problem = keep(ws.ModeImage, mode, source);
    return result;
}

}  // namespace vellora::protocol
