#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "drawing/bridge_drawing.h"
#include "drawing/effect_caption.h"
#include "drawing/headless_scene.h"
#include "drawing/image_surface.h"
#include "drawing/rasteriser.h"
#include "drawing/scene_drawing.h"
#include "drawing/svg_picture.h"
#include "drawing/truck_drawing.h"
#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

ViewSettings view(float span, bool driveRight = false, bool flip = false) {
    return {.Span = span, .DriveRight = driveRight, .FlipDatum = flip};
}

// The scene for each drive side and flip is held by the golden drawings; what cannot be drawn is
// refused before anything is drawn.
TEST(DrawBridge, RefusesWhatCannotBeDrawnBeforeDrawing) {
    for (const float span : {0.0f, -20.0f, std::numeric_limits<float>::quiet_NaN(), 3.0e38f}) {
        RecordingSurface surface;
        EXPECT_NE(ErrorOf([&] { DrawBridge(view(span), surface); }), std::nullopt) << span;
        EXPECT_TRUE(surface.ops.empty());
    }
    ViewSettings flat = view(20);
    flat.HeightRatio = 0;
    RecordingSurface surface;
    EXPECT_EQ(ErrorOf([&] { DrawBridge(flat, surface); }), ErrorNumber::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { DrawArrow(view(20), 1, 1, 1, 1, 0.5f, ColourRed, surface); }),
              ErrorNumber::DivisionByZero);
    EXPECT_TRUE(surface.ops.empty());
    // The picture's properties take only what a picture box takes.
    const std::function<void()> refused[] = {
        [&] { surface.setDrawWidth(0); },   [&] { surface.setDrawWidth(32768); },
        [&] { surface.setDrawStyle(2); },   [&] { surface.setDrawMode(7); },
        [&] { surface.setFillStyle(2); },   [&] { surface.setFontSize(0); },
        [&] { surface.setFontSize(2049); }, [&] { surface.Scale(0, 1, 0, 2); }};
    for (const auto& set : refused)
        EXPECT_EQ(ErrorOf(set), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(ErrorOf([&] { surface.Scale(0, 0, HUGE_VAL, 1); }), ErrorNumber::Overflow);
    surface.setDrawWidth(32767); // the largest are taken, and any size above 0
    surface.setFontSize(2048);
    surface.setFontSize(0.5);
}

// Printed under the road in 10-point bold, which stays for the truck labels printed after it;
// its place scales with the span and the road's width.
TEST(DrawEffectCaption, TextAndPosition) {
    EffectData negative = MakeEffect({.Value = -3.25, .Time = -1, .Distance = -0.5});
    negative.NoTrucks = -1;
    RecordingSurface picture;
    DrawEffectCaption(view(20), picture, MakeEffect({812.5, 456.78, 12.3, {TruckA(), TruckB()}}));
    ViewSettings wide = view(40);
    wide.HeightRatio = 0.3f;
    DrawEffectCaption(wide, picture, negative);
    EXPECT_EQ(picture.trace(RecordedOp::Print),
              "(-29 4.5 'Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2') "
              "(-58 18 'Value: -3.25   Distance: -0.5  Time: -1  No Trucks: -1')");
    EXPECT_TRUE(picture.FontSize() == 10 && picture.FontBold() && picture.ops.at(0).fontBold);
    picture.ops.clear();
    EXPECT_EQ(ErrorOf([&] { DrawEffectCaption(view(3e38f), picture, EffectData{}); }),
              ErrorNumber::Overflow);
    EXPECT_TRUE(picture.ops.empty());
}

// A truck with no axle: the body, a wheel at the front end and the label; past the axle fields,
// what was drawn stays (every other truck is held by the golden drawings).
TEST(DrawTruck, NoAxleAndTooManyAxles) {
    const TruckData truck =
        MakeTruck({.Length = 120, .NoAxles = 3, .GrossWeight = 400, .AxleSpacings = {40, 13}});
    RecordingSurface picture;
    DrawTruck(view(20), picture, -10.0, -1, With(With(truck, NoAxles, 0), GrossWeight, -5));
    EXPECT_EQ(picture.trace(RecordedOp::Circle), "(2 -0.6 0.5) (2 -0.6 0.1667)~");
    EXPECT_EQ(picture.trace(RecordedOp::Print), "(-5.5 -2.1 '-5')~");
    EXPECT_EQ(ErrorOf([&] { DrawTruck(view(20), picture, -10, 1, With(truck, NoAxles, 10)); }),
              ErrorNumber::SubscriptOutOfRange);
}

struct RecordingLabels : SceneLabels {
    std::vector<std::string> times, distances;
    void setTimeCaption(const std::string& caption) override { times.push_back(caption); }
    void setDistanceCaption(const std::string& caption) override { distances.push_back(caption); }
};

// A fresh picture: cleared, the road, the caption, then the trucks at the moment with their
// labels; the caption's numbers with the system's decimal separator.
TEST(DrawSceneAtTime, TrucksAndLabelsAtOneMoment) {
    const TruckData twinOfA = With(TruckA(), Speed, 100); // stamped with A, half as fast
    const std::string t = "Cur time:  100.5";
    const struct {
        bool datumRHS;
        std::vector<TruckData> trucks;
        bool critPos;
        std::vector<std::string> times, distances;
        const char* bodies;
    } cases[] = {
        {true, {TruckA(), TruckB()}, false, {t, t}, {"Position:  10"}, "-10v -22.5^"},
        {false, {TruckA(), TruckB()}, false, {t, t}, {"Position:  10"}, "-10v -42.5^"},
        {true, {TruckA()}, true, {"Cur time:  100.8"}, {"Position:  16"}, "-16v"},
        {true, {TruckA(), twinOfA}, false, {t, t}, {"Position:  10", "Position:  5"}, "-10v -5v"},
        // Timed as direction 1 (no span added under Mixed), placed as direction 2.
        {false, {With(TruckB(), Direction, 3)}, false, {t}, {"Position:  12.5"}, "-22.5^"},
        // No truck sets the labels: they are emptied, so as not to describe another effect.
        {true, {}, false, {""}, {""}, ""},
    };
    const LocaleForTest comma(QLocale::German);
    for (const auto& c : cases) {
        RecordingSurface picture;
        RecordingLabels labels;
        TruckData firstOn = TruckB();
        ViewSettings settings = view(20);
        settings.DatumRHS = c.datumRHS;
        const EffectData effect = MakeEffect({.Value = 2.5, .Time = 100.8, .Trucks = c.trucks});
        DrawSceneAtTime(settings, Scene{picture, labels, firstOn}, effect, c.critPos, 50);
        EXPECT_EQ(firstOn, c.trucks.empty() ? TruckB() : c.trucks.front());
        EXPECT_EQ(labels.times, c.times);
        EXPECT_EQ(labels.distances, c.distances);
        // Each body's left end, and v for the lower lane (direction 1 when driving on the left).
        std::string bodies;
        for (const RecordedOp& op : picture.only(RecordedOp::Box))
            bodies += (bodies.empty() ? "" : " ") +
                      testing::PrintToString(std::round(op.x1 * 1e6) / 1e6) +
                      (op.y1 > 0 ? "v" : "^");
        EXPECT_EQ(bodies, c.bodies);
        EXPECT_EQ(picture.ops.front().kind, RecordedOp::Cls);
        const auto prints = picture.only(RecordedOp::Print);
        ASSERT_EQ(prints.size(), 1 + c.trucks.size());
        EXPECT_TRUE(prints[0].text.starts_with("Value: 2,5 "));
    }
}

// The picture in pixels, 10 a metre: x from -40 to 20, y from -6 to 7.8; driving on the left.
// On a screen of ratio 2 the same drawing is replayed at that resolution, lines one device pixel
// wide, while the picture that is saved stays as it was.
TEST(ImageSurface, ScenePixelsAtEachRatio) {
    ImageSurface picture(600, 138);
    RecordingLabels labels;
    TruckData firstOn;
    drawEffectBackground(view(20), Scene{picture, labels, firstOn}, MakeEffect({.Value = 812.5}));
    DrawTruck(view(20), picture, -10.0, 1, MakeTruck({.Length = 120, .NoAxles = 1}));
    const ImageSurface copy = picture; // before anything was rendered
    const QImage image = picture.Image().copy();
    // At ratio 1 the picture is held by the golden pictures; here, how it is replayed.
    const QImage sharp = picture.imageAt(2);
    ASSERT_EQ(sharp.size(), QSize(1200, 276));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(darkRuns(sharp, 40), (std::vector<int>{4, 1, 4}));
    int dash = 0, longest = 0; // the dashes twice as many pixels long
    for (int x = 0; x < 380; ++x) {
        dash = darkRuns(sharp, x).size() == 3 ? dash + 1 : 0;
        longest = std::max(longest, dash);
    }
    EXPECT_GE(longest, 8);
    EXPECT_LT(qGray(sharp.pixel(593, 172)), 96); // the wheel's rim, twice as far out
    for (const double ratio : {1.0, 0.5, std::nan("")})
        EXPECT_EQ(picture.imageAt(ratio), image);
    EXPECT_EQ(copy.imageAt(2), sharp); // a copy renders the same picture by itself
    EXPECT_EQ(copy.imageAt(9).size(), QSize(4800, 1104)); // at most 8 device pixels a pixel
    picture.setCurrentX(3);
    picture.setCurrentY(4);
    picture.Cls(); // clears the drawing and the print position
    EXPECT_TRUE(darkRuns(picture.imageAt(2), 40).empty());
    EXPECT_EQ(picture.CurrentX() + picture.CurrentY(), 0);
    // A picture of more primitives than are kept is scaled, not replayed; the next one is sharp.
    PictureSurface& surface = picture;
    for (int i = 0; i <= 1 << 16; ++i)
        surface.Line(-40, 0, 20, 0);
    EXPECT_FALSE(picture.replayable());
    const QImage full = picture.imageAt(1);
    surface.Line(-40, -5, 20, -5); // drawn after the ones kept were put on the image
    EXPECT_NE(picture.imageAt(1), full);
    // Its SVG carries the picture as an image.
    const QByteArray svg = svgPicture(picture);
    const qsizetype from = svg.indexOf("base64,") + 7;
    const QImage embedded = QImage::fromData(
        QByteArray::fromBase64(svg.mid(from, svg.indexOf('"', from) - from)), "PNG");
    EXPECT_EQ(embedded.convertToFormat(image.format()), picture.imageAt(1));
    picture.Cls();
    EXPECT_TRUE(picture.replayable());
}

// A pixel whose centre lies within rounding of a circle's edge falls on the side its exact
// distance puts it: here the centres 2 and 3 pixels out lie just inside the fill's edge (2 + e) and
// the outline's (3 + e).
TEST(ImageSurface, DiscPixelsWithinRoundingOfTheEdges) {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        Rasteriser rasteriser(image, 1);
        const auto disc = [&](QPointF centre, double radius) {
            rasteriser.draw({Primitive::Circle,
                             false,
                             false,
                             true,
                             1,
                             qRgb(0, 0, 0),
                             qRgb(255, 0, 0),
                             centre,
                             {},
                             radius,
                             {},
                             {}});
        };
        disc({10.5, 10.5}, 2.5 + 1e-12);
        disc({23.5, 10.5}, 2.5); // at the right edge: nothing past it, in the next row's start
        disc({10.5, 23.5}, 2.5); // and at the bottom, and in the top left corner
        disc({0.5, 0.5}, 2.5);
    }
    EXPECT_EQ(image.pixel(12, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(13, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(14, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(23, 10), qRgb(255, 0, 0)); // the first and last column and row are drawn
    EXPECT_EQ(image.pixel(10, 23), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 10), qRgb(0, 0, 0)); // exactly on the outer edge: outline
    for (int y = 6; y < 16; ++y)
        EXPECT_EQ(image.pixel(0, y), qRgb(255, 255, 255)) << y;
}

} // namespace
} // namespace kestavian::test
