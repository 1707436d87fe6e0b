// The list boxes' numbered pictures.
#pragma once

#include "graph/picture_store.h"

namespace vellora::controls {

/// Adds the list boxes' pictures, the item pictures of every ShowType among them.
void RegisterComboPictures(graph::PictureStore& store);

}  // namespace vellora::controls
