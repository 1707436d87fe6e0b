// Settings files ("音响配置文件", extension ".VL"): the whole parameter table as a 252000-byte
// image. Saving replaces a file only once the new image is completely written; loading fills
// the mode image of a workspace, never the live store.
#pragma once

#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/param_store.h"
#include "model/workspace.h"
#include "storage/storage_error.h"

namespace vellora::storage {

inline constexpr std::string_view kSettingsExtension = ".VL";
inline constexpr std::string_view kOpenDialogTitle = "浏览配置文件";
inline constexpr std::string_view kSaveDialogTitle = "保存配置文件";
/// Filter description of the file dialogs; its pattern is "*" + kSettingsExtension.
inline constexpr std::string_view kSettingsFilterText = "音响配置文件 (*.VL)";
inline constexpr std::string_view kSavedMessage = "已写入文件！";

/// The name a save uses for a chosen name: unchanged when its last three characters read
/// ".vl" in any case, otherwise the name with ".VL" appended.
QString WithSettingsExtension(const QString& chosen);

/// Writes the 252000-byte image of `table` under exactly `path`. The image goes to a
/// temporary file beside it that replaces `path` only when complete; on any error
/// (WriteFailed, OpenFailed, NotAFile) a file already standing there is left as it was.
[[nodiscard]] StorageError SaveSettingsFile(const QString& path, const model::ParamTable& table);

/// Reads a settings file's bytes. Fails with WrongSize for a file of any size but 252000
/// bytes (then `bytes` is left empty), NotFound when there is no such file.
[[nodiscard]] StorageError ReadSettingsBytes(const QString& path, std::vector<uint8_t>& bytes);

/// Reads a settings file that is to go to the device into `image`: as ReadSettingsBytes, and
/// WrongLayout for a file with an entry whose FilterType is not this processor's (see
/// FilterTypeAnomalies). On any error `image` is left exactly as it was.
[[nodiscard]] StorageError ReadImageForDevice(const QString& path, model::ParamTable& image);

/// Reads a settings file into `workspace.ModeImage` (all three slots of every record). On any
/// error the mode image is left exactly as it was. The live store is never touched.
[[nodiscard]] StorageError LoadSettingsFile(const QString& path, model::Workspace& workspace);

}  // namespace vellora::storage
