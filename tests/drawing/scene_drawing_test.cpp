#include "drawing/scene_drawing.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeEffect;
using test::MakeTruck;
using test::RecordedOp;
using test::RecordingSurface;

struct RecordingLabels : SceneLabels {
    std::vector<std::string> times{"old time"};
    std::vector<std::string> distances{"old position"};
    void setTimeCaption(const std::string& caption) override { times.push_back(caption); }
    void setDistanceCaption(const std::string& caption) override { distances.push_back(caption); }
};

TruckData truckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150, .NoAxles = 1});
}
TruckData truckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100, .NoAxles = 1});
}

const SceneContext kRHS{.Span = 20, .DatumRHS = true, .draw = {.DriveRight = false}};
const SceneContext kMixed{.Span = 20, .DatumRHS = false, .draw = {.DriveRight = false}};

// The left ends of the truck bodies, in drawing order.
std::vector<double> bodyLefts(const RecordingSurface& picture) {
    std::vector<double> lefts;
    for (const RecordedOp& op : picture.only(RecordedOp::FilledBox))
        if (op.colour == ColourWhite)
            lefts.push_back(op.x1);
    return lefts;
}

TEST(SceneDrawing, TrucksAndLabelsAtOneMoment) {
    TruckData twinOfA = truckA(); // stamped with A, half as fast
    twinOfA.Data(Speed) = 100;
    const struct {
        std::string name;
        SceneContext context;
        std::vector<TruckData> trucks;
        bool critPos;
        double effectTime;
        std::vector<std::string> times;
        std::vector<std::string> distances;
        std::vector<double> lefts;
    } cases[] = {
        {"RHS",
         kRHS,
         {truckA(), truckB()},
         false,
         0,
         {"old time", "Cur time:  100.5", "Cur time:  100.5"},
         {"old position", "Position:  10"},
         {-10, -22.5}},
        {"Mixed",
         kMixed,
         {truckA(), truckB()},
         false,
         0,
         {"old time", "Cur time:  100.5", "Cur time:  100.5"},
         {"old position", "Position:  10"},
         {-10, -42.5}},
        {"critical position",
         kRHS,
         {truckA()},
         true,
         100.8,
         {"old time", "Cur time:  100.8"},
         {"old position", "Position:  16"},
         {-16}},
        {"two trucks stamped with the first one on",
         kRHS,
         {truckA(), twinOfA},
         false,
         0,
         {"old time", "Cur time:  100.5", "Cur time:  100.5"},
         {"old position", "Position:  10", "Position:  5"},
         {-10, -5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface picture;
        RecordingLabels labels;
        TruckData firstOn;
        const EffectData effect = MakeEffect({.Time = c.effectTime, .Trucks = c.trucks});
        DrawSceneAtTime(picture, c.context, effect, c.critPos, 50, firstOn, labels);

        EXPECT_EQ(firstOn, c.trucks.front());
        EXPECT_EQ(labels.times, c.times);
        EXPECT_EQ(labels.distances, c.distances);
        const std::vector<double> lefts = bodyLefts(picture);
        ASSERT_EQ(lefts.size(), c.lefts.size());
        for (std::size_t i = 0; i < lefts.size(); ++i)
            EXPECT_NEAR(lefts[i], c.lefts[i], 1e-9);

        // A fresh picture: cleared, the road, the caption, then the trucks with their labels.
        ASSERT_FALSE(picture.ops.empty());
        EXPECT_EQ(picture.ops.front().kind, RecordedOp::Cls);
        const auto prints = picture.only(RecordedOp::Print);
        ASSERT_EQ(prints.size(), 1 + c.trucks.size());
        EXPECT_EQ(prints[0].text.rfind("Value: ", 0), 0u);
    }
}

TEST(SceneDrawing, EffectWithoutTrucksStopsAfterTheCaption) {
    RecordingSurface picture;
    RecordingLabels labels;
    TruckData firstOn = truckB();
    EXPECT_EQ(
        ErrorOf([&] { DrawSceneAtTime(picture, kRHS, MakeEffect({}), false, 0, firstOn, labels); }),
        ErrorNumber::Overflow);
    const auto prints = picture.only(RecordedOp::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "Value: 0   Distance: 0  Time: 0  No Trucks: 0");
    EXPECT_FALSE(picture.only(RecordedOp::Line).empty()); // the road is there
    EXPECT_EQ(labels.times, std::vector<std::string>{"old time"});
    EXPECT_EQ(labels.distances, std::vector<std::string>{"old position"});
    EXPECT_EQ(firstOn, truckB());
}

} // namespace
} // namespace kestavian
