#pragma once

#include <QByteArray>

namespace kestavian {

class ImageSurface;

// The surface's picture as an SVG drawing of the same size, one element for each line, box,
// circle and text drawn since the last Cls, so that a report gets lines that stay sharp at any
// size. What was drawn in the invert mode takes the colour the inversion gives on the picture
// beneath it (a light hub on a black wheel, a dark label on a white body), which every SVG viewer
// shows alike. A picture drawn over too often to be kept as primitives is embedded as a PNG.
QByteArray svgPicture(const ImageSurface& surface);

} // namespace kestavian
