// What the response graph needs of whoever hosts the band sliders: find a slider by its
// parameter, tag it with its band position, load its band fields and light its focus.
#pragma once

namespace vellora::graph {

/// The fields of an equaliser band that its slider shows.
struct SliderBandFields {
    int Freq = 0;
    int Q = 0;
    int sQ = 0;       ///< ShelfQ
    int QType = 0;
    bool EQdisabled = false;
    int Value = 0;    ///< the gain step
};

/// Sliders are numbered 0 .. SliderCount() - 1; slider 0 is never a band's slider.
/// Setting a property through this interface never raises the slider's own change event.
class SliderHost {
public:
    virtual ~SliderHost() = default;
    [[nodiscard]] virtual int SliderCount() const = 0;
    /// The ParamIndex the slider is bound to; -1 when unbound.
    [[nodiscard]] virtual int SliderAddr(int slider) const = 0;
    /// The band position the slider shows, -1 when empty.
    [[nodiscard]] virtual int SliderEqIndex(int slider) const = 0;
    /// Tags the slider with a band position; -1 empties it.
    virtual void SetSliderEqIndex(int slider, int position) = 0;
    virtual void SetSliderBand(int slider, const SliderBandFields& fields) = 0;
    virtual void SetSliderValue(int slider, int value) = 0;
    virtual void SetSliderForceShowFocus(int slider, bool on) = 0;
};

}  // namespace vellora::graph
