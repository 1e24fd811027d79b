#include "drawing/truck_drawing.h"

#include <string>

#include "platform/checked_arithmetic.h"

namespace kestavian {

namespace {
// The flip mirrors trucks about the middle of the deck, x = -span / 2.
class Mirror {
public:
    Mirror(float span, bool flip) : span_(span), flip_(flip) {}
    double operator()(double u) const { return flip_ ? checkedFinite(-span_ - u) : u; }

private:
    double span_;
    bool flip_;
};

void drawWheel(PictureSurface& picture, double centreX, double centreY, double radius) {
    picture.Circle(centreX, centreY, radius);
    // The hub is the wheel inverted, so it shows light on the black tyre.
    picture.setDrawMode(DrawModeInvert);
    picture.Circle(centreX, centreY, radius / 3);
    picture.setDrawMode(DrawModeCopyPen);
}
} // namespace

void DrawTruck(const ViewSettings& view, PictureSurface& picture, double x, std::int16_t travel,
               const TruckData& truck) {
    const double len = truck.Data(Length) / 10.0;
    const std::int16_t axles = truck.Data(NoAxles);
    const double h = view.HeightRatio;
    const double s = view.Span;
    const Mirror m(view.Span, view.FlipDatum);

    // d = 1 is the lower lane (y > 0), d = -1 the upper one.
    const std::int16_t d = view.DriveRight ? sub16(0, travel) : travel;

    const double ya = checkedFinite((h - 0.02) * d * s);
    const double yb = checkedFinite(ya - 0.1 * d * s);
    const double left = m(x);
    const double right = m(checkedFinite(x + len));

    picture.setFillStyle(FillStyleTransparent);
    picture.FilledBox(left, ya, right, yb, ColourWhite);
    picture.Box(left, ya, right, yb, ColourBlack);

    picture.setFillStyle(FillStyleSolid);
    picture.setFillColor(ColourBlack);
    const double radius = s / 40;
    // The wheels sit on the body edge lower on the screen, in either lane.
    const double wy = d == 1 ? checkedFinite((h - 0.02) * s)
                             : checkedFinite(checkedFinite((0.02 - h) * s) + 0.1 * s);

    double axle = travel == 1 ? x : checkedFinite(x + len);
    drawWheel(picture, m(axle), wy, radius);
    const std::int16_t spacings = sub16(axles, 1);
    for (int k = 1; k <= spacings; ++k) {
        // Axles follow the front one towards the rear, whichever way the truck travels.
        axle = checkedFinite(axle + mul16(travel, truck.Data(AxleSpacing(k))) / 10.0);
        const double ax = m(axle);
        picture.Line(ax, ya, ax, yb);
        drawWheel(picture, ax, wy, radius);
    }

    // Printed inverted: dark on the white body whatever the surface's text rule.
    const std::string label = std::to_string(truck.Data(GrossWeight));
    picture.setCurrentX(checkedFinite(m(checkedFinite(x + len / 2)) - 10 * h));
    double labelY = checkedFinite(d * 0.7 * h * s / 2);
    if (d == -1)
        labelY = checkedFinite(labelY - 14 * h * s / 40);
    picture.setCurrentY(labelY);
    picture.setDrawMode(DrawModeInvert);
    picture.Print(label);
    picture.setDrawMode(DrawModeCopyPen);
}

} // namespace kestavian
