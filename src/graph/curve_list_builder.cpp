// Building the page's band list from the store and binding the band sliders.
#include "graph/curve_list_builder.h"

#include <algorithm>

#include "model/value_scales.h"

namespace vellora::graph {

namespace {

constexpr int kBypassPagesEnd = 8;  // pages 0..7 have a bypass switch

int FindSlider(const SliderHost& sliders, int addr) {
    for (int s = 1; s < sliders.SliderCount(); ++s)
        if (sliders.SliderAddr(s) == addr) return s;
    return 0;
}

// A filter frequency index: the two off positions stay, anything else is held to 1..361.
int32_t FilterFreq(int32_t value) {
    static const int lowOff = model::FreqIndex(10);
    static const int highOff = model::FreqIndex(20220);
    if (value == lowOff || value == highOff) return value;
    return std::clamp<int32_t>(value, 1, model::kFreqMax - 1);
}

}  // namespace

EntryRange GraphRange(const model::Workspace& ws, const GraphView& view) {
    const int first = ws.MenuKindFirst(view.Page);
    const int last = ws.MenuKindLast(view.Page);
    if (first < 0 || last < first) return {};
    if (view.Page != kEffectsPage) return {first, last};
    switch (std::clamp(view.EffectView, 0, 2)) {
        case 0: return {first, std::min(last, first + 12)};
        case 1: return {first + 13, std::min(last, first + 30)};
        default: return {first + 31, last};
    }
}

int BypassEntry(const GraphView& view) {
    if (view.Page == kEffectsPage) {
        switch (std::clamp(view.EffectView, 0, 2)) {
            case 0: return model::entry::kEchoBypass;
            case 1: return model::entry::kReverbBypass;
            default: return model::entry::kBypass0 + kEffectsPage;
        }
    }
    if (view.Page < 0 || view.Page >= kBypassPagesEnd) return -1;
    return model::entry::kBypass0 + view.Page;
}

CurveList BuildCurveList(const model::Workspace& ws, const GraphView& view, SliderHost* sliders) {
    CurveList list;
    for (int i = 0; i < kMaxBands; ++i) {
        list.Bands[static_cast<size_t>(i)].Locked = false;
        list.Bands[static_cast<size_t>(i)].Column = static_cast<uint8_t>(i);
    }
    if (sliders)
        for (int s = 0; s < sliders->SliderCount(); ++s) sliders->SetSliderEqIndex(s, -1);

    const EntryRange range = GraphRange(ws, view);
    const int scene = view.Scene == 1 ? 1 : 0;
    const model::ParamTable& store = ws.ParamStore;
    auto slot = [&](int k) { return store.Slot(k, scene); };
    auto add = [&](const CurveBand& band) {
        if (list.CurveCount >= kMaxBands) return false;
        CurveBand& out = list.Bands[static_cast<size_t>(list.CurveCount)];
        const uint8_t column = out.Column;
        out = band;
        out.Column = column;
        ++list.CurveCount;
        return true;
    };

    // Pass 1: equaliser bands.
    for (int k = range.first; k <= range.last; ++k) {
        const model::SceneSlot* s = slot(k);
        if (!s || s->FilterType != model::kEqBand) continue;
        CurveBand b;
        b.Freq = s->Freq;
        b.GainOrType = s->Gain;
        b.Q = s->Q;
        b.ShelfQ = s->ShelfQ;
        b.QType = s->QType;
        b.EQdisabled = s->EQdisabled;
        b.FilterType = kBandEq;
        b.ParamIndex = k;
        b.Paired = false;
        b.Locked = ws.ParamLocked(k) != 0;
        if (!add(b)) break;
    }
    if (list.CurveCount > 0)
        list.PageGreyed = ws.BassAutoControl() == 1 && ws.IsPerScene(list.Bands[0].ParamIndex);

    // Passes 2 and 3: high-pass, then low-pass filters.
    for (const uint8_t kind : {model::kHighPass, model::kLowPass}) {
        for (int k = range.first; k <= range.last; ++k) {
            const model::SceneSlot* s = slot(k);
            if (!s || s->FilterType != kind) continue;
            CurveBand b;
            b.FilterType = kind;
            b.ParamIndex = k;
            const model::SceneSlot* next = k + 1 <= range.last ? slot(k + 1) : nullptr;
            if (next && next->FilterType == kind) {
                b.Paired = true;
                b.GainOrType = s->Value;
                b.Freq = FilterFreq(next->Value);
            } else {
                b.Paired = false;
                // A single-entry filter has a fixed type: the microphone pages' high-pass is
                // the steeper one of the short list.
                const bool micPage = view.Page == 1 || view.Page == 2;
                b.GainOrType = kind == model::kHighPass && micPage ? 1 : 0;
                b.Freq = FilterFreq(s->Value);
            }
            b.EQdisabled = false;
            b.QType = 0;
            b.Locked = ws.ParamLocked(k) != 0;
            if (!add(b)) break;
            if (b.Paired) ++k;
        }
    }

    if (!sliders) return list;
    for (int i = 0; i < list.CurveCount; ++i) {
        CurveBand& b = list.Bands[static_cast<size_t>(i)];
        b.SliderIndex = FindSlider(*sliders, b.FreqEntry());
        if (b.SliderIndex == 0) continue;
        sliders->SetSliderEqIndex(b.SliderIndex, i);
        if (b.IsEq())
            sliders->SetSliderBand(b.SliderIndex, {b.Freq, b.Q, b.ShelfQ, b.QType, b.EQdisabled,
                                                   b.GainOrType});
        else
            sliders->SetSliderValue(b.SliderIndex, b.Freq);
    }
    return list;
}

}  // namespace vellora::graph
