// Value texts of the parameters, safe for any value a file may hold.
#include "storage/param_format.h"

#include <array>
#include <cmath>

#include "model/name_tables.h"
#include "model/value_scales.h"
#include "model/workspace.h"

namespace vellora::storage {

namespace {

constexpr std::array<std::string_view, 5> kFullCrossover = {
    "LinkWitz 48dB", "LinkWitz 24dB", "ButterWorth 12dB", "Bessel 24dB", "Bessel 12dB"};
constexpr std::array<std::string_view, 2> kShortCrossover = {"ButterWorth 12dB",
                                                             "ButterWorth 24dB"};
constexpr std::array<std::string_view, 3> kShapes = {"peaking", "low shelf", "high shelf"};

std::string OutOfRange(int32_t index) {
    return "index " + std::to_string(index) + " (out of range)";
}

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

std::optional<double> FrequencyHz(int32_t index) {
    if (index < 0 || index > model::kFreqMax) return std::nullopt;
    // The table's own decimal (19.7, not the nearest single-precision value).
    return std::round(static_cast<double>(model::FreqAt(index)) * 10.0) / 10.0;
}

std::string FrequencyText(int32_t index) {
    if (index < 0 || index > model::kFreqMax) return OutOfRange(index);
    std::string text = model::FormatFixed(model::FreqAt(index), 1);
    if (text.size() > 2 && text.ends_with(".0")) text.resize(text.size() - 2);
    return text + " Hz";
}

double GainDb(int32_t step) {
    return (static_cast<double>(step) - model::kGainZero) / 10.0;
}

std::string GainDbText(int32_t step) { return model::GainText(step) + " dB"; }

std::optional<double> QFactor(int32_t index) {
    if (index < 0 || index > model::kQMax) return std::nullopt;
    return std::round(static_cast<double>(model::QAt(index)) * 100.0) / 100.0;
}

std::string QFactorText(int32_t index) {
    if (index < 0 || index > model::kQMax) return OutOfRange(index);
    return model::QText(index);
}

std::optional<std::string_view> CrossoverTypeName(int32_t value, bool fullList) {
    if (value < 0 || value >= CrossoverTypeCount(fullList)) return std::nullopt;
    return fullList ? kFullCrossover[static_cast<std::size_t>(value)]
                    : kShortCrossover[static_cast<std::size_t>(value)];
}

std::string CrossoverTypeText(int32_t value, bool fullList) {
    if (auto name = CrossoverTypeName(value, fullList)) return std::string(*name);
    return "unknown type " + std::to_string(value);
}

std::optional<std::string_view> BandShapeName(int32_t qtype) {
    if (qtype < 0 || qtype >= static_cast<int32_t>(kShapes.size())) return std::nullopt;
    return kShapes[static_cast<std::size_t>(qtype)];
}

std::string BandShapeText(int32_t qtype) {
    if (auto name = BandShapeName(qtype)) return std::string(*name);
    return "unknown shape " + std::to_string(qtype);
}

std::string_view RoleText(const EntryInfo& entry) {
    const bool low = entry.filterType == model::kLowPass;
    switch (entry.role) {
        case EntryRole::Undefined:
            return "undefined";
        case EntryRole::Plain:
            return "step";
        case EntryRole::Frequency:
            return "frequency";
        case EntryRole::FilterFrequency:
            return low ? "low-pass" : "high-pass";
        case EntryRole::FilterType:
            return low ? "low-pass type" : "high-pass type";
        case EntryRole::EqBand:
            return "EQ band";
    }
    return "undefined";
}

std::string_view RoleKey(EntryRole role) {
    switch (role) {
        case EntryRole::Undefined:
            return "undefined";
        case EntryRole::Plain:
            return "step";
        case EntryRole::Frequency:
            return "frequency";
        case EntryRole::FilterFrequency:
            return "filterFrequency";
        case EntryRole::FilterType:
            return "filterType";
        case EntryRole::EqBand:
            return "band";
    }
    return "undefined";
}

std::optional<std::string_view> CommonEntryLabel(int index) {
    namespace e = model::entry;
    static constexpr std::array<std::string_view, 3> kMaster = {
        "master slider 1", "master slider 2", "master slider 3"};
    static constexpr std::array<std::string_view, 3> kPowerOn = {"power-on value, master slider 1",
                                                                 "power-on value, master slider 2",
                                                                 "power-on value, master slider 3"};
    static constexpr std::array<std::string_view, 3> kLimit = {"upper limit, master slider 1",
                                                               "upper limit, master slider 2",
                                                               "upper limit, master slider 3"};
    static constexpr std::array<std::string_view, 6> kMute = {"channel mute 1", "channel mute 2",
                                                              "channel mute 3", "channel mute 4",
                                                              "channel mute 5", "channel mute 6"};
    static constexpr std::array<std::string_view, 8> kBypass = {
        "bypass, page 0", "bypass, page 1", "bypass, page 2", "bypass, page 3",
        "bypass, page 4", "bypass, page 5", "bypass, page 6", "bypass, page 7"};
    static constexpr std::array<std::string_view, 3> kSingle = {"single mute 1", "single mute 2",
                                                                "single mute 3"};
    auto in = [index](int first, std::size_t count) {
        return index >= first && index < first + static_cast<int>(count);
    };
    auto at = [index](int first) { return static_cast<std::size_t>(index - first); };
    if (in(e::kMasterSlider0, kMaster.size())) return kMaster[at(e::kMasterSlider0)];
    if (index == e::kPowerOnMode) return "power-on mode";
    if (in(e::kPowerOnMode + 1, kPowerOn.size())) return kPowerOn[at(e::kPowerOnMode + 1)];
    if (in(e::kMasterLimit0, kLimit.size())) return kLimit[at(e::kMasterLimit0)];
    if (index == e::kOptionGroupPage2) return "option group, page 2";
    if (index == e::kPanelLock) return "automatic panel lock";
    if (in(e::kChannelMute0, kMute.size())) return kMute[at(e::kChannelMute0)];
    if (in(e::kBypass0, kBypass.size())) return kBypass[at(e::kBypass0)];
    if (index == e::kSceneSelect) return "SceneSelect";
    if (index == e::kBassAuto) return "subwoofer auto control";
    if (index == e::kAdminPassword) return "administrator password in force";
    if (in(e::kSingleMute0, kSingle.size())) return kSingle[at(e::kSingleMute0)];
    if (index == e::kOnOffSetting) return "on/off setting";
    if (index == e::kKeyShift) return "key shift (5 = none)";
    if (index == e::kEchoBypass) return "bypass, echo view";
    if (index == e::kReverbBypass) return "bypass, reverb view";
    return std::nullopt;
}

std::string_view EntryName(int index) {
    if (!model::ValidIndex(index)) return {};
    if (auto name = model::ItemNameOf(index)) return *name;
    if (auto label = CommonEntryLabel(index)) return *label;
    return {};
}

std::string SlotText(const EntryInfo& entry, const model::SceneSlot& slot) {
    switch (entry.role) {
        case EntryRole::EqBand:
            return PadRight(BandShapeText(slot.QType), 10) + "  " +
                   PadLeft(FrequencyText(slot.Freq), 8) + "  " + PadLeft(GainDbText(slot.Gain), 8) +
                   "  Q " + PadRight(QFactorText(slot.Q), 6) + "  SQ " +
                   PadRight(QFactorText(slot.ShelfQ), 4) + "  " + (slot.EQdisabled ? "off" : "on");
        case EntryRole::FilterFrequency: {
            const bool off = (entry.filterType == model::kHighPass && slot.Value == 0) ||
                             (entry.filterType == model::kLowPass && slot.Value == model::kFreqMax);
            return off ? "off (" + FrequencyText(slot.Value) + ")" : FrequencyText(slot.Value);
        }
        case EntryRole::FilterType:
            return CrossoverTypeText(slot.Value, entry.fullCrossoverList);
        case EntryRole::Frequency:
            return FrequencyText(slot.Value);
        case EntryRole::Plain:
            return std::to_string(slot.Value);
        case EntryRole::Undefined:
            break;
    }
    return "raw: type " + std::to_string(slot.FilterType) + ", value " +
           std::to_string(slot.Value) + ", shape " + std::to_string(slot.QType) + ", freq " +
           std::to_string(slot.Freq) + ", gain " + std::to_string(slot.Gain) + ", q " +
           std::to_string(slot.Q) + ", shelfQ " + std::to_string(slot.ShelfQ) +
           (slot.EQdisabled ? ", off" : "");
}

}  // namespace vellora::storage
