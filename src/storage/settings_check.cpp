// Range checks of a loaded table by the roles of the factory layout.
#include "storage/settings_check.h"

#include "model/param_store.h"
#include "model/value_scales.h"

namespace vellora::storage {

std::vector<Anomaly> Validate(const model::ParamTable& table, const ParamLayout& layout) {
    std::vector<Anomaly> found;
    for (int index = 0; index < model::kParamCount; ++index)
        for (int s = 0; s < model::kSlotCount; ++s)
            ValidateSlot(index, s, *table.Slot(index, s), layout.Entry(index), found);
    return found;
}

std::vector<Anomaly> FilterTypeAnomalies(const model::ParamTable& table,
                                         const ParamLayout& layout) {
    std::vector<Anomaly> found;
    for (int index = 0; index < model::kParamCount; ++index) {
        const int expected = layout.Entry(index).filterType;
        for (int s = 0; s < model::kSlotCount; ++s) {
            const int value = table.Slot(index, s)->FilterType;
            if (value != expected)
                found.push_back({index, s, SlotField::FilterType, value, expected, expected});
        }
    }
    return found;
}

void ValidateSlot(int index, int slot, const model::SceneSlot& fields, const EntryInfo& entry,
                  std::vector<Anomaly>& found) {
    auto check = [&](SlotField field, int64_t value, int64_t min, int64_t max) {
        if (value < min || value > max) found.push_back({index, slot, field, value, min, max});
    };
    if (entry.role == EntryRole::Undefined) {
        check(SlotField::Defined, fields.Defined ? 1 : 0, 0, 0);
        return;
    }
    check(SlotField::FilterType, fields.FilterType, entry.filterType, entry.filterType);
    switch (entry.role) {
        case EntryRole::EqBand:
            check(SlotField::QType, fields.QType, model::kPeaking, model::kHighShelf);
            check(SlotField::Freq, fields.Freq, 0, model::kFreqMax);
            check(SlotField::Gain, fields.Gain, kGainCheckMin, kGainCheckMax);
            check(SlotField::Q, fields.Q, 0, model::kQMax);
            check(SlotField::ShelfQ, fields.ShelfQ, 0, model::kQMax);
            break;
        case EntryRole::Frequency:
        case EntryRole::FilterFrequency:
            check(SlotField::Value, fields.Value, 0, model::kFreqMax);
            break;
        case EntryRole::FilterType:
            check(SlotField::Value, fields.Value, 0,
                  CrossoverTypeCount(entry.fullCrossoverList) - 1);
            break;
        case EntryRole::Plain:
            check(SlotField::Value, fields.Value, 0, kPairValueMax);
            break;
        case EntryRole::Undefined:
            break;
    }
    check(SlotField::Defined, fields.Defined ? 1 : 0, 1, 1);
}

std::string_view SlotFieldName(SlotField field) {
    switch (field) {
        case SlotField::FilterType:
            return "FilterType";
        case SlotField::Value:
            return "Value";
        case SlotField::QType:
            return "QType";
        case SlotField::Freq:
            return "Freq";
        case SlotField::Gain:
            return "Gain";
        case SlotField::Q:
            return "Q";
        case SlotField::ShelfQ:
            return "ShelfQ";
        case SlotField::Defined:
            return "Defined";
    }
    return "?";
}

std::string AnomalyText(const Anomaly& a) {
    std::string text = model::ParamAddressText(a.index) + " slot " + std::to_string(a.slot) + ": " +
                       std::string(SlotFieldName(a.field)) + " " + std::to_string(a.value);
    if (a.min == a.max)
        text += ", expected " + std::to_string(a.min);
    else
        text += " outside " + std::to_string(a.min) + ".." + std::to_string(a.max);
    return text;
}

}  // namespace vellora::storage
