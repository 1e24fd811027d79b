#include "drawing/bridge_drawing.h"

#include <cmath>

#include "platform/checked_arithmetic.h"
#include "platform/runtime_error.h"

namespace kestavian {

namespace {

struct ArrowHead {
    float tipX, tipY;
    float end1X, end1Y, end2X, end2Y;
};

// The two head strokes of an arrow, computed in single precision before anything is drawn, so
// that an arrow that cannot be normalised fails without leaving a shaft behind.
ArrowHead arrowHead(float x1, float y1, float x2, float y2, float h, bool flipped) {
    const float dx = checkedFinite(x2 - x1);
    const float dy = checkedFinite(y2 - y1);
    const float length = checkedFinite(std::sqrt(checkedFinite(dy * dy + dx * dx)));
    if (length == 0.0f)
        raiseError(ErrorNumber::DivisionByZero);
    const float ux = checkedFinite(dx / length * h);
    const float uy = checkedFinite(dy / length * h);
    if (!flipped)
        return {x2, y2, x2 - ux - uy, y2 + ux - uy, x2 + uy - ux, y2 - ux - uy};
    return {x1, y1, x1 + ux - uy, y1 - ux - uy, x1 + ux + uy, y1 + ux - uy};
}

} // namespace

void DrawArrow(const ViewSettings& view, float x1, float y1, float x2, float y2, float headLength,
               Colour colour, PictureSurface& picture) {
    const ArrowHead head = arrowHead(x1, y1, x2, y2, headLength, view.FlipDatum);
    picture.Line(x1, y1, x2, y2, colour);
    picture.Line(head.tipX, head.tipY, head.end1X, head.end1Y, colour);
    picture.Line(head.tipX, head.tipY, head.end2X, head.end2Y, colour);
}

void DrawBridge(const ViewSettings& view, PictureSurface& picture) {
    const float S = view.Span;
    const float H = view.HeightRatio;
    if (!std::isfinite(S) || S <= 0.0f)
        raiseError(ErrorNumber::InvalidProcedureCall,
                   "The span must be a positive number of metres, not " + std::to_string(S));
    if (!std::isfinite(H) || H <= 0.0f)
        raiseError(ErrorNumber::InvalidProcedureCall, "The road width ratio must be positive");
    const float g = view.DriveRight ? -1.0f : 1.0f;

    // Every coordinate is formed first, so that a span too large for single precision is
    // refused before the surface is touched.
    const float left = checkedFinite(-2 * S);
    const float top = checkedFinite(-2 * H * S);
    const double bottom = checkedFinite(2.6 * H * S);
    const float HS = checkedFinite(H * S);
    const float wing = checkedFinite((H + 0.05f) * S);
    const float farWingX = checkedFinite(-1.05f * S);
    const float nearWingX = checkedFinite(0.05f * S);
    const float laneMiddle = checkedFinite(g * H * S / 2);
    const float headLength = checkedFinite(0.2f * H * S);
    const float leftArrowFrom = checkedFinite(-1.5f * S), leftArrowTo = checkedFinite(-1.25f * S);
    const float rightArrowFrom = checkedFinite(0.5f * S), rightArrowTo = checkedFinite(0.25f * S);
    arrowHead(leftArrowFrom, -laneMiddle, leftArrowTo, -laneMiddle, headLength, false);

    picture.Scale(left, top, S, bottom);
    picture.setFillStyle(FillStyleTransparent);
    picture.FilledBox(-S, -HS, 0, HS, SystemButtonFace);

    picture.setDrawWidth(2);
    picture.setFillColor(ColourBlack);
    picture.Line(left, -HS, S, -HS);
    picture.Line(left, HS, S, HS);

    picture.Line(-S, HS, farWingX, wing);
    picture.Line(0, HS, nearWingX, wing);
    picture.Line(-S, -HS, farWingX, -wing);
    picture.Line(0, -HS, nearWingX, -wing);

    DrawArrow(view, leftArrowFrom, -laneMiddle, leftArrowTo, -laneMiddle, headLength, ColourRed,
              picture);
    DrawArrow(view, rightArrowFrom, laneMiddle, rightArrowTo, laneMiddle, headLength, ColourRed,
              picture);

    picture.setDrawStyle(DrawStyleDash);
    picture.setDrawWidth(1);
    picture.Line(left, 0, S, 0);
    picture.setDrawStyle(DrawStyleSolid);
}

} // namespace kestavian
