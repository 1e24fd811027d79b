#pragma once

#include <cstdint>

#include "data/mod_udts.h"
#include "drawing/picture_surface.h"

namespace kestavian {

// Draws one truck in the scene coordinates DrawBridge set: a white body in its lane, a black
// wheel with a light hub at each axle, a line across the body at every axle after the first, and
// the gross weight printed on the body. x is the left end of the body before mirroring; travel is
// +1 for a truck heading towards -x (front at the left end) and -1 for one heading towards +x.
// Leaves FillStyle solid, FillColor black and DrawMode copy pen.
void DrawTruck(const ViewSettings& view, PictureSurface& picture, double x, std::int16_t travel,
               const TruckData& truck);

} // namespace kestavian
