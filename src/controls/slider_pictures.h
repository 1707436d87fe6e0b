// The sliders' numbered pictures (beds, fills, caps, plates, band strip parts, knob, flag).
#pragma once

#include "graph/picture_store.h"

namespace vellora::controls {

/// Adds the sliders' pictures to the store.
void RegisterSliderPictures(graph::PictureStore& store);

}  // namespace vellora::controls
