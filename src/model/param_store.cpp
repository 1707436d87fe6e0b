// Whole-table operations of the parameter tables.
#include "model/param_store.h"

namespace vellora::model {

bool ParamTable::CopyScene(int from, int to) {
    if (!ValidSlot(from) || !ValidSlot(to)) return false;
    for (auto& record : records_)
        record.Slots[static_cast<std::size_t>(to)] = record.Slots[static_cast<std::size_t>(from)];
    return true;
}

void ParamTable::ShareSingleSceneValues() {
    for (auto& record : records_)
        if (!record.Slots[0].PerScene) record.Slots[1] = record.Slots[0];
}

std::string ParamAddressText(int index) {
    return "entry " + std::to_string(index) + " (kind " + std::to_string(index / 256) +
           ", address " + std::to_string(index % 256) + ")";
}

}  // namespace vellora::model
