#pragma once

#include "data/mod_udts.h"
#include "drawing/picture_surface.h"

namespace kestavian {

// Draws the road, the deck, the wing lines, the two lane arrows and the dashed centre line for the
// view's span of S metres, and sets the surface's coordinate system in metres: x from -2S to S, y
// from -2HS to 2.6HS. Leaves FillStyle transparent, FillColor black, DrawWidth 1 and DrawStyle
// solid. A span that is zero, negative or not finite is refused with an invalid-procedure-call
// error before anything is drawn.
void DrawBridge(const ViewSettings& view, PictureSurface& picture);

// An arrow from (x1, y1) to (x2, y2) with head strokes of length headLength; the head is at
// (x2, y2), or at (x1, y1) when the datum is flipped. A zero-length shaft is a division by zero.
void DrawArrow(const ViewSettings& view, float x1, float y1, float x2, float y2, float headLength,
               Colour colour, PictureSurface& picture);

} // namespace kestavian
