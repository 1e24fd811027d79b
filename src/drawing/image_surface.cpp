#include "drawing/image_surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "drawing/rasteriser.h"

namespace kestavian {

namespace {
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

Primitive ImageSurface::primitive(Primitive::Kind kind, Colour penColour) const {
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

QImage ImageSurface::scaledImage(double ratio) const {
    ratio = std::clamp(ratio, 1.0, MaxRatio);
    if (!replayable_)
        return Image().scaled(scaledSize(width_, ratio), scaledSize(height_, ratio));
    Rendition fresh;
    fresh.ratio = ratio;
    bringUpToDate(fresh);
    fresh.image.setDevicePixelRatio(1);
    return fresh.image;
}

const QFont& ImageSurface::currentFont() {
    if (FontSize() != fontSizeOfCache_ || FontBold() != fontBoldOfCache_) {
        font_ = QGuiApplication::instance() != nullptr ? QGuiApplication::font() : QFont();
        font_.setPointSizeF(FontSize());
        font_.setBold(FontBold());
        // Aliased glyphs, so that inverting text gives clean pixels.
        font_.setStyleStrategy(QFont::NoAntialias);
        // Hinting chosen here, not by the screen: Qt drops it on a scaled screen, which would draw
        // the saved picture's text heavier there than anywhere else.
        font_.setHintingPreference(QFont::PreferVerticalHinting);
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
