// Mode names as the processor keeps them: 12 bytes each in the GBK code page, padded with
// zero bytes. The factory names "模式1".."模式11" are written here as their GBK bytes.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/device_error.h"

namespace vellora::device {

inline constexpr int kModeCount = 11;  ///< stored modes 0..10 (shown to users as 1..11)
inline constexpr std::size_t kModeNameBytes = 12;
inline constexpr std::size_t kModeNamesReplyBytes = kModeNameBytes * kModeCount;  // 132

using ModeName = std::array<std::uint8_t, kModeNameBytes>;

/// The factory name of mode `mode` (0..10): "模式" followed by mode + 1 in decimal.
[[nodiscard]] ModeName FactoryModeName(int mode);

/// Builds a name from its GBK bytes. BadName when there are more than 12 bytes, a zero byte
/// (it would end the name early) or a byte 253..255 (it would break the reply frame).
[[nodiscard]] DeviceError MakeModeName(std::span<const std::uint8_t> gbk, ModeName& name);

/// Builds a name from text through the GBK code page. NoNameEncoding when this Qt build has
/// no GBK converter, BadName when the text has characters GBK cannot say or breaks the rules
/// of MakeModeName.
[[nodiscard]] DeviceError ModeNameFromText(QStringView text, ModeName& name);

/// The name's bytes up to its first zero byte.
[[nodiscard]] std::span<const std::uint8_t> ModeNameBytes(const ModeName& name);

/// The name as text, decoded from GBK; the bytes as Latin-1 when there is no GBK converter.
[[nodiscard]] QString ModeNameText(const ModeName& name);

/// True when the name could have come from MakeModeName: no byte 253..255 and only zero
/// bytes after the first zero byte.
[[nodiscard]] bool IsWellFormedModeName(const ModeName& name);

}  // namespace vellora::device
