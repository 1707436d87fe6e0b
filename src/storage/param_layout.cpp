// Roles of the entries, derived from the factory defaults.
#include "storage/param_layout.h"

#include <memory>

namespace vellora::storage {

namespace {

// Plain entries of the effects (menu kind 3) whose step is a frequency-table index.
constexpr int kFrequencyEntries[] = {768 + 3, 768 + 15, 768 + 18, 768 + 21};
constexpr int kFullCrossoverKind = 7;

}  // namespace

ParamLayout ParamLayout::FromDefaults(const model::Workspace& defaults) {
    ParamLayout layout;
    const model::ParamTable& table = defaults.ParamStore;
    constexpr int kFactorySlot = 2;
    for (int index = 0; index < model::kParamCount; ++index) {
        const model::SceneSlot& slot = *table.Slot(index, kFactorySlot);
        EntryInfo& info = layout.entries_[static_cast<std::size_t>(index)];
        if (!slot.Defined) continue;
        info.filterType = slot.FilterType;
        info.perScene = table.IsPerScene(index);
        switch (slot.FilterType) {
            case model::kEqBand:
                info.role = EntryRole::EqBand;
                break;
            case model::kHighPass:
            case model::kLowPass:
                info.role = EntryRole::FilterFrequency;
                break;
            default:
                info.role = EntryRole::Plain;
                break;
        }
    }
    for (int index : kFrequencyEntries)
        if (layout.entries_[static_cast<std::size_t>(index)].role == EntryRole::Plain)
            layout.entries_[static_cast<std::size_t>(index)].role = EntryRole::Frequency;

    // In menu kinds 4..7 a filter is a pair: the type entry, then its frequency entry with the
    // same FilterType.
    for (int kind = 4; kind <= 7; ++kind) {
        const int first = defaults.MenuKindFirst(kind);
        const int last = defaults.MenuKindLast(kind);
        for (int index = first; index < last; ++index) {
            EntryInfo& a = layout.entries_[static_cast<std::size_t>(index)];
            const EntryInfo& b = layout.entries_[static_cast<std::size_t>(index + 1)];
            if (a.role == EntryRole::FilterFrequency && b.role == EntryRole::FilterFrequency &&
                a.filterType == b.filterType) {
                a.role = EntryRole::FilterType;
                a.fullCrossoverList = kind == kFullCrossoverKind;
                ++index;  // the frequency entry of this pair stays a frequency entry
            }
        }
    }
    return layout;
}

const EntryInfo& ParamLayout::Entry(int index) const {
    static const EntryInfo kNone{};
    return model::ValidIndex(index) ? entries_[static_cast<std::size_t>(index)] : kNone;
}

const ParamLayout& FactoryLayout() {
    static const ParamLayout layout = [] {
        const auto defaults = std::make_unique<model::Workspace>();
        return ParamLayout::FromDefaults(*defaults);
    }();
    return layout;
}

}  // namespace vellora::storage
