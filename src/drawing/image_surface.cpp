#include "drawing/image_surface.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace kestavian {

namespace {
// Pixel coordinates are kept within this range so that no user coordinate, however far off the
// surface, reaches the rasteriser as an unrepresentable number.
constexpr double PixelLimit = 1.0e6;

double clampPixel(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -PixelLimit, PixelLimit);
}

constexpr int DotsPerMetreAt96Dpi = 3780;
constexpr QRgb White = 0xFFFFFFFF;
} // namespace

ImageSurface::ImageSurface(int widthPixels, int heightPixels)
    : image_(std::max(widthPixels, 1), std::max(heightPixels, 1), QImage::Format_RGB32) {
    image_.setDotsPerMeterX(DotsPerMetreAt96Dpi);
    image_.setDotsPerMeterY(DotsPerMetreAt96Dpi);
    image_.fill(White);
    resetScale(image_.width(), image_.height());
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

QPointF ImageSurface::toPixels(double x, double y) const {
    const double px = (x - ScaleLeft()) * image_.width() / ScaleWidth();
    const double py = (y - ScaleTop()) * image_.height() / ScaleHeight();
    return {clampPixel(px), clampPixel(py)};
}

double ImageSurface::toPixelsX(double length) const {
    return clampPixel(std::abs(length * image_.width() / ScaleWidth()));
}

void ImageSurface::preparePainter(QPainter& painter, Colour penColour) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(DrawMode() == DrawModeInvert ? QPainter::RasterOp_NotDestination
                                                            : QPainter::CompositionMode_SourceOver);
    QPen pen(toQColor(penColour));
    pen.setWidth(DrawWidth());
    pen.setCosmetic(true);
    pen.setStyle(DrawStyle() == DrawStyleDash ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    if (FillStyle() == FillStyleSolid)
        painter.setBrush(toQColor(FillColor()));
    else
        painter.setBrush(Qt::NoBrush);
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
    image_.fill(White);
    setCurrentX(0);
    setCurrentY(0);
}

void ImageSurface::Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour) {
    QPainter painter(&image_);
    preparePainter(painter, colour.value_or(ForeColor()));
    painter.drawLine(toPixels(x1, y1), toPixels(x2, y2));
}

void ImageSurface::Box(double x1, double y1, double x2, double y2, std::optional<Colour> colour) {
    QPainter painter(&image_);
    preparePainter(painter, colour.value_or(ForeColor()));
    painter.drawRect(QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized());
}

void ImageSurface::FilledBox(double x1, double y1, double x2, double y2,
                             std::optional<Colour> colour) {
    QPainter painter(&image_);
    const Colour c = colour.value_or(ForeColor());
    preparePainter(painter, c);
    painter.setBrush(toQColor(c));
    painter.drawRect(QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized());
}

void ImageSurface::Circle(double x, double y, double radius, std::optional<Colour> colour) {
    const double r = toPixelsX(radius);
    if (DrawWidth() == 1 && DrawStyle() == DrawStyleSolid) {
        rasteriseDisc(toPixels(x, y), r, colour.value_or(ForeColor()));
        return;
    }
    QPainter painter(&image_);
    preparePainter(painter, colour.value_or(ForeColor()));
    painter.drawEllipse(toPixels(x, y), r, r);
}

// A circle with a one-pixel outline, pixel by pixel: a pixel whose centre lies within half a
// pixel of the circle is outline, one further in is fill. Every pixel is written once, so in the
// invert mode a filled circle shows as an inverted disc. Much cheaper than the general path
// rasteriser for the many small wheels of a scene.
void ImageSurface::rasteriseDisc(QPointF centre, double radius, Colour penColour) {
    const bool invert = DrawMode() == DrawModeInvert;
    const bool filled = FillStyle() == FillStyleSolid;
    const QRgb pen = toQColor(penColour).rgb();
    const QRgb fill = toQColor(FillColor()).rgb();
    const double outer = radius + 0.5;
    const double inner = radius - 0.5;
    const int top = std::max(0, static_cast<int>(std::floor(centre.y() - outer)));
    const int bottom =
        std::min(image_.height() - 1, static_cast<int>(std::ceil(centre.y() + outer)));
    const int left = std::max(0, static_cast<int>(std::floor(centre.x() - outer)));
    const int right = std::min(image_.width() - 1, static_cast<int>(std::ceil(centre.x() + outer)));
    for (int py = top; py <= bottom; ++py) {
        auto* row = reinterpret_cast<QRgb*>(image_.scanLine(py));
        const double dy = py + 0.5 - centre.y();
        for (int px = left; px <= right; ++px) {
            const double dx = px + 0.5 - centre.x();
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > outer)
                continue;
            const bool outline = distance >= inner;
            if (!outline && !filled)
                continue;
            if (invert)
                row[px] = ~row[px] | 0xFF000000u;
            else
                row[px] = outline ? pen : fill;
        }
    }
}

void ImageSurface::Print(const std::string& text) {
    const QFont& font = currentFont();
    const QFontMetrics metrics(font, &image_);
    {
        QPainter painter(&image_);
        preparePainter(painter, ForeColor());
        painter.setFont(font);
        const QPointF topLeft = toPixels(CurrentX(), CurrentY());
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()),
                         QString::fromStdString(text));
    }
    // Like a line of printed text, the next one starts at the left edge one line further down.
    setCurrentX(ScaleLeft());
    setCurrentY(CurrentY() + metrics.height() * ScaleHeight() / image_.height());
}

} // namespace kestavian
