// Snapshots: what the device held before a whole write replaced it, kept as settings files in
// the "snapshots" folder beside the mode folder, named by date, time and mode. Only the newest
// 200 are kept; older ones are removed, oldest first.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

#include "model/param_store.h"
#include "storage/storage_error.h"

namespace vellora::storage {

/// What a snapshot holds: a stored mode of the device, or its working settings.
enum class SnapshotPart : uint8_t { StoredMode, WorkingSettings };

enum class SnapshotError : uint8_t {
    Ok = 0,
    NoFolder,     ///< the snapshot folder is not given, or cannot be made
    WriteFailed,  ///< the file could not be written (FileError says why)
};

struct SnapshotSaved {
    SnapshotError Error = SnapshotError::Ok;
    StorageError FileError = StorageError::Ok;
    QString Path;            ///< the snapshot file; for NoFolder the folder
    QStringList NotRemoved;  ///< old snapshots that pruning could not remove
    [[nodiscard]] bool Ok() const { return Error == SnapshotError::Ok; }
};

/// Why a snapshot was not kept, for a message box (Chinese, UTF-8, one line).
[[nodiscard]] std::string SnapshotFailureMessage(const SnapshotSaved& saved);
/// The same in English, for command-line error lines.
[[nodiscard]] std::string SnapshotFailureText(const SnapshotSaved& saved);

class SnapshotStore {
public:
    static constexpr int kKept = 200;
    /// Local date and time, for the names.
    using Now = std::function<QDateTime()>;

    /// `folder` is made on the first save.
    SnapshotStore(QString folder, Now now) : folder_(std::move(folder)), now_(std::move(now)) {}

    [[nodiscard]] const QString& Folder() const { return folder_; }

    /// The file name of a snapshot of `mode` (0-based, named counted from 1) taken at `at`:
    /// "YYYYMMDD-HHMMSS-modeNN.vl", "...-modeNN-working.vl" for the working settings.
    [[nodiscard]] static QString FileName(const QDateTime& at, int mode, SnapshotPart part);

    /// Writes `image` as a new snapshot, then prunes. The second and later snapshots taken in
    /// the same second get "-2", "-3" ... so that their order is kept. Nothing is written when
    /// the folder cannot be made.
    [[nodiscard]] SnapshotSaved Save(const model::ParamTable& image, int mode, SnapshotPart part);

    /// The snapshot files in the folder (full paths), oldest first by the time in their
    /// names. Other files in the folder are not snapshots and are never touched.
    [[nodiscard]] QStringList List() const;

    /// Removes all but the newest kKept snapshots, oldest first; returns those that could
    /// not be removed.
    [[nodiscard]] QStringList Prune() const;

private:
    QString folder_;
    Now now_;
};

}  // namespace vellora::storage
