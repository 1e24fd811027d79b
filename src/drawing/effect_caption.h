#pragma once

#include "data/mod_udts.h"
#include "drawing/picture_surface.h"

namespace kestavian {

// Prints the effect's value, distance, time and number of trucks in one line under the road, in
// 10-point bold; the font stays so for the truck labels drawn after it.
void DrawEffectCaption(const ViewSettings& view, PictureSurface& picture, const EffectData& effect);

} // namespace kestavian
