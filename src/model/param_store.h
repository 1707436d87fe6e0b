// The parameter tables: 3000 records of three scene slots each, addressed by ParamIndex
// (menu kind x 256 + menu address). The live ParamStore and the ModeImage share this shape.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vellora::model {

inline constexpr int kParamCount = 3000;  ///< ParamIndex 0..2999
inline constexpr int kSlotCount = 3;      ///< 0 singing scene, 1 dance scene, 2 factory slot
inline constexpr int kMenuKindCount = 11; ///< menu kinds 0..10
inline constexpr int kModeScopedEnd = 2048;  ///< indices from here (kinds 8..10) belong to no mode

/// FilterType of a slot.
enum FilterKind : uint8_t { kPlain = 0, kEqBand = 1, kHighPass = 2, kLowPass = 3 };
/// QType of an equaliser band.
enum BandShape : uint8_t { kPeaking = 0, kLowShelf = 1, kHighShelf = 2 };

struct SceneSlot {
    uint8_t FilterType = 0;
    int32_t Value = 0;    ///< plain step; frequency index (filter frequency); crossover type
    uint8_t QType = 0;    ///< band shape
    int32_t Freq = 0;     ///< band centre, FreqTable index (0..362 when sane)
    int32_t Gain = 0;     ///< 0.1 dB steps, 250 = 0.0 dB
    int32_t Q = 0;        ///< QTable index
    int32_t ShelfQ = 0;   ///< second Q index, sent as one byte
    bool Defined = false;
    bool PerScene = false;  ///< meaningful in slot 0 only; holds for the whole record
    bool EQdisabled = false;

    friend bool operator==(const SceneSlot&, const SceneSlot&) = default;
};

struct ParamRecord {
    std::array<SceneSlot, kSlotCount> Slots{};
    friend bool operator==(const ParamRecord&, const ParamRecord&) = default;
};

/// Menu kind of a ParamIndex, or -1 outside 0..2999.
constexpr int MenuKindOf(int index) { return index >= 0 && index < kParamCount ? index / 256 : -1; }
constexpr bool ValidIndex(int index) { return index >= 0 && index < kParamCount; }
constexpr bool ValidSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
/// A ParamIndex as the command line and the checks write it: "entry 277 (kind 1, address 21)".
std::string ParamAddressText(int index);

/// A fixed table of 3000 records. Every access is range-checked: an index outside 0..2999
/// or a slot outside 0..2 yields nullptr (reads) or is refused (writes), never touches memory.
class ParamTable {
public:
    ParamTable() = default;

    [[nodiscard]] SceneSlot* Slot(int index, int slot) {
        return ValidIndex(index) && ValidSlot(slot) ? &records_[static_cast<std::size_t>(index)].Slots[static_cast<std::size_t>(slot)] : nullptr;
    }
    [[nodiscard]] const SceneSlot* Slot(int index, int slot) const {
        return ValidIndex(index) && ValidSlot(slot) ? &records_[static_cast<std::size_t>(index)].Slots[static_cast<std::size_t>(slot)] : nullptr;
    }
    [[nodiscard]] ParamRecord* Record(int index) {
        return ValidIndex(index) ? &records_[static_cast<std::size_t>(index)] : nullptr;
    }
    [[nodiscard]] const ParamRecord* Record(int index) const {
        return ValidIndex(index) ? &records_[static_cast<std::size_t>(index)] : nullptr;
    }

    /// Value of one slot; 0 for a refused access.
    [[nodiscard]] int32_t ValueAt(int index, int slot) const {
        const SceneSlot* s = Slot(index, slot);
        return s ? s->Value : 0;
    }
    /// Writes the Value of one slot; false (nothing stored) for a refused access.
    bool SetValueAt(int index, int slot, int32_t value) {
        SceneSlot* s = Slot(index, slot);
        if (!s) return false;
        s->Value = value;
        return true;
    }

    /// The PerScene flag, read from slot 0.
    [[nodiscard]] bool IsPerScene(int index) const {
        const SceneSlot* s = Slot(index, 0);
        return s && s->PerScene;
    }

    /// Copies every field of slot `from` into slot `to` for all 3000 records.
    bool CopyScene(int from, int to);
    /// For every record whose slot 0 is not PerScene, copies slot 0 into slot 1.
    void ShareSingleSceneValues();
    void Clear() { records_.fill(ParamRecord{}); }

    friend bool operator==(const ParamTable&, const ParamTable&) = default;

private:
    std::array<ParamRecord, kParamCount> records_{};
};

}  // namespace vellora::model
