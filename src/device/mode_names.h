// Mode names as the processor keeps them: 12 bytes each in the GBK code page, padded with
// zero bytes. The factory names "模式1".."模式11" are written here as their GBK bytes; the
// sizes and the GBK conversion are the protocol's.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/device_error.h"
#include "protocol/mode_names.h"

namespace vellora::device {

/// Stored modes 0..10 (shown to users as 1..11), one name each.
inline constexpr int kModeCount = protocol::kModeNameCount;
using protocol::kModeNameBytes;
using protocol::kModeNamesReplyBytes;

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

/// The name as text, decoded from GBK as protocol::DecodeGbk does (U+FFFD for what is not GBK).
[[nodiscard]] QString ModeNameText(const ModeName& name);

/// True when the name could have come from MakeModeName: no byte 253..255 and only zero
/// bytes after the first zero byte.
[[nodiscard]] bool IsWellFormedModeName(const ModeName& name);

}  // namespace vellora::device
