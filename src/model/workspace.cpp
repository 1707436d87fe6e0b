// The workspace: scene-rule writes, copies, locks, address texts and the factory defaults.
#include "model/workspace.h"

#include <charconv>
#include <string>
#include <vector>

#include "model/comma_fields.h"
#include "model/value_scales.h"

namespace vellora::model {

int32_t GetField(const SceneSlot& slot, Field field) {
    switch (field) {
        case Field::FilterType: return slot.FilterType;
        case Field::Value: return slot.Value;
        case Field::QType: return slot.QType;
        case Field::Freq: return slot.Freq;
        case Field::Gain: return slot.Gain;
        case Field::Q: return slot.Q;
        case Field::ShelfQ: return slot.ShelfQ;
        case Field::EQdisabled: return slot.EQdisabled ? 1 : 0;
    }
    return 0;
}

void SetField(SceneSlot& slot, Field field, int32_t value) {
    switch (field) {
        case Field::FilterType: slot.FilterType = static_cast<uint8_t>(value); break;
        case Field::Value: slot.Value = value; break;
        case Field::QType: slot.QType = static_cast<uint8_t>(value); break;
        case Field::Freq: slot.Freq = value; break;
        case Field::Gain: slot.Gain = value; break;
        case Field::Q: slot.Q = value; break;
        case Field::ShelfQ: slot.ShelfQ = value; break;
        case Field::EQdisabled: slot.EQdisabled = value != 0; break;
    }
}

Workspace::Workspace() { LoadDefaults(); }

int Workspace::MenuKindFirst(int kind) const {
    return kind >= 0 && kind < kMenuKindCount ? kind * 256 : -1;
}

int Workspace::MenuKindLast(int kind) const {
    return kind >= 0 && kind < kMenuKindCount ? menu_kind_last_[static_cast<size_t>(kind)] : -1;
}

void Workspace::SetMenuKindLast(int kind, int last) {
    if (kind >= 0 && kind < kMenuKindCount) menu_kind_last_[static_cast<size_t>(kind)] = last;
}

int Workspace::MenuKindSize(int kind) const {
    if (kind < 0 || kind >= kMenuKindCount) return 0;
    int n = MenuKindLast(kind) - MenuKindFirst(kind) + 1;
    return n > 0 ? n : 0;
}

bool Workspace::SetCurrentScene(int scene) {
    if (scene != 0 && scene != 1) return false;
    current_scene_ = scene;
    return true;
}

bool Workspace::SetCurrentPage(int page) {
    if (page < 0 || page >= kMenuKindCount) return false;
    current_page_ = page;
    return true;
}

uint8_t Workspace::ParamLocked(int index) const {
    return ValidIndex(index) ? locked_[static_cast<size_t>(index)] : 0;
}

void Workspace::SetParamLocked(int index, uint8_t locked) {
    if (ValidIndex(index)) locked_[static_cast<size_t>(index)] = locked;
}

bool Workspace::EditLocked(int index) const {
    return ParamLocked(index) == 1 || (bass_auto_control_ == 1 && IsPerScene(index));
}

int32_t Workspace::GetValue(int index) const { return ParamStore.ValueAt(index, current_scene_); }

bool Workspace::SetValue(int index, int32_t value) {
    return ParamStore.SetValueAt(index, current_scene_, value);
}

bool Workspace::SetValueBothScenes(int index, int32_t value) {
    return SetFieldBothScenes(index, Field::Value, value);
}

bool Workspace::SetFieldBothScenes(int index, Field field, int32_t value) {
    SceneSlot* current = ParamStore.Slot(index, current_scene_);
    if (!current) return false;
    SetField(*current, field, value);
    if (!IsPerScene(index)) SetField(*ParamStore.Slot(index, 1 - current_scene_), field, value);
    return true;
}

bool Workspace::SetSceneValue(int index, int32_t value) {
    return ParamStore.SetValueAt(index, 0, value) && ParamStore.SetValueAt(index, 1, value);
}

bool Workspace::CopyMicrophones(int source, int target) {
    if ((source != 1 && source != 2) || (target != 1 && target != 2) || source == target) return false;
    const int count = MenuKindLast(1) - MenuKindFirst(1);
    for (int i = 0; i <= count; ++i) {
        const SceneSlot* from = ParamStore.Slot(MenuKindFirst(source) + i, 0);
        SceneSlot* to = ParamStore.Slot(MenuKindFirst(target) + i, 0);
        if (from && to) *to = *from;
    }
    for (int kind : {1, 2}) {
        for (int i = MenuKindFirst(kind); i <= MenuKindFirst(kind) + count; ++i) {
            *ParamStore.Slot(i, 1) = *ParamStore.Slot(i, 0);
        }
    }
    return true;
}

void Workspace::CopyStoreToModeImage() {
    for (int i = 0; i < kParamCount; ++i)
        for (int s = 0; s < 2; ++s) *ModeImage.Slot(i, s) = *ParamStore.Slot(i, s);
}

// ---- Address texts --------------------------------------------------------------------------

namespace {

bool ParseNumber(std::string_view text, long long& out) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int base = 10;
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || text.size() > 12) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int ParseAddr(std::string_view text) {
    if (text.empty()) return -1;
    const std::vector<std::string_view> fields = SplitCommas(text);
    if (fields.size() != 3) return -1;
    long long kind = 0;
    long long address = 0;
    if (!ParseNumber(fields[1], kind) || !ParseNumber(fields[2], address)) return -1;
    const long long index = kind * 256 + address;
    return index >= 0 && index < kParamCount ? static_cast<int>(index) : -1;
}

// ---- Factory defaults -----------------------------------------------------------------------

namespace {

// One step of the defaults writer. Frequencies are in Hz and stored as table indices.
struct Def {
    enum Kind { Plain, FreqValue, HighPass, LowPass, HighPassType, LowPassType, Eq } kind;
    double number = 0;  // plain value, frequency in Hz, crossover type or band count
    bool scene = false;
    CentreList list = CentreList::Bands15;
};

constexpr Def P(double v, bool scene = false) { return {Def::Plain, v, scene, {}}; }
constexpr Def F(double hz) { return {Def::FreqValue, hz, false, {}}; }
constexpr Def HP(double hz, bool scene = false) { return {Def::HighPass, hz, scene, {}}; }
constexpr Def LP(double hz, bool scene = false) { return {Def::LowPass, hz, scene, {}}; }
constexpr Def HPType(int type, bool scene) { return {Def::HighPassType, double(type), scene, {}}; }
constexpr Def LPType(int type, bool scene) { return {Def::LowPassType, double(type), scene, {}}; }
constexpr Def EQ(CentreList list, bool scene = false) { return {Def::Eq, 0, scene, list}; }

constexpr bool S = true;  // kept per scene

std::vector<std::vector<Def>> DefaultTable() {
    using CL = CentreList;
    std::vector<std::vector<Def>> kinds(kMenuKindCount);
    kinds[0] = {EQ(CL::Bands15, S), HP(10, S), LP(20220, S), P(0)};
    kinds[1] = {HP(80), EQ(CL::Bands15), P(0), P(40), P(90), P(36), P(100), P(2)};
    kinds[2] = {HP(80), EQ(CL::Bands15), P(0), P(40), P(90), P(36), P(100)};
    kinds[3] = {P(0), P(220), P(60), F(8000), P(0), P(65),
                HP(120), LP(10000),
                EQ(CL::Bands5),
                HP(80), LP(12000),
                F(10000), P(20), P(0), F(15000), P(0), P(500), F(8000), P(50), P(70), P(40), P(60),
                EQ(CL::Bands5), EQ(CL::Bands5),
                P(100), P(100), P(100), P(100), P(100), P(100), P(2)};
    kinds[4] = {P(100, S), P(100, S), P(100, S), P(100, S), P(80), P(80),
                HPType(0, S), HP(19.7, S),
                EQ(CL::Bands10, S),
                P(140), P(40), P(90), P(36), P(0), P(0), P(100, S)};
    kinds[5] = {P(100, S), P(100, S), P(100, S), P(100, S), P(80), P(80),
                HPType(0, S), HP(19.7, S),
                EQ(CL::Bands7, S),
                P(140), P(40), P(90), P(36), P(0), P(0), P(100, S)};
    kinds[6] = {P(100, S), P(100, S), P(100, S), P(100, S), P(80),
                HPType(0, S), HP(19.7, S),
                EQ(CL::Bands7, S),
                P(140), P(40), P(90), P(36), P(0), P(100, S)};
    kinds[7] = {P(100, S), P(100, S), P(100, S), P(30), P(0), P(0), P(0),
                HPType(0, S), HP(19.7, S), LPType(0, S), LP(320, S),
                EQ(CL::Subwoofer5, S),
                P(140), P(40), P(90), P(36), P(0), P(1), P(1), P(1), P(1), P(1)};
    kinds[8] = {P(100), P(100), P(100), P(100), P(100), P(100), P(100), P(80), P(100)};
    kinds[9] = kinds[8];
    kinds[10] = {P(20), P(23), P(32), P(1), P(0), P(20), P(33), P(30), P(80), P(80), P(80),
                 P(0), P(2), P(2), P(0)};
    for (int i = 15; i <= 35; ++i) kinds[10].push_back(P(0));
    for (double v : {1, 1, 5, 0, 0}) kinds[10].push_back(P(v));
    return kinds;
}

// Slot 0 of these kind-0 bands carries a shaped curve: address -> gain step.
constexpr std::pair<int, int> kSingingMusicGains[] = {{0, 330}, {2, 350}, {7, 400},
                                                      {9, 60},  {11, 320}, {14, 300}};

}  // namespace

void Workspace::LoadDefaults() {
    (void)FreqTable();
    (void)QTable();
    ParamStore.Clear();
    ModeImage.Clear();
    current_scene_ = 0;
    current_page_ = 0;
    bass_auto_control_ = 0;
    locked_.fill(0);

    static const std::vector<std::vector<Def>> table = DefaultTable();
    for (int s = 0; s < kSlotCount; ++s) {
        for (int kind = 0; kind < kMenuKindCount; ++kind) {
            int cursor = kind * 256;
            for (const Def& def : table[static_cast<size_t>(kind)]) {
                auto write = [&](uint8_t filterType, int32_t value) {
                    SceneSlot& slot = *ParamStore.Slot(cursor, s);
                    if (filterType != kPlain) slot.FilterType = filterType;
                    slot.Value = value;
                    slot.Defined = true;
                    slot.PerScene = def.scene;
                    ++cursor;
                };
                switch (def.kind) {
                    case Def::Plain: write(kPlain, static_cast<int32_t>(def.number)); break;
                    case Def::FreqValue: write(kPlain, FreqIndex(def.number)); break;
                    case Def::HighPass: write(kHighPass, FreqIndex(def.number)); break;
                    case Def::LowPass: write(kLowPass, FreqIndex(def.number)); break;
                    case Def::HighPassType: write(kHighPass, static_cast<int32_t>(def.number)); break;
                    case Def::LowPassType: write(kLowPass, static_cast<int32_t>(def.number)); break;
                    case Def::Eq:
                        for (int centre : BandCentres(def.list)) {
                            SceneSlot& slot = *ParamStore.Slot(cursor, s);
                            slot.FilterType = kEqBand;
                            slot.Value = 0;
                            slot.QType = kPeaking;
                            slot.Freq = FreqIndex(centre);
                            slot.Gain = kGainZero;
                            slot.Q = QIndex(1.0);
                            slot.ShelfQ = QIndex(0.71);
                            slot.Defined = true;
                            slot.EQdisabled = false;
                            slot.PerScene = def.scene;
                            ++cursor;
                        }
                        break;
                }
            }
            menu_kind_last_[static_cast<size_t>(kind)] = cursor - 1;
            if (kind == 0)
                for (auto [address, gain] : kSingingMusicGains) ParamStore.Slot(address, 0)->Gain = gain;
        }
    }
    CopyStoreToModeImage();
}

}  // namespace vellora::model
