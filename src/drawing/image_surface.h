#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>

#include "platform/picture_surface.h"

class QPainter;

namespace kestavian {

// The picture surface over a retained QImage: aliased raster drawing, the invert draw mode as
// RasterOp_NotDestination, fonts sized for 96 dots per inch. The window paints this image and the
// save command writes it.
class ImageSurface : public PictureSurface {
public:
    ImageSurface(int widthPixels, int heightPixels);

    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour) override;
    void Box(double x1, double y1, double x2, double y2, std::optional<Colour> colour) override;
    void FilledBox(double x1, double y1, double x2, double y2,
                   std::optional<Colour> colour) override;
    void Circle(double x, double y, double radius, std::optional<Colour> colour) override;
    void Print(const std::string& text) override;
    const QImage& Image() const override { return image_; }

    // The RGB colour a surface colour value stands for; system colours come from the palette.
    static QColor toQColor(Colour colour);

private:
    QPointF toPixels(double x, double y) const;
    double toPixelsX(double length) const;
    void preparePainter(QPainter& painter, Colour penColour) const;
    void rasteriseDisc(QPointF centre, double radius, Colour penColour);
    const QFont& currentFont();

    QImage image_;
    // The font for the current size and weight, kept because building one is costly.
    QFont font_;
    double fontSizeOfCache_ = -1;
    bool fontBoldOfCache_ = false;
};

} // namespace kestavian
