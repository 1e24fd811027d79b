#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "drawing/bridge_drawing.h"
#include "drawing/effect_caption.h"
#include "drawing/headless_scene.h"
#include "drawing/image_surface.h"
#include "drawing/scene_drawing.h"
#include "drawing/truck_drawing.h"
#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

ViewSettings view(float span, bool driveRight = false, bool flip = false) {
    ViewSettings settings;
    settings.Span = span;
    settings.DriveRight = driveRight;
    settings.FlipDatum = flip;
    return settings;
}

// The 20 m scene in drawing order: the deck, two road edges, four wing lines, two arrows of
// three strokes each (head strokes go back from the tip by h), the centre line.
std::vector<std::array<float, 4>> bridgeLines(bool driveRight, bool flip) {
    const float u = driveRight ? 1.5f : -1.5f; // the lane of the left arrow
    const float h = flip ? 0.6f : -0.6f, tipL = flip ? -30 : -25, tipR = flip ? 10 : 5;
    return {{-20, -3, 0, 3},
            {-40, -3, 20, -3},
            {-40, 3, 20, 3},
            {-20, 3, -21, 4},
            {0, 3, 1, 4},
            {-20, -3, -21, -4},
            {0, -3, 1, -4},
            {-30, u, -25, u},
            {tipL, u, tipL + h, u - h},
            {tipL, u, tipL + h, u + h},
            {10, -u, 5, -u},
            {tipR, -u, tipR - h, -u + h},
            {tipR, -u, tipR - h, -u - h},
            {-40, 0, 20, 0}};
}

TEST(DrawBridge, DrawsTheSceneInOrderWithItsPenSettings) {
    for (int variant = 0; variant < 8; ++variant) {
        const float span = variant & 4 ? 40.0f : 20.0f;
        const bool driveRight = variant & 2, flip = variant & 1;
        SCOPED_TRACE(testing::Message() << span << " " << driveRight << " " << flip);
        const float k = span / 20; // everything scales with the span but pen widths
        RecordingSurface surface;
        DrawBridge(view(span, driveRight, flip), surface);
        EXPECT_DOUBLE_EQ(surface.ScaleLeft(), -40 * k);
        EXPECT_FLOAT_EQ(static_cast<float>(surface.ScaleTop()), -6 * k);
        EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 60 * k);
        EXPECT_NEAR(surface.ScaleTop() + surface.ScaleHeight(), 7.8 * k, 1e-5);

        const std::vector<std::array<float, 4>> lines = bridgeLines(driveRight, flip);
        ASSERT_EQ(surface.ops.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const RecordedOp& op = surface.ops[i];
            EXPECT_EQ(op.kind, i == 0 ? RecordedOp::FilledBox : RecordedOp::Line) << i;
            const double ends[] = {op.x1, op.y1, op.x2, op.y2};
            for (int j = 0; j < 4; ++j)
                EXPECT_FLOAT_EQ(static_cast<float>(ends[j]), lines[i][j] * k) << i;
            const bool arrow = i >= 7 && i < 13, centre = i == 13;
            const std::optional<Colour> colour = arrow ? ColourRed : std::optional<Colour>();
            EXPECT_EQ(op.colour, i == 0 ? SystemButtonFace : colour) << i;
            EXPECT_EQ(op.drawWidth, i == 0 || centre ? 1 : 2) << i;
            EXPECT_EQ(op.drawStyle, centre ? DrawStyleDash : DrawStyleSolid) << i;
            EXPECT_EQ(op.fillStyle, FillStyleTransparent) << i;
        }
        EXPECT_EQ(surface.FillColor(), ColourBlack);
        EXPECT_EQ(surface.DrawWidth(), 1);
        EXPECT_EQ(surface.DrawStyle(), DrawStyleSolid);
    }
    // What cannot be drawn is refused before anything is drawn.
    for (const float span : {0.0f, -20.0f, std::numeric_limits<float>::quiet_NaN(), 3.0e38f}) {
        RecordingSurface surface;
        EXPECT_NE(ErrorOf([&] { DrawBridge(view(span), surface); }), std::nullopt) << span;
        EXPECT_TRUE(surface.ops.empty());
    }
    RecordingSurface surface;
    EXPECT_EQ(ErrorOf([&] { DrawArrow(view(20), 1, 1, 1, 1, 0.5f, ColourRed, surface); }),
              ErrorNumber::DivisionByZero);
    EXPECT_TRUE(surface.ops.empty());
}

// Printed under the road in 10-point bold, which stays for the truck labels printed after it;
// its place scales with the span and the road's width.
TEST(DrawEffectCaption, TextAndPosition) {
    EffectData negative = MakeEffect({.Value = -3.25, .Time = -1, .Distance = -0.5});
    negative.NoTrucks = -1;
    const struct {
        float span, heightRatio;
        EffectData effect;
        const char* print;
    } cases[] = {
        {20, 0.15f, MakeEffect({812.5, 456.78, 12.3, {MakeTruck({}), MakeTruck({})}}),
         "(-29 4.5 'Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2')"},
        {40, 0.3f, negative, "(-58 18 'Value: -3.25   Distance: -0.5  Time: -1  No Trucks: -1')"},
    };
    for (const auto& c : cases) {
        RecordingSurface picture;
        ViewSettings settings = view(c.span);
        settings.HeightRatio = c.heightRatio;
        DrawEffectCaption(settings, picture, c.effect);
        EXPECT_EQ(picture.trace(RecordedOp::Print), c.print);
        EXPECT_TRUE(picture.FontSize() == 10 && picture.FontBold() && picture.ops.at(0).fontBold);
    }
    RecordingSurface picture;
    EXPECT_EQ(ErrorOf([&] { DrawEffectCaption(view(3e38f), picture, EffectData{}); }),
              ErrorNumber::Overflow);
    EXPECT_TRUE(picture.ops.empty());
}

// The truck of the worked example: 12 m long, three axles 4 m and 1.3 m apart, body from -10:
// a white body and its black outline; a wheel (a disc and its inverted hub) at the front axle,
// then an axle line and a wheel for each axle behind it; the gross weight printed inverted.
TEST(DrawTruck, WorkedExampleCoordinates) {
    const TruckData truck =
        MakeTruck({.Length = 120, .NoAxles = 3, .GrossWeight = 400, .AxleSpacings = {40, 13}});
    const struct {
        std::int16_t travel;
        bool driveRight, flip;
        const char *boxes, *wheels, *axles, *label;
    } cases[] = {
        {1, false, false, "(-10 2.6 2 0.6)", "(-10 2.6 0.5) (-10 2.6 0.1667)~ (-6 2.6 0.5)",
         "(-6 2.6 -6 0.6) (-4.7 2.6 -4.7 0.6)", "(-5.5 1.05 '400')~"},
        {-1, false, false, "(-10 -2.6 2 -0.6)", "(2 -0.6 0.5) (2 -0.6 0.1667)~ (-2 -0.6 0.5)",
         "(-2 -2.6 -2 -0.6) (-3.3 -2.6 -3.3 -0.6)", "(-5.5 -2.1 '400')~"},
        {1, true, false, "(-10 -2.6 2 -0.6)", "(-10 -0.6 0.5) (-10 -0.6 0.1667)~ (-6 -0.6 0.5)",
         "(-6 -2.6 -6 -0.6) (-4.7 -2.6 -4.7 -0.6)", "(-5.5 -2.1 '400')~"},
        {1, false, true, "(-10 2.6 -22 0.6)", "(-10 2.6 0.5) (-10 2.6 0.1667)~ (-14 2.6 0.5)",
         "(-14 2.6 -14 0.6) (-15.3 2.6 -15.3 0.6)", "(-17.5 1.05 '400')~"},
        {-1, false, true, "(-10 -2.6 -22 -0.6)", "(-22 -0.6 0.5) (-22 -0.6 0.1667)~ (-18 -0.6 0.5)",
         "(-18 -2.6 -18 -0.6) (-16.7 -2.6 -16.7 -0.6)", "(-17.5 -2.1 '400')~"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.travel << " " << c.driveRight << " " << c.flip);
        RecordingSurface picture;
        DrawTruck(view(20, c.driveRight, c.flip), picture, -10.0, c.travel, truck);
        std::string kinds;
        for (const RecordedOp& op : picture.ops)
            kinds += "-LBFCP"[op.kind];
        ASSERT_EQ(kinds, "FBCCLCCLCCP");
        EXPECT_EQ(picture.ops[0].colour, ColourWhite);
        EXPECT_EQ(picture.ops[1].colour, ColourBlack);
        EXPECT_EQ(picture.trace(RecordedOp::FilledBox), c.boxes);
        EXPECT_EQ(picture.trace(RecordedOp::Box), c.boxes);
        EXPECT_EQ(picture.trace(RecordedOp::Circle).substr(0, std::strlen(c.wheels)), c.wheels);
        EXPECT_EQ(picture.trace(RecordedOp::Line), c.axles);
        EXPECT_EQ(picture.trace(RecordedOp::Print), c.label);
        EXPECT_EQ(picture.FillStyle(), FillStyleSolid);
        EXPECT_EQ(picture.DrawMode(), DrawModeCopyPen);
    }
    // No axle: the body, a wheel at the front end and the label. Spacing 9 is past the fields;
    // a spacing of -32768 times travel -1 does not fit 16 bits. What was drawn stays.
    RecordingSurface picture;
    DrawTruck(view(20), picture, -10.0, -1, With(With(truck, NoAxles, 0), GrossWeight, -5));
    EXPECT_EQ(picture.trace(RecordedOp::Circle), "(2 -0.6 0.5) (2 -0.6 0.1667)~");
    EXPECT_EQ(picture.only(RecordedOp::Print).at(0).text, "-5");
    picture.ops.clear();
    EXPECT_EQ(ErrorOf([&] { DrawTruck(view(20), picture, -10, 1, With(truck, NoAxles, 10)); }),
              ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(picture.only(RecordedOp::Line).size(), 8u);
    const TruckData farBack = With(truck, AxleSpacing(1), -32768);
    EXPECT_EQ(ErrorOf([&] { DrawTruck(view(20), picture, -10, -1, farBack); }),
              ErrorNumber::Overflow);
}

struct RecordingLabels : SceneLabels {
    std::vector<std::string> times, distances;
    void setTimeCaption(const std::string& caption) override { times.push_back(caption); }
    void setDistanceCaption(const std::string& caption) override { distances.push_back(caption); }
};

TEST(DrawSceneAtTime, TrucksAndLabelsAtOneMoment) {
    const TruckData twinOfA = With(TruckA(), Speed, 100); // stamped with A, half as fast
    const std::string t = "Cur time:  100.5";
    const struct {
        bool datumRHS;
        std::vector<TruckData> trucks;
        bool critPos;
        std::vector<std::string> times, distances;
        std::vector<double> lefts; // of the truck bodies
    } cases[] = {
        {true, {TruckA(), TruckB()}, false, {t, t}, {"Position:  10"}, {-10, -22.5}},
        {false, {TruckA(), TruckB()}, false, {t, t}, {"Position:  10"}, {-10, -42.5}},
        {true, {TruckA()}, true, {"Cur time:  100.8"}, {"Position:  16"}, {-16}},
        {true, {TruckA(), twinOfA}, false, {t, t}, {"Position:  10", "Position:  5"}, {-10, -5}},
        // Timed as direction 1 (no span added under Mixed), placed as direction 2.
        {false, {With(TruckB(), Direction, 3)}, false, {t}, {"Position:  12.5"}, {-22.5}},
        // No truck sets the labels: they are emptied, so as not to describe another effect.
        {true, {}, false, {""}, {""}, {}},
    };
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
        std::vector<double> lefts; // to a micrometre
        for (const RecordedOp& op : picture.only(RecordedOp::FilledBox))
            if (op.colour == ColourWhite)
                lefts.push_back(std::round(op.x1 * 1e6) / 1e6);
        EXPECT_EQ(lefts, c.lefts);
        // A fresh picture: cleared, the road, the caption, then the trucks with their labels.
        EXPECT_EQ(picture.ops.front().kind, RecordedOp::Cls);
        const auto prints = picture.only(RecordedOp::Print);
        ASSERT_EQ(prints.size(), 1 + c.trucks.size());
        EXPECT_TRUE(prints[0].text.starts_with("Value: 2.5 "));
    }
    // The caption's numbers are for the user: the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    RecordingSurface picture;
    RecordingLabels labels;
    TruckData firstOn;
    DrawSceneAtTime(view(20), Scene{picture, labels, firstOn}, MakeEffect({.Value = 2.5}), false,
                    0);
    EXPECT_EQ(picture.only(RecordedOp::Print).at(0).text,
              "Value: 2,5   Distance: 0  Time: 0  No Trucks: 0");
}

// ShowEvent's steps on a scene without a window: the lines, the scrubber fitted, the scene drawn
// last; an effect without trucks stops after its span and caption.
TEST(ShowEvent, LinesScrubberAndSceneInOrder) {
    HeadlessScene scene(view(20));
    std::vector<std::string> lines;
    const EffectData effect = MakeEffect({.Trucks = {TruckA(), TruckB()}});
    scene.show(effect, false, [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(scene.timeCaption(), "Cur time:  100");
    const QImage atStart = scene.image().copy();
    scene.moveScrubber(effect, false, 30000); // held at Max 300
    EXPECT_EQ(scene.scrubberValue(), 300);
    EXPECT_EQ(scene.timeCaption(), "Cur time:  103");
    EXPECT_NE(scene.image(), atStart);

    EXPECT_EQ(ErrorOf([&] { scene.show(MakeEffect({}), false, [](const std::string&) {}); }),
              ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(scene.timeCaption() + scene.distanceCaption(), "");
    EXPECT_EQ(scene.scrubberValue(), 300); // the scrubber as it was
}

// The lengths of the dark runs down one column of pixels.
std::vector<int> darkRuns(const QImage& image, int column) {
    std::vector<int> runs{0};
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(column, y)) < 128)
            ++runs.back();
        else if (runs.back() > 0)
            runs.push_back(0);
    if (runs.back() == 0)
        runs.pop_back();
    return runs;
}

// The picture in pixels, 10 a metre: x from -40 to 20, y from -6 to 7.8; driving on the left.
// On a screen of ratio 2 the same drawing is replayed at that resolution, lines one device pixel
// wide, while the picture that is saved stays as it was.
TEST(ImageSurface, ScenePixelsAtEachRatio) {
    ImageSurface picture(600, 138);
    RecordingLabels labels;
    TruckData firstOn;
    DrawEffectBackground(view(20), Scene{picture, labels, firstOn}, MakeEffect({.Value = 812.5}));
    DrawTruck(view(20), picture, -10.0, 1,
              MakeTruck({.Length = 120, .NoAxles = 1, .GrossWeight = 400}));
    const ImageSurface copy = picture; // before anything was rendered
    const QImage image = picture.Image().copy();
    const auto at = [](double x, double y) {
        return QPoint(static_cast<int>((x + 40) * 10), static_cast<int>((y + 6) * 10));
    };
    const auto gray = [&](double x, double y) { return qGray(image.pixel(at(x, y))); };
    // How many pixels from (x0, y0) to (x1, y1) are red, or dark.
    const auto count = [&](double x0, double y0, double x1, double y1, bool red) {
        int n = 0;
        for (int py = at(x0, y0).y(); py < at(x1, y1).y(); ++py)
            for (int px = at(x0, y0).x(); px < at(x1, y1).x(); ++px)
                n += red ? image.pixelColor(px, py) == Qt::red : qGray(image.pixel(px, py)) < 96;
        return n;
    };
    EXPECT_EQ(image.pixelColor(at(-15, -1.5)), ImageSurface::toQColor(SystemButtonFace));
    EXPECT_NE(gray(-15, -1.5), 255);
    EXPECT_EQ(gray(-35, -5) + gray(15, 6) + gray(-35, 1.5) + gray(15, -1), 4 * 255);
    // The left arrow in the upper lane, the right one in the lower lane.
    EXPECT_GT(count(-30, -2, -25, -1, true) * count(5, 1, 10, 2, true), 0);
    EXPECT_EQ(count(-30, 1, -25, 2, true) + count(5, -2, 10, -1, true), 0);
    // Road edges of 2 pixels around a centre line of 1, dashed: along the left approach some
    // columns cross it and some do not.
    EXPECT_EQ(darkRuns(image, 20), (std::vector<int>{2, 1, 2}));
    int crossings = 0;
    for (int x = 0; x < 190; ++x)
        crossings += darkRuns(image, x).size() == 3;
    EXPECT_GT(crossings, 40);
    EXPECT_LT(crossings, 150);
    // The caption is printed from (-29, 4.5) on, nothing of it further left.
    EXPECT_EQ(count(-40, 4.6, -29, 7.8, false), 0);
    EXPECT_GT(count(-29, 4.6, 20, 7.8, false), 100);
    // The wheel at (-10, 2.6) is 5 px in radius with a light hub of under 2 px; the white body
    // shows the label printed dark from (-5.5, 1.05).
    EXPECT_GT(gray(-10, 2.6), 192);
    EXPECT_LT(std::max(gray(-10.35, 2.6), gray(-9.65, 2.6)), 96);
    EXPECT_EQ(gray(-8, 1.5), 255);
    EXPECT_GT(count(-5.5, 0.7, 1.9, 2.5, false), 10);

    const QImage sharp = picture.imageAt(2);
    ASSERT_EQ(sharp.size(), QSize(1200, 276));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(darkRuns(sharp, 40), (std::vector<int>{4, 1, 4}));
    EXPECT_EQ(picture.Image(), image);
    for (const double ratio : {1.0, 0.5, std::nan("")})
        EXPECT_EQ(picture.imageAt(ratio), image);
    EXPECT_EQ(copy.imageAt(2), sharp); // a copy renders the same picture by itself
    picture.Cls();
    EXPECT_TRUE(darkRuns(picture.imageAt(2), 40).empty());

    // Drawn over and over without clearing: everything stays, also on finer screens.
    ImageSurface long_(64, 16);
    PictureSurface& drawing = long_;
    drawing.Line(0, 1, 64, 1);
    for (int i = 0; i < 70000; ++i)
        drawing.Line(0, 5, 64, 5);
    drawing.Line(0, 9, 64, 9);
    EXPECT_EQ(darkRuns(long_.Image(), 30), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(long_.imageAt(2), long_.Image());
}

} // namespace
} // namespace kestavian::test
