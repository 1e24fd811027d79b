#pragma once

#include <QImage>
#include <QPainter>

#include "drawing/primitive.h"

namespace kestavian {

// Draws primitives onto an image whose pixels are `ratio` times finer than the surface's. At
// ratio 1 this is the saved picture; at other ratios the same primitives make the same picture,
// sharper: aliased lines and text, the invert draw mode as RasterOp_NotDestination.
class Rasteriser {
public:
    Rasteriser(QImage& target, double ratio);

    void draw(const Primitive& p);

private:
    QPointF at(QPointF surfacePixels) const;
    double length(double surfacePixels) const;
    void prepare(const Primitive& p);
    // A circle with a one-pixel outline, pixel by pixel: a pixel whose centre lies within half a
    // pixel of the circle is outline, one further in is fill. Every pixel is written once, so in
    // the invert mode a filled circle shows as an inverted disc. Much cheaper than the general
    // path rasteriser for the many small wheels of a scene.
    void disc(const Primitive& p);

    QImage& target_;
    double ratio_;
    // Taken before the painter starts, so that the painter and the disc share one unshared buffer.
    uchar* bits_;
    qsizetype stride_;
    QPainter painter_;
};

} // namespace kestavian
