// The byte image of a parameter table as it stands in a settings file: 3000 records of three
// 28-byte slots, little-endian, no header. Pure functions, no file access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/param_store.h"
#include "storage/storage_error.h"

namespace vellora::storage {

inline constexpr std::size_t kSlotBytes = 28;
inline constexpr std::size_t kRecordBytes = kSlotBytes * model::kSlotCount;          // 84
inline constexpr std::size_t kSettingsFileSize = kRecordBytes * model::kParamCount;  // 252000

/// Byte offsets of the fields inside one slot.
namespace slot_offset {
inline constexpr std::size_t kFilterType = 0;   ///< u8
inline constexpr std::size_t kValue = 1;        ///< i32
inline constexpr std::size_t kQType = 5;        ///< u8
inline constexpr std::size_t kFreq = 6;         ///< i32
inline constexpr std::size_t kGain = 10;        ///< i32
inline constexpr std::size_t kQ = 14;           ///< i32
inline constexpr std::size_t kShelfQ = 18;      ///< i32
inline constexpr std::size_t kDefined = 22;     ///< 16-bit boolean
inline constexpr std::size_t kPerScene = 24;    ///< 16-bit boolean
inline constexpr std::size_t kEQdisabled = 26;  ///< 16-bit boolean
}  // namespace slot_offset

/// File offset of slot `slot` of record `index` (84 x index + 28 x slot).
constexpr std::size_t SlotOffset(int index, int slot) {
    return kRecordBytes * static_cast<std::size_t>(index) +
           kSlotBytes * static_cast<std::size_t>(slot);
}

/// Writes one slot into 28 bytes; booleans as 0 / -1 (FF FF).
void EncodeSlot(const model::SceneSlot& slot, std::span<uint8_t, kSlotBytes> out);
/// Reads one slot from 28 bytes; a 16-bit boolean is true when it is not zero. Every value
/// is kept as it stands, in range or not.
model::SceneSlot DecodeSlot(std::span<const uint8_t, kSlotBytes> in);

/// The 252000-byte image of a whole table.
std::vector<uint8_t> EncodeTable(const model::ParamTable& table);
/// Reads an image into `target`. Anything but exactly 252000 bytes is refused with
/// WrongSize and leaves `target` untouched.
[[nodiscard]] StorageError DecodeTable(std::span<const uint8_t> bytes, model::ParamTable& target);

}  // namespace vellora::storage
