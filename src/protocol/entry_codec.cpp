// Entry and block wire forms. Values read from a table may be anything a file carried, so
// the encoder clamps them into what one byte or one pair can say without a reserved byte.
#include "protocol/entry_codec.h"

#include <algorithm>

#include "model/value_scales.h"
#include "protocol/wire_format.h"

namespace vellora::protocol {

namespace {

// A single entry byte (QType, ShelfQ) above 249 would collide with the frame's control bytes
// 253..255 or fall outside what the device's own encoding uses; negative values have no
// meaning. Both are clamped instead of being truncated to a byte.
uint8_t SingleByte(int32_t value) {
    return static_cast<uint8_t>(std::clamp<int32_t>(value, 0, kMaxSingleByte));
}

// Freq is clamped below the disabled offset before the flag is added: a Freq of 30000 or more
// would otherwise read back as a disabled band, and a disabled one could overflow the pair.
int32_t WireFreq(const model::SceneSlot& s) {
    const int32_t freq = std::clamp<int32_t>(s.Freq, 0, kFreqDisabledOffset - 1);
    return s.EQdisabled ? freq + kFreqDisabledOffset : freq;
}

void PutPair(uint8_t* at, int32_t value) {
    const ValuePair pair = ValuePair::Encode(value);  // clamps into 0..62499
    at[0] = pair.High;
    at[1] = pair.Low;
}

int32_t GetPair(const uint8_t* at) {
    return ValuePair::Decode(at[0], at[1]);
}

bool ValidKind(const model::Workspace& ranges, int kind) {
    return kind >= 0 && kind < model::kMenuKindCount && ranges.MenuKindSize(kind) > 0 &&
           model::ValidIndex(ranges.MenuKindFirst(kind)) &&
           model::ValidIndex(ranges.MenuKindLast(kind)) &&
           model::MenuKindOf(ranges.MenuKindLast(kind)) == kind;
}

}  // namespace

bool UsesBandForm(const model::ParamTable& table, int index) {
    const model::SceneSlot* s0 = table.Slot(index, 0);
    return s0 && model::MenuKindOf(index) < kFirstPlainKind && s0->FilterType == model::kEqBand;
}

std::size_t EntryWireSize(const model::ParamTable& table, int index) {
    if (!model::ValidIndex(index)) return 0;
    return UsesBandForm(table, index) ? kBandEntrySize : kPlainEntrySize;
}

ByteResult EncodeEntry(const model::ParamTable& table, int index, int slot, bool sendNeutral,
                       std::span<uint8_t> out) {
    if (!model::ValidIndex(index)) return {ProtocolError::BadIndex, 0};
    const model::SceneSlot* s = table.Slot(index, slot);
    if (!s) return {ProtocolError::BadSlot, 0};
    const std::size_t size = EntryWireSize(table, index);
    if (out.size() < size) return {ProtocolError::BufferTooSmall, 0};

    uint8_t* at = out.data();
    if (size == kBandEntrySize) {
        at[0] = SingleByte(s->QType);
        at[1] = SingleByte(s->ShelfQ);
        PutPair(at + 2, WireFreq(*s));
        PutPair(at + 4, sendNeutral ? model::kGainZero : s->Gain);
        PutPair(at + 6, s->Q);
    } else {
        PutPair(at, sendNeutral ? 0 : s->Value);
    }
    return {ProtocolError::Ok, size};
}

ByteResult BlockSize(const model::ParamTable& table, const model::Workspace& ranges, int kind) {
    if (!ValidKind(ranges, kind)) return {ProtocolError::BadIndex, 0};
    std::size_t size = 0;
    for (int i = ranges.MenuKindFirst(kind); i <= ranges.MenuKindLast(kind); ++i)
        size += EntryWireSize(table, i);
    return {ProtocolError::Ok, size};
}

ByteResult EncodeBlock(const model::ParamTable& table, const model::Workspace& ranges, int kind,
                       int slot, std::span<uint8_t> out) {
    const ByteResult size = BlockSize(table, ranges, kind);
    if (!size.Ok()) return size;
    if (!model::ValidSlot(slot)) return {ProtocolError::BadSlot, 0};
    if (out.size() < size.Bytes) return {ProtocolError::BufferTooSmall, 0};
    std::size_t at = 0;
    for (int i = ranges.MenuKindFirst(kind); i <= ranges.MenuKindLast(kind); ++i) {
        const ByteResult entry = EncodeEntry(table, i, slot, false, out.subspan(at));
        if (!entry.Ok()) return entry;
        at += entry.Bytes;
    }
    return {ProtocolError::Ok, at};
}

ByteResult DecodeBlock(std::span<const uint8_t> payload, model::ParamTable& table,
                       const model::Workspace& ranges, int kind, int slot) {
    const ByteResult size = BlockSize(table, ranges, kind);
    if (!size.Ok()) return size;
    if (!model::ValidSlot(slot)) return {ProtocolError::BadSlot, 0};
    // The whole reply is checked before any entry is stored: a reply of the wrong size is
    // not the block asked for, and storing part of it would mix device and garbage values.
    if (payload.size() < size.Bytes) return {ProtocolError::ReplyTooShort, size.Bytes};
    if (payload.size() > size.Bytes) return {ProtocolError::ReplyTooLong, size.Bytes};

    const bool plainKind = kind >= kFirstPlainKind;
    const int target = plainKind ? 0 : slot;
    std::size_t at = 0;
    for (int i = ranges.MenuKindFirst(kind); i <= ranges.MenuKindLast(kind); ++i) {
        model::SceneSlot& s = *table.Slot(i, target);
        const uint8_t* bytes = payload.data() + at;
        if (UsesBandForm(table, i)) {
            s.QType = bytes[0];
            s.ShelfQ = bytes[1];
            const int32_t freq = GetPair(bytes + 2);
            s.EQdisabled = freq >= kFreqDisabledOffset;
            s.Freq = s.EQdisabled ? freq - kFreqDisabledOffset : freq;
            s.Gain = GetPair(bytes + 4);
            s.Q = GetPair(bytes + 6);
            at += kBandEntrySize;
        } else {
            s.Value = GetPair(bytes);
            at += kPlainEntrySize;
        }
    }
    return {ProtocolError::Ok, at};
}

}  // namespace vellora::protocol
