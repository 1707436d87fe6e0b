// The flag buttons' numbered pictures.
#pragma once

#include "graph/picture_store.h"

namespace vellora::controls {

/// Adds the flag buttons' pictures to the store.
void RegisterButtonPictures(graph::PictureStore& store);

}  // namespace vellora::controls
