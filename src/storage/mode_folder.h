// Where mode files live: the folder "Orvane" beside the program, made when it is missing; when
// it cannot be made or written (a read-only installation), the same folder in the user's own
// data folder. Snapshots taken before whole writes go to "snapshots" beside it.
#pragma once

#include <QString>

namespace vellora::storage {

inline constexpr const char* kModeFolderName = "Orvane";
inline constexpr const char* kSnapshotFolderName = "snapshots";

struct ModeFolderChoice {
    QString Path;           ///< the folder in use; empty when neither could be made
    bool Fallback = false;  ///< true when the per-user folder is used
    QString Error;          ///< why the folder beside the program could not be used, or why none
};

/// Chooses (and makes) the mode folder: `programDir`/Orvane, else `userDataDir`/Orvane.
[[nodiscard]] ModeFolderChoice ChooseModeFolder(const QString& programDir,
                                                const QString& userDataDir);
/// The snapshot folder beside a mode folder (not made here).
[[nodiscard]] QString SnapshotFolderBeside(const QString& modeFolder);

}  // namespace vellora::storage
