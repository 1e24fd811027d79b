#pragma once

#include <QFont>
#include <QImage>
#include <cstddef>
#include <vector>

#include "drawing/picture_surface.h"
#include "drawing/primitive.h"

namespace kestavian {

// The picture surface over a retained QImage: aliased raster drawing, the invert draw mode as
// RasterOp_NotDestination, fonts sized for 96 dots per inch. The window paints this image and the
// save command writes it.
//
// The surface keeps what was drawn since the last Cls as a list of primitives with the settings
// in force for each, and rasterises them when an image is asked for. Replaying the same list at a
// device pixel ratio gives the same picture at a screen's full resolution, so a HiDPI window shows
// lines one device pixel wide and text drawn at its resolution, while the picture that is saved
// stays the one-to-one image.
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
    // The picture at one image pixel per surface pixel.
    const QImage& Image() const;

    // The picture for a screen of the given device pixel ratio: an image of the surface's size
    // times the ratio, with that devicePixelRatio, kept until the next drawing or another ratio.
    // At a ratio of 1 or less it is Image().
    const QImage& imageAt(double devicePixelRatio) const;

    // The picture drawn afresh at `ratio` times its size each way (a sharper picture, not an
    // enlarged one), for saving; at most 8 times.
    QImage scaledImage(double ratio) const;

    // The primitives drawn since the last Cls, in order, while they are kept (replayable()).
    const std::vector<Primitive>& primitives() const { return drawn_; }
    bool replayable() const { return replayable_; }

    // The RGB colour a surface colour value stands for; system colours come from the palette.
    static QColor toQColor(Colour colour);

private:
    // The primitives rasterised at one ratio, up to `drawn`; `blank` asks for a white start.
    struct Rendition {
        QImage image;
        double ratio = 1;
        std::size_t drawn = 0;
        bool blank = true;
    };

    QPointF toPixels(double x, double y) const;
    double toPixelsX(double length) const;
    Primitive primitive(Primitive::Kind kind, Colour penColour) const;
    void recordBetween(Primitive::Kind kind, double x1, double y1, double x2, double y2,
                       std::optional<Colour> colour);
    void record(Primitive primitive);
    void bringUpToDate(Rendition& rendition) const;
    const QFont& currentFont();

    int width_, height_;
    std::vector<Primitive> drawn_;
    // False once the list overflowed and was folded into the one-to-one image; until the next Cls
    // the sharp picture is then that image.
    bool replayable_ = true;
    mutable Rendition oneToOne_;
    mutable Rendition sharp_;
    // The font for the current size and weight, kept because building one is costly.
    QFont font_;
    double fontSizeOfCache_ = -1;
    bool fontBoldOfCache_ = false;
};

} // namespace kestavian
