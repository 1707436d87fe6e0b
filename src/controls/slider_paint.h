// What a slider draws: the background pictures of its form (prepared once by BkGround_Init)
// and, at every paint, the fill, thumb, buttons and texts for its state and look.
#pragma once

#include "controls/paint_plan.h"

namespace vellora::controls {

class ControlLookSource;
class SliderMachine;

/// The value plate of a form (drawn with the background) at its top-left; number 0: none.
/// Where the control has room, a plate is drawn wider than its picture so that the widest
/// value of the form (a percentage) fits on it.
struct ValuePlate {
    int number = 0;
    double x = 0.0, y = 0.0;
    int width = 0;  ///< 0: the picture's natural width
    /// The plate's rectangle.
    [[nodiscard]] IRect Box() const;
};
[[nodiscard]] ValuePlate SliderValuePlate(const SliderMachine& m);

/// The background pictures of the slider's form in drawing order.
[[nodiscard]] PaintPlan SliderBackgroundPlan(const SliderMachine& m);
/// Everything drawn over the background for the current state; TVisible false fills red only.
[[nodiscard]] PaintPlan SliderFacePlan(const SliderMachine& m, const ControlLookSource& look);

/// The fill picture of a slider for its state, or 0 for none.
[[nodiscard]] int SliderFillPicture(const SliderMachine& m, const ControlLookSource& look);
/// The thumb picture of a slider for its state (0 on the knob).
[[nodiscard]] int SliderThumbPicture(const SliderMachine& m, const ControlLookSource& look);

}  // namespace vellora::controls
