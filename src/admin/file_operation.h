// FileOperation: settings files from the window. Saving writes the live store to the file the
// user chooses; loading writes a file into the device's current mode and reads the device
// back into the store, with a snapshot of the device's mode taken first when asked for.
#pragma once

#include <QString>

#include <functional>
#include <string_view>

#include "admin/file_chooser.h"
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/prompts.h"

namespace vellora::admin {

/// Loading without the link.
inline constexpr std::string_view kFileNotLinked = "设备未联机！无法进行该操作。";
/// The snapshot before a load could not be taken: nothing was written; the reason follows.
inline constexpr std::string_view kSnapshotFailed =
    "未能保存设备当前模式的快照，文件没有写入设备。";
inline constexpr const char* kConfigExtension = ".VL";

/// How a save or load ended.
enum class FileOutcome {
    Done,            ///< written to the file, or written into the device and read back
    Cancelled,       ///< the dialog was cancelled, or the chosen file does not exist
    NotLinked,       ///< a load without the link (the refusal was shown)
    FileError,       ///< not read or written, or of the wrong size or layout (shown)
    SnapshotFailed,  ///< the snapshot before the write failed; the device is untouched (shown)
    DeviceFailed,    ///< the write or the read-back stopped; the link reported why
};

class FileOperation {
public:
    /// Takes a snapshot of what the device holds in `mode` (0-based) before a load writes it;
    /// false with a one-line `error` keeps the device unwritten. It runs before the file goes
    /// into the ModeImage, so it may use the ModeImage itself.
    using SnapshotHook = std::function<bool(int mode, QString& error)>;

    /// Every reference outlives the operation.
    FileOperation(model::Workspace& ws, protocol::LinkSession& session, protocol::Prompts& prompts,
                  FileChooser& chooser)
        : ws_(ws), session_(session), prompts_(prompts), chooser_(chooser) {}

    /// ClearUndo of the window that owns the history (none: nothing to clear).
    void SetClearUndo(std::function<void()> clearUndo) { clear_undo_ = std::move(clearUndo); }
    void SetSnapshotBeforeWrite(SnapshotHook hook) { snapshot_ = std::move(hook); }

    /// SaveConfigFile: the chosen name, with ".VL" appended unless it ends in ".vl" in any
    /// case, receives the live store's image; then "已写入文件！". Works without the link.
    FileOutcome SaveConfigFile();
    /// LoadConfigFile: refused without the link ("设备未联机！无法进行该操作。"); the chosen
    /// file (exactly 252000 bytes with this processor's FilterTypes, else refused with a
    /// message before anything is sent) goes into the ModeImage, the
    /// history is cleared, the image is written into the device's current mode and, when
    /// that succeeded, the device is read back into the store.
    FileOutcome LoadConfigFile();

private:
    model::Workspace& ws_;
    protocol::LinkSession& session_;
    protocol::Prompts& prompts_;
    FileChooser& chooser_;
    std::function<void()> clear_undo_;
    SnapshotHook snapshot_;
};

}  // namespace vellora::admin
