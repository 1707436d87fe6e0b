// The editor's slider array as the response graph sees it: slider i of the array is
// MScrollBar i (gaps allowed), its band position lives in EQindex as a number.
#pragma once

#include <vector>

#include "graph/slider_host.h"

namespace vellora::controls {

class MScrollBar;

class SliderArrayHost final : public graph::SliderHost {
public:
    /// Slider i of the array; nullptr for an index the window does not use. Not owned.
    explicit SliderArrayHost(std::vector<MScrollBar*> sliders) : sliders_(std::move(sliders)) {}

    [[nodiscard]] int SliderCount() const override { return static_cast<int>(sliders_.size()); }
    [[nodiscard]] int SliderAddr(int slider) const override;
    /// EQindex read as a whole number; -1 when empty, not a number or no such slider.
    [[nodiscard]] int SliderEqIndex(int slider) const override;
    void SetSliderEqIndex(int slider, int position) override;
    /// Sets the band fields and the gain step (no Scroll) and repaints.
    void SetSliderBand(int slider, const graph::SliderBandFields& fields) override;
    void SetSliderValue(int slider, int value) override;
    void SetSliderForceShowFocus(int slider, bool on) override;

    [[nodiscard]] MScrollBar* At(int slider) const;

private:
    std::vector<MScrollBar*> sliders_;
};

}  // namespace vellora::controls
