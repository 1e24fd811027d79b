#include "drawing/picture_surface.h"

#include <cmath>

#include "platform/runtime_error.h"

namespace kestavian {

namespace {
void requireFinite(double value) {
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
}
} // namespace

void PictureSurface::Scale(double left, double top, double right, double bottom) {
    // An edge that is not finite makes its extent not finite too.
    const double width = right - left;
    const double height = bottom - top;
    requireFinite(width);
    requireFinite(height);
    if (width == 0.0 || height == 0.0)
        raiseError(ErrorNumber::InvalidPropertyValue, "Scale needs a non-empty coordinate system");
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width;
    scaleHeight_ = height;
}

void PictureSurface::resetScale(double widthPixels, double heightPixels) {
    scaleLeft_ = 0;
    scaleTop_ = 0;
    scaleWidth_ = widthPixels > 0 ? widthPixels : 1;
    scaleHeight_ = heightPixels > 0 ? heightPixels : 1;
}

void PictureSurface::setDrawWidth(int width) {
    if (width < 1 || width > 32767)
        raiseError(ErrorNumber::InvalidPropertyValue);
    drawWidth_ = width;
}

void PictureSurface::setDrawStyle(int style) {
    if (style != DrawStyleSolid && style != DrawStyleDash)
        raiseError(ErrorNumber::InvalidPropertyValue);
    drawStyle_ = style;
}

void PictureSurface::setDrawMode(int mode) {
    if (mode != DrawModeCopyPen && mode != DrawModeInvert)
        raiseError(ErrorNumber::InvalidPropertyValue);
    drawMode_ = mode;
}

void PictureSurface::setFillStyle(int style) {
    if (style != FillStyleSolid && style != FillStyleTransparent)
        raiseError(ErrorNumber::InvalidPropertyValue);
    fillStyle_ = style;
}

void PictureSurface::setFontSize(double points) {
    if (!std::isfinite(points) || points <= 0 || points > 2048)
        raiseError(ErrorNumber::InvalidPropertyValue);
    fontSize_ = points;
}

} // namespace kestavian
