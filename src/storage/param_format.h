// Parameter values in the user's units: frequencies in Hz, gains in dB, quality factors,
// crossover type names, band shapes. Every function takes any value a file may hold and
// answers with a text; values outside their table are named as such, never looked up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/param_store.h"
#include "storage/param_layout.h"

namespace vellora::storage {

/// Hz of a FreqTable index; nullopt outside 0..362.
std::optional<double> FrequencyHz(int32_t index);
/// "19.7 Hz", "1000 Hz"; "index 999 (out of range)" outside 0..362.
std::string FrequencyText(int32_t index);

/// dB of a gain step (0.1 dB steps, 250 = 0 dB), for any step.
double GainDb(int32_t step);
/// "8.0 dB", "-19.0 dB", for any step.
std::string GainDbText(int32_t step);

/// The quality factor of a QTable index; nullopt outside 0..100.
std::optional<double> QFactor(int32_t index);
/// "1.00"; "index 150 (out of range)" outside 0..100.
std::string QFactorText(int32_t index);

/// Name of a crossover type on the full list (menu kind 7: "LinkWitz 48dB" ...) or the
/// short one ("ButterWorth 12dB", "ButterWorth 24dB"); nullopt for a value not on the list.
std::optional<std::string_view> CrossoverTypeName(int32_t value, bool fullList);
std::string CrossoverTypeText(int32_t value, bool fullList);

/// "peaking", "low shelf", "high shelf"; nullopt for another QType.
std::optional<std::string_view> BandShapeName(int32_t qtype);
std::string BandShapeText(int32_t qtype);

/// What the entry is, for a person: "EQ band", "high-pass", "low-pass type", "frequency",
/// "step" or "undefined".
std::string_view RoleText(const EntryInfo& entry);
/// Short machine name of a role: "band", "filterFrequency", "filterType", "frequency",
/// "step", "undefined".
std::string_view RoleKey(EntryRole role);

/// English label of a fixed common-settings entry (menu kind 10), e.g. "SceneSelect".
std::optional<std::string_view> CommonEntryLabel(int index);
/// The menu item name of the entry where a name table has one, else its common-settings
/// label, else empty. UTF-8.
std::string_view EntryName(int index);

/// One slot's value in the user's units, by the role the layout gives the entry:
/// a band as "peaking  1000 Hz  0.0 dB  Q 1.00  SQ 0.71  on", a filter frequency in Hz
/// ("off" at the end of the table), a type by its crossover name, a step as its number.
/// An entry the layout leaves empty shows its raw fields.
std::string SlotText(const EntryInfo& entry, const model::SceneSlot& slot);

}  // namespace vellora::storage
