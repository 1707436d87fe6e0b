// Mode files: a device's mode names turned into safe, distinct file names inside one chosen
// folder, whatever the device sends.
#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace vellora::storage {

/// Extension of the mode files the mode manager keeps.
inline constexpr std::string_view kModeFileExtension = ".vl";

/// A mode name as a file's base name (no extension), safe on every platform: path
/// separators, control characters and the characters Windows forbids become "_", runs of
/// dots collapse to one, a leading dot becomes "_", trailing dots and blanks go, a device
/// name of Windows (CON, NUL, COM1 ...) gets a leading "_". A name with nothing left becomes
/// "模式" + (mode + 1), the name the mode manager shows for the row.
[[nodiscard]] QString ModeFileBaseName(std::string_view name, int mode);

/// `base` itself when no name in `taken` equals it ignoring case, else `base` + " (2)",
/// " (3)", ... whichever is free first.
[[nodiscard]] QString UniqueBaseName(const QString& base, const std::vector<QString>& taken);

/// The absolute path of `base` + ".vl" in `folder`; nullopt unless that file lies directly
/// in the folder (a base name that is not a plain file name is refused).
[[nodiscard]] std::optional<QString> ModeFilePath(const QString& folder, const QString& base);

}  // namespace vellora::storage
