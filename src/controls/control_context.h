// What every control is created with: the clock its timers run on, the picture store it
// draws from and the read-only look source. All three outlive the controls.
#pragma once

namespace vellora::model {
class Clock;
}
namespace vellora::graph {
class PictureStore;
}

namespace vellora::controls {

class ControlLookSource;

struct ControlContext {
    model::Clock& clock;
    graph::PictureStore& pictures;
    const ControlLookSource& look;
};

}  // namespace vellora::controls
