#include "drawing/scene_drawing.h"

#include <cmath>
#include <gtest/gtest.h>

#include "drawing/image_surface.h"
#include "drawing/truck_drawing.h"
#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

struct RecordingLabels : SceneLabels {
    std::vector<std::string> times, distances;
    void setTimeCaption(const std::string& caption) override { times.push_back(caption); }
    void setDistanceCaption(const std::string& caption) override { distances.push_back(caption); }
};

TEST(SceneDrawing, TrucksAndLabelsAtOneMoment) {
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
    };
    for (const auto& c : cases) {
        RecordingSurface picture;
        RecordingLabels labels;
        TruckData firstOn;
        const SceneContext context{
            .Span = 20, .DatumRHS = c.datumRHS, .draw = {.DriveRight = false}};
        const EffectData effect = MakeEffect({.Time = 100.8, .Trucks = c.trucks});
        DrawSceneAtTime(picture, context, effect, c.critPos, 50, firstOn, labels);

        EXPECT_EQ(firstOn, c.trucks.front());
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
        EXPECT_TRUE(prints[0].text.starts_with("Value: "));
    }
}

// The span and caption are the whole scene; labels left alone would describe another effect.
TEST(SceneDrawing, EffectWithoutTrucksIsTheSpanAndCaption) {
    RecordingSurface picture;
    RecordingLabels labels;
    TruckData firstOn = TruckB();
    DrawSceneAtTime(picture, {}, MakeEffect({.Value = 2.5}), false, 0, firstOn, labels);
    const auto prints = picture.only(RecordedOp::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "Value: 2.5   Distance: 0  Time: 0  No Trucks: 0");
    EXPECT_FALSE(picture.only(RecordedOp::Line).empty()); // the road is there
    EXPECT_EQ(labels.times, std::vector<std::string>{""});
    EXPECT_EQ(labels.distances, std::vector<std::string>{""});
    EXPECT_EQ(firstOn, TruckB());

    // Numbers the user reads follow the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    picture.ops.clear();
    DrawSceneAtTime(picture, {}, MakeEffect({.Value = 2.5}), false, 0, firstOn, labels);
    EXPECT_EQ(picture.only(RecordedOp::Print).at(0).text,
              "Value: 2,5   Distance: 0  Time: 0  No Trucks: 0");
}

// The picture in pixels, 10 a metre: x from -40 to 20, y from -6 to 7.8; driving on the left.
TEST(SceneDrawing, Pixels) {
    ImageSurface picture(600, 138);
    const SceneContext context{.draw = {.DriveRight = false}};
    RecordingLabels labels;
    DrawEffectBackground(picture, context, MakeEffect({.Value = 812.5}), labels);
    const TruckData truck = MakeTruck({.Length = 120, .NoAxles = 1, .GrossWeight = 400});
    DrawTruck(picture, 20.0f, -10.0, 1, truck, context.draw);
    const QImage& image = picture.Image();
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
    EXPECT_GT(count(-31, -3.2, -29, -2.8, false), 0); // a road edge
    // The left arrow in the upper lane, the right one in the lower lane.
    EXPECT_GT(count(-30, -2, -25, -1, true) * count(5, 1, 10, 2, true), 0);
    EXPECT_EQ(count(-30, 1, -25, 2, true) + count(5, -2, 10, -1, true), 0);

    // The centre line on the left approach is dashed: its row changes colour again and again.
    int mostChanges = 0;
    for (int row = at(0, 0).y() - 1; row <= at(0, 0).y() + 1; ++row) {
        int changes = 0;
        for (int x = 1; x < at(-21, 0).x(); ++x)
            changes += image.pixel(x, row) != image.pixel(x - 1, row);
        mostChanges = std::max(mostChanges, changes);
    }
    EXPECT_GT(mostChanges, 6);

    // The caption is printed from (-29, 4.5) on, nothing of it further left.
    EXPECT_EQ(count(-40, 4.6, -29, 7.8, false), 0);
    EXPECT_GT(count(-29, 4.6, 20, 7.8, false), 100);
    // The wheel at (-10, 2.6) is 5 px in radius with a light hub of under 2 px; the white body
    // shows the label printed dark from (-5.5, 1.05).
    EXPECT_GT(gray(-10, 2.6), 192);
    EXPECT_LT(std::max(gray(-10.35, 2.6), gray(-9.65, 2.6)), 96);
    EXPECT_EQ(gray(-8, 1.5), 255);
    EXPECT_GT(count(-5.5, 0.7, 1.9, 2.5, false), 10);
}

} // namespace
} // namespace kestavian::test
