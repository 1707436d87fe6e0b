// The state folder of a simulated processor: one file that keeps the working settings, the
// stored modes, the current mode, the names and the passwords across runs. Written through a
// temporary file that replaces the old one only when complete.
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "device/device_error.h"
#include "device/processor_state.h"

namespace vellora::device {

/// File name of the state inside the state folder.
inline constexpr char kStateFileName[] = "device-state.bin";
/// A damaged state file is kept under its name, a time stamp and this ending, and a fresh one
/// written: "device-state.bin.20240131-235959.damaged".
inline constexpr char kDamagedStateSuffix[] = ".damaged";

/// The file's bytes: "VLDEVST1", current mode, administrator and panel digits, the 132 name
/// bytes, the working settings (kinds 0..7 of scene 0, of scene 1, then kinds 8..10), each
/// mode (kinds 0..7 of scene 0, then of scene 1), all blocks in their wire form, and a CRC-32
/// (little-endian) of everything before it.
[[nodiscard]] std::vector<std::uint8_t> EncodeState(const ProcessorState& state);

/// Reads file bytes into `state`. StateCorrupt for anything that EncodeState cannot have
/// written with this layout (size, tag, CRC, mode, digit or name out of range); then `state`
/// is left exactly as it was.
[[nodiscard]] DeviceError DecodeState(std::span<const std::uint8_t> bytes, ProcessorState& state);

/// The path of the state file in `folder`.
[[nodiscard]] QString StateFilePath(const QString& folder);

/// A free name to keep the damaged file `path` under: the path, the local time the file was
/// last written ("yyyyMMdd-HHmmss"), "-2", "-3"... when that is taken, and kDamagedStateSuffix.
[[nodiscard]] QString DamagedCopyName(const QString& path);

/// Whether the state file can be kept in `folder`: makes the folder when needed and writes a
/// trial file in it. Ok or StateFolderUnusable (nothing is left behind).
[[nodiscard]] DeviceError CheckStateFolder(const QString& folder);

/// Writes the state file into `folder`, creating the folder when needed. On a failure
/// (StateWriteFailed) a file already there is left as it was.
[[nodiscard]] DeviceError SaveStateFile(const QString& folder, const ProcessorState& state);

/// Reads the state file of `folder` into `state`. StateNotFound when there is none,
/// StateReadFailed or StateCorrupt otherwise; `state` is unchanged on every error.
[[nodiscard]] DeviceError LoadStateFile(const QString& folder, ProcessorState& state);

}  // namespace vellora::device
