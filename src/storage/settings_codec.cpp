// Encoding and decoding of the settings image, field by field, independent of host byte order.
#include "storage/settings_codec.h"

namespace vellora::storage {

namespace {

void PutI32(uint8_t* p, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16);
    p[3] = static_cast<uint8_t>(u >> 24);
}

int32_t GetI32(const uint8_t* p) {
    const uint32_t u = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(u);
}

void PutBool(uint8_t* p, bool value) {
    p[0] = value ? 0xFF : 0x00;
    p[1] = value ? 0xFF : 0x00;
}

bool GetBool(const uint8_t* p) {
    return p[0] != 0 || p[1] != 0;
}

}  // namespace

void EncodeSlot(const model::SceneSlot& slot, std::span<uint8_t, kSlotBytes> out) {
    uint8_t* p = out.data();
    p[slot_offset::kFilterType] = slot.FilterType;
    PutI32(p + slot_offset::kValue, slot.Value);
    p[slot_offset::kQType] = slot.QType;
    PutI32(p + slot_offset::kFreq, slot.Freq);
    PutI32(p + slot_offset::kGain, slot.Gain);
    PutI32(p + slot_offset::kQ, slot.Q);
    PutI32(p + slot_offset::kShelfQ, slot.ShelfQ);
    PutBool(p + slot_offset::kDefined, slot.Defined);
    PutBool(p + slot_offset::kPerScene, slot.PerScene);
    PutBool(p + slot_offset::kEQdisabled, slot.EQdisabled);
}

model::SceneSlot DecodeSlot(std::span<const uint8_t, kSlotBytes> in) {
    const uint8_t* p = in.data();
    model::SceneSlot slot;
    slot.FilterType = p[slot_offset::kFilterType];
    slot.Value = GetI32(p + slot_offset::kValue);
    slot.QType = p[slot_offset::kQType];
    slot.Freq = GetI32(p + slot_offset::kFreq);
    slot.Gain = GetI32(p + slot_offset::kGain);
    slot.Q = GetI32(p + slot_offset::kQ);
    slot.ShelfQ = GetI32(p + slot_offset::kShelfQ);
    slot.Defined = GetBool(p + slot_offset::kDefined);
    slot.PerScene = GetBool(p + slot_offset::kPerScene);
    slot.EQdisabled = GetBool(p + slot_offset::kEQdisabled);
    return slot;
}

std::vector<uint8_t> EncodeTable(const model::ParamTable& table) {
    std::vector<uint8_t> bytes(kSettingsFileSize);
    for (int index = 0; index < model::kParamCount; ++index)
        for (int s = 0; s < model::kSlotCount; ++s)
            EncodeSlot(*table.Slot(index, s), std::span<uint8_t, kSlotBytes>(
                                                  bytes.data() + SlotOffset(index, s), kSlotBytes));
    return bytes;
}

StorageError DecodeTable(std::span<const uint8_t> bytes, model::ParamTable& target) {
    if (bytes.size() != kSettingsFileSize) return StorageError::WrongSize;
    for (int index = 0; index < model::kParamCount; ++index)
        for (int s = 0; s < model::kSlotCount; ++s)
            *target.Slot(index, s) = DecodeSlot(std::span<const uint8_t, kSlotBytes>(
                bytes.data() + SlotOffset(index, s), kSlotBytes));
    return StorageError::Ok;
}

}  // namespace vellora::storage
