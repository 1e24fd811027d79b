#include "drawing/image_surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
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

// Beyond this the sharp image would only cost memory: no screen has such a ratio.
constexpr double MaxRatio = 8;
// The primitives kept between two Cls. A scene draws a few hundred; a picture drawn over and
// over without clearing is folded into the one-to-one image instead of growing without end.
constexpr std::size_t MaxPrimitives = 1 << 16;

constexpr int DotsPerMetreAt96Dpi = 3780;
constexpr QRgb White = 0xFFFFFFFF;

int scaledSize(int pixels, double ratio) {
    return static_cast<int>(std::min(std::ceil(pixels * ratio), 1.0e6));
}
} // namespace

// Draws primitives onto an image whose pixels are `ratio` times finer than the surface's. At
// ratio 1 this is the saved picture; at other ratios the same primitives make the same picture,
// sharper.
class ImageSurface::Rasteriser {
public:
    Rasteriser(QImage& target, double ratio)
        : target_(target), ratio_(ratio), bits_(target.bits()), stride_(target.bytesPerLine()),
          painter_(&target) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }

    void draw(const Primitive& p) {
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

private:
    QPointF at(QPointF surfacePixels) const {
        return {clampPixel(surfacePixels.x() * ratio_), clampPixel(surfacePixels.y() * ratio_)};
    }
    double length(double surfacePixels) const { return clampPixel(surfacePixels * ratio_); }

    void prepare(const Primitive& p) {
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

    // A circle with a one-pixel outline, pixel by pixel: a pixel whose centre lies within half a
    // pixel of the circle is outline, one further in is fill. Every pixel is written once, so in
    // the invert mode a filled circle shows as an inverted disc. Much cheaper than the general
    // path rasteriser for the many small wheels of a scene.
    void disc(const Primitive& p) {
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

    QImage& target_;
    double ratio_;
    // Taken before the painter starts, so that the painter and the disc share one unshared buffer.
    uchar* bits_;
    qsizetype stride_;
    QPainter painter_;
};

ImageSurface::ImageSurface(int widthPixels, int heightPixels)
    : width_(std::max(widthPixels, 1)), height_(std::max(heightPixels, 1)) {
    oneToOne_.image = QImage(width_, height_, QImage::Format_RGB32);
    oneToOne_.image.setDotsPerMeterX(DotsPerMetreAt96Dpi);
    oneToOne_.image.setDotsPerMeterY(DotsPerMetreAt96Dpi);
    resetScale(width_, height_);
}

QColor ImageSurface::toQColor(Colour colour) {
    if (colour & 0x80000000u) {
        // System colour 15 is the face colour of buttons; the program uses no other.
        if (QGuiApplication::instance() != nullptr)
            return QGuiApplication::palette().color(QPalette::Button);
        return QColor(0xF0, 0xF0, 0xF0);
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// In surface pixels, unclamped: the rasteriser clamps after scaling to its ratio.
QPointF ImageSurface::toPixels(double x, double y) const {
    return {(x - ScaleLeft()) * width_ / ScaleWidth(), (y - ScaleTop()) * height_ / ScaleHeight()};
}

double ImageSurface::toPixelsX(double length) const {
    return std::abs(length * width_ / ScaleWidth());
}

ImageSurface::Primitive ImageSurface::primitive(Primitive::Kind kind, Colour penColour) const {
    Primitive p{};
    p.kind = kind;
    p.invert = DrawMode() == DrawModeInvert;
    p.dashed = DrawStyle() == DrawStyleDash;
    p.filled = FillStyle() == FillStyleSolid;
    p.penWidth = DrawWidth();
    p.pen = toQColor(penColour).rgb();
    p.fill = toQColor(FillColor()).rgb();
    return p;
}

void ImageSurface::record(Primitive primitive) {
    if (drawn_.size() == MaxPrimitives) {
        bringUpToDate(oneToOne_);
        drawn_.clear();
        oneToOne_.drawn = 0;
        replayable_ = false;
        sharp_ = {};
    }
    drawn_.push_back(std::move(primitive));
}

void ImageSurface::bringUpToDate(Rendition& rendition) const {
    if (!rendition.blank && rendition.drawn == drawn_.size())
        return;
    // The rasteriser works in device pixels; the ratio is the image's again once it is drawn.
    rendition.image.setDevicePixelRatio(1);
    if (rendition.blank) {
        const int width = scaledSize(width_, rendition.ratio);
        const int height = scaledSize(height_, rendition.ratio);
        if (rendition.image.width() != width || rendition.image.height() != height) {
            rendition.image = QImage(width, height, QImage::Format_RGB32);
            // Fonts are sized in points, so a finer image gets proportionally more dots per inch.
            const int dotsPerMetre =
                static_cast<int>(std::lround(DotsPerMetreAt96Dpi * rendition.ratio));
            rendition.image.setDotsPerMeterX(dotsPerMetre);
            rendition.image.setDotsPerMeterY(dotsPerMetre);
        }
        rendition.image.fill(White);
        rendition.blank = false;
        rendition.drawn = 0;
    }
    if (rendition.drawn < drawn_.size() && !rendition.image.isNull()) {
        Rasteriser rasteriser(rendition.image, rendition.ratio);
        for (std::size_t i = rendition.drawn; i < drawn_.size(); ++i)
            rasteriser.draw(drawn_[i]);
    }
    rendition.drawn = drawn_.size();
    rendition.image.setDevicePixelRatio(rendition.ratio);
}

const QImage& ImageSurface::Image() const {
    bringUpToDate(oneToOne_);
    return oneToOne_.image;
}

const QImage& ImageSurface::imageAt(double devicePixelRatio) const {
    if (!(devicePixelRatio > 1) || !replayable_)
        return Image();
    const double ratio = std::min(devicePixelRatio, MaxRatio);
    if (sharp_.ratio != ratio) {
        sharp_.ratio = ratio;
        sharp_.blank = true;
    }
    bringUpToDate(sharp_);
    return sharp_.image;
}

const QFont& ImageSurface::currentFont() {
    if (FontSize() != fontSizeOfCache_ || FontBold() != fontBoldOfCache_) {
        font_ = QGuiApplication::instance() != nullptr ? QGuiApplication::font() : QFont();
        font_.setPointSizeF(FontSize());
        font_.setBold(FontBold());
        // Aliased glyphs, so that inverting text gives clean pixels.
        font_.setStyleStrategy(QFont::NoAntialias);
        fontSizeOfCache_ = FontSize();
        fontBoldOfCache_ = FontBold();
    }
    return font_;
}

void ImageSurface::Cls() {
    drawn_.clear();
    replayable_ = true;
    oneToOne_.blank = true;
    sharp_.blank = true;
    setCurrentX(0);
    setCurrentY(0);
}

void ImageSurface::Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour) {
    recordBetween(Primitive::Line, x1, y1, x2, y2, colour);
}

void ImageSurface::Box(double x1, double y1, double x2, double y2, std::optional<Colour> colour) {
    recordBetween(Primitive::Box, x1, y1, x2, y2, colour);
}

void ImageSurface::FilledBox(double x1, double y1, double x2, double y2,
                             std::optional<Colour> colour) {
    recordBetween(Primitive::FilledBox, x1, y1, x2, y2, colour);
}

void ImageSurface::recordBetween(Primitive::Kind kind, double x1, double y1, double x2, double y2,
                                 std::optional<Colour> colour) {
    Primitive p = primitive(kind, colour.value_or(ForeColor()));
    p.a = toPixels(x1, y1);
    p.b = toPixels(x2, y2);
    record(std::move(p));
}

void ImageSurface::Circle(double x, double y, double radius, std::optional<Colour> colour) {
    Primitive p = primitive(Primitive::Circle, colour.value_or(ForeColor()));
    p.a = toPixels(x, y);
    p.radius = toPixelsX(radius);
    record(std::move(p));
}

void ImageSurface::Print(const std::string& text) {
    const QFont& font = currentFont();
    Primitive p = primitive(Primitive::Text, ForeColor());
    p.a = toPixels(CurrentX(), CurrentY());
    p.text = QString::fromStdString(text);
    p.font = font;
    record(std::move(p));
    // Like a line of printed text, the next one starts at the left edge one line further down.
    const QFontMetrics metrics(font, &oneToOne_.image);
    setCurrentX(ScaleLeft());
    setCurrentY(CurrentY() + metrics.height() * ScaleHeight() / height_);
}

} // namespace kestavian
