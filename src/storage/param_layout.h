// What each ParamIndex holds, as the factory defaults lay it out: an equaliser band, a filter
// frequency, a filter's crossover type, a frequency-valued step, a plain step, or nothing.
// Taken from the defaults, never from a file, so a corrupt file cannot change how it reads.
#pragma once

#include <array>
#include <cstdint>

#include "model/param_store.h"
#include "model/workspace.h"

namespace vellora::storage {

enum class EntryRole : uint8_t {
    Undefined,        ///< the defaults leave the entry empty
    Plain,            ///< a step value
    Frequency,        ///< a plain entry whose Value is a FreqTable index (effect frequencies)
    FilterFrequency,  ///< a high- or low-pass frequency entry: Value is a FreqTable index
    FilterType,       ///< the crossover type entry of a filter pair (menu kinds 4..7)
    EqBand,           ///< an equaliser band: QType, Freq, Gain, Q, ShelfQ, EQdisabled
};

struct EntryInfo {
    EntryRole role = EntryRole::Undefined;
    uint8_t filterType = 0;          ///< FilterType the defaults give the entry (0..3)
    bool perScene = false;           ///< PerScene the defaults give the entry
    bool fullCrossoverList = false;  ///< type entry of menu kind 7: five crossover types, else two
};

class ParamLayout {
public:
    /// Reads the roles from the factory slot (2) of a workspace holding the defaults.
    static ParamLayout FromDefaults(const model::Workspace& defaults);

    /// The entry's role; Undefined for an index outside 0..2999.
    [[nodiscard]] const EntryInfo& Entry(int index) const;
    [[nodiscard]] bool Defines(int index) const {
        return Entry(index).role != EntryRole::Undefined;
    }

private:
    std::array<EntryInfo, model::kParamCount> entries_{};
};

/// The layout of the factory defaults, built once on first use and never changed after.
const ParamLayout& FactoryLayout();

/// Number of crossover types a type entry offers (5 on the full list, 2 on the short one).
constexpr int CrossoverTypeCount(bool fullList) {
    return fullList ? 5 : 2;
}

}  // namespace vellora::storage
