// The device's mode names: decoded from the ReadModeNames reply (11 names of 12 GBK bytes),
// and turned into safe, distinct file names for mode files inside one folder.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::protocol {

inline constexpr int kModeNameCount = 11;
inline constexpr std::size_t kModeNameBytes = 12;
/// Extension of the mode files the mode manager keeps.
inline constexpr std::string_view kModeFileExtension = ".vl";

/// GBK bytes as UTF-8; bytes that are not GBK become U+FFFD.
[[nodiscard]] std::string DecodeGbk(std::span<const uint8_t> bytes);

/// Name i (0..10) from payload bytes 12 x i .. 12 x i + 11, up to its first zero byte, as
/// UTF-8. Names the payload does not reach (a short reply) are empty.
[[nodiscard]] std::array<std::string, kModeNameCount> DecodeModeNames(
    std::span<const uint8_t> payload);

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

}  // namespace vellora::protocol
