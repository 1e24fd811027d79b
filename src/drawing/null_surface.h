#pragma once

#include <optional>
#include <string>

#include "drawing/picture_size.h"
#include "drawing/picture_surface.h"

namespace kestavian {

// A picture surface that keeps its settings and draws nothing, for running the drawing steps
// where only their lines and their errors matter. Every error of a drawing comes from the
// settings and the coordinates, which are all kept; the text position after a Print moves to
// the left edge and stays on its line, since nothing reads it before setting it again.
class NullSurface : public PictureSurface {
public:
    NullSurface() { resetScale(PictureWidthPixels, PictureHeightPixels); }

    void Cls() override {
        setCurrentX(0);
        setCurrentY(0);
    }
    void Line(double, double, double, double, std::optional<Colour>) override {}
    void Box(double, double, double, double, std::optional<Colour>) override {}
    void FilledBox(double, double, double, double, std::optional<Colour>) override {}
    void Circle(double, double, double, std::optional<Colour>) override {}
    void Print(const std::string&) override { setCurrentX(ScaleLeft()); }
};

} // namespace kestavian
