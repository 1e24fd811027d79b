#include "drawing/rasteriser.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace kestavian {

namespace {

// Device pixel coordinates are kept within this range so that no user coordinate, however far off
// the surface, reaches the rasteriser as an unrepresentable number.
constexpr double PixelLimit = 1.0e6;

double clampPixel(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -PixelLimit, PixelLimit);
}

// Where a pixel lies against a circle, by the sign of (distance - radius). Squared distances
// settle every pixel but those within rounding of the circle, which take the root; so the
// pixels are those of comparing distances, at a fraction of the cost.
class Edge {
public:
    explicit Edge(double radius)
        : radius_(radius), surelyInside_(radius * radius * (1 - 1e-9)),
          surelyOutside_(radius * radius * (1 + 1e-9)) {}
    int side(double squaredDistance) const {
        if (radius_ < 0 || squaredDistance > surelyOutside_)
            return 1;
        if (squaredDistance < surelyInside_)
            return -1;
        const double distance = std::sqrt(squaredDistance);
        return (distance > radius_) - (distance < radius_);
    }

private:
    double radius_, surelyInside_, surelyOutside_;
};

} // namespace

Rasteriser::Rasteriser(QImage& target, double ratio)
    : target_(target), ratio_(ratio), bits_(target.bits()), stride_(target.bytesPerLine()),
      painter_(&target) {} // aliased, QPainter's default: every pixel is all one colour

void Rasteriser::draw(const Primitive& p) {
    switch (p.kind) {
    case Primitive::Line:
        prepare(p);
        painter_.drawLine(at(p.a), at(p.b));
        return;
    case Primitive::Box:
    case Primitive::FilledBox:
        prepare(p);
        if (p.kind == Primitive::FilledBox)
            painter_.setBrush(QColor(p.pen));
        painter_.drawRect(QRectF(at(p.a), at(p.b)).normalized());
        return;
    case Primitive::Circle:
        if (p.penWidth == 1 && !p.dashed) {
            disc(p);
        } else {
            prepare(p);
            painter_.drawEllipse(at(p.a), length(p.radius), length(p.radius));
        }
        return;
    case Primitive::Text: {
        prepare(p);
        painter_.setFont(p.font);
        const QFontMetrics metrics(p.font, &target_);
        const QPointF topLeft = at(p.a);
        painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), p.text);
        return;
    }
    }
}

QPointF Rasteriser::at(QPointF surfacePixels) const {
    return {clampPixel(surfacePixels.x() * ratio_), clampPixel(surfacePixels.y() * ratio_)};
}
double Rasteriser::length(double surfacePixels) const {
    return clampPixel(surfacePixels * ratio_);
}

void Rasteriser::prepare(const Primitive& p) {
    painter_.setCompositionMode(p.invert ? QPainter::RasterOp_NotDestination
                                         : QPainter::CompositionMode_SourceOver);
    // A one-pixel line stays one device pixel wide, the finest the screen shows; wider pens
    // keep their width on the screen.
    const int width =
        p.penWidth == 1 ? 1 : std::max(1, static_cast<int>(std::lround(p.penWidth * ratio_)));
    QPen pen{QColor(p.pen)};
    pen.setWidth(width);
    pen.setCosmetic(true);
    if (p.dashed) {
        // Dashes of 4 and gaps of 2 pen widths at one-to-one, the same length at any ratio.
        const double perPenWidth = p.penWidth * ratio_ / width;
        pen.setDashPattern({4 * perPenWidth, 2 * perPenWidth});
    }
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    if (p.filled)
        painter_.setBrush(QColor(p.fill));
    else
        painter_.setBrush(Qt::NoBrush);
}

void Rasteriser::disc(const Primitive& p) {
    const QPointF centre = at(p.a);
    const double radius = length(p.radius);
    const double outer = radius + 0.5;
    const double inner = radius - 0.5;
    const int top = std::max(0, static_cast<int>(std::floor(centre.y() - outer)));
    const int bottom =
        std::min(target_.height() - 1, static_cast<int>(std::ceil(centre.y() + outer)));
    const int left = std::max(0, static_cast<int>(std::floor(centre.x() - outer)));
    const int right =
        std::min(target_.width() - 1, static_cast<int>(std::ceil(centre.x() + outer)));
    const Edge outerEdge(outer), innerEdge(inner);
    for (int py = top; py <= bottom; ++py) {
        auto* row = reinterpret_cast<QRgb*>(bits_ + py * stride_);
        const double dy = py + 0.5 - centre.y();
        for (int px = left; px <= right; ++px) {
            const double dx = px + 0.5 - centre.x();
            const double squared = dx * dx + dy * dy;
            if (outerEdge.side(squared) > 0)
                continue;
            const bool outline = innerEdge.side(squared) >= 0;
            if (!outline && !p.filled)
                continue;
            if (p.invert)
                row[px] = ~row[px] | 0xFF000000u;
            else
                row[px] = outline ? p.pen : p.fill;
        }
    }
}

} // namespace kestavian
