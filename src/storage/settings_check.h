// The anomaly report of a loaded table: every field that lies outside what the entry's role
// allows, so that a caller can warn before the values are used or sent. Nothing is changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/param_store.h"
#include "storage/param_layout.h"

namespace vellora::storage {

enum class SlotField : uint8_t { FilterType, Value, QType, Freq, Gain, Q, ShelfQ, Defined };

struct Anomaly {
    int index = 0;  ///< ParamIndex 0..2999
    int slot = 0;   ///< 0..2
    SlotField field = SlotField::Value;
    int64_t value = 0;  ///< the value found (booleans as 0 / 1)
    int64_t min = 0;    ///< the range allowed for it
    int64_t max = 0;

    friend bool operator==(const Anomaly&, const Anomaly&) = default;
};

/// Band gains the check accepts: the editable range (-24.0 dB) up to the highest gain the
/// factory defaults use (+15.0 dB, above the editable +12.0 dB).
inline constexpr int32_t kGainCheckMin = 10;
inline constexpr int32_t kGainCheckMax = 400;
/// Highest value a step may have to travel to the device as a value pair (250 x 250 - 1).
inline constexpr int32_t kPairValueMax = 62499;

/// Checks every slot of every entry against its role in `layout`:
/// - an entry the layout defines must be Defined and keep its FilterType;
/// - an entry the layout leaves empty must not be Defined (its other fields are not looked at);
/// - bands: QType 0..2, Freq 0..362, Gain 10..400, Q and ShelfQ 0..100;
/// - filter and effect frequencies 0..362; crossover types 0..4 (menu kind 7) or 0..1;
/// - plain steps 0..62499.
/// Anomalies come in index, slot, field order.
std::vector<Anomaly> Validate(const model::ParamTable& table,
                              const ParamLayout& layout = FactoryLayout());

/// The FilterType anomalies alone, of every slot of every entry (an entry the layout leaves
/// empty must hold 0). An entry's FilterType decides its form in the device's blocks, so a
/// table with one of these is not this processor's: written to the device, every entry after
/// it would land shifted. Tables the terminal writes itself never have one.
std::vector<Anomaly> FilterTypeAnomalies(const model::ParamTable& table,
                                         const ParamLayout& layout = FactoryLayout());

/// The same checks for the fields of one slot (`slot` 0..2 of entry `index`, whose role
/// `entry` gives): its anomalies are appended to `found` in field order. Validate runs this
/// on every slot.
void ValidateSlot(int index, int slot, const model::SceneSlot& fields, const EntryInfo& entry,
                  std::vector<Anomaly>& found);

std::string_view SlotFieldName(SlotField field);
/// "entry 1031 (kind 4, address 7) slot 0: Value 999 outside 0..362".
std::string AnomalyText(const Anomaly& anomaly);

}  // namespace vellora::storage
