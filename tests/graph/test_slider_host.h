// A slider host for the tests: a row of sliders with an address each, recording what the
// graph sets on them.
#pragma once

#include <vector>

#include "graph/slider_host.h"

namespace vellora::graph::test {

struct TestSlider {
    int Addr = -1;
    int EqIndex = -1;
    SliderBandFields Band{};
    int Value = 0;
    bool ForceShowFocus = false;
    int BandWrites = 0;
    int ValueWrites = 0;
};

class TestSliderHost : public SliderHost {
public:
    std::vector<TestSlider> sliders;

    int SliderCount() const override { return static_cast<int>(sliders.size()); }
    int SliderAddr(int s) const override { return sliders.at(static_cast<size_t>(s)).Addr; }
    int SliderEqIndex(int s) const override { return sliders.at(static_cast<size_t>(s)).EqIndex; }
    void SetSliderEqIndex(int s, int position) override { sliders.at(static_cast<size_t>(s)).EqIndex = position; }
    void SetSliderBand(int s, const SliderBandFields& f) override {
        auto& slider = sliders.at(static_cast<size_t>(s));
        slider.Band = f;
        ++slider.BandWrites;
    }
    void SetSliderValue(int s, int value) override {
        auto& slider = sliders.at(static_cast<size_t>(s));
        slider.Value = value;
        ++slider.ValueWrites;
    }
    void SetSliderForceShowFocus(int s, bool on) override { sliders.at(static_cast<size_t>(s)).ForceShowFocus = on; }

    /// Adds a slider bound to `addr`; returns its index.
    int Add(int addr) {
        sliders.push_back(TestSlider{addr});
        return static_cast<int>(sliders.size()) - 1;
    }
};

}  // namespace vellora::graph::test
