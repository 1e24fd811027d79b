#include "analysis/scene_at_time.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "support/record_builders.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeTruck;

constexpr float kSpan = 20.0f;

TruckData truckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150});
}
TruckData truckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100});
}

TEST(SceneAtTime, StartTimeRoundsHalfToEvenWithin32Bits) {
    const struct {
        double timeOn;
        std::optional<double> start;
    } cases[] = {
        {100.0, 100.0},
        {101.0, 100.0}, // R(100.5) = 100
        {100.3, 100.0},
        {102.0, 102.0}, // R(101.5) = 102
        {0.2, 0.0},
        {2147483647.0, 2147483646.0},
        {2147483648.0, {}},
        {2.16e10, {}}, // the time-on of an effect without trucks
        {-2147483647.5, -2147483648.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timeOn);
        if (c.start) {
            EXPECT_EQ(SceneStartTime(c.timeOn), *c.start);
        } else {
            EXPECT_EQ(ErrorOf([&] { SceneStartTime(c.timeOn); }), ErrorNumber::Overflow);
        }
    }
}

TEST(SceneAtTime, ElapsedTimeFromScrubberOrEffect) {
    EXPECT_EQ(ElapsedTime(50, false, 100.8, 100.0), 0.5);
    EXPECT_EQ(ElapsedTime(-32768, false, 0, 0), -327.68);
    // The effect's own moment wins over the scrubber.
    EXPECT_EQ(CurrentTime(100.0, ElapsedTime(50, true, 100.8, 100.0)), 100.8);
}

TEST(SceneAtTime, TruckPlacement) {
    TruckData direction3 = truckB();
    direction3.Data(Direction) = 3;
    const struct {
        std::string name;
        TruckData truck;
        bool datumRHS;
        double x;
        std::int16_t travel;
        double front;
    } cases[] = {
        {"A", truckA(), true, -10.0, 1, 10.0},
        {"B, RHS", truckB(), true, -22.5, -1, 12.5},
        {"B, Mixed", truckB(), false, -42.5, -1, 32.5},
        // Timed as direction 1 (no span added under Mixed), placed as direction 2.
        {"direction 3, Mixed", direction3, false, -22.5, -1, 12.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TruckPlacement placement = PlaceTruck(c.truck, 100.0, 0.5, kSpan, c.datumRHS);
        EXPECT_DOUBLE_EQ(placement.x, c.x);
        EXPECT_EQ(placement.travel, c.travel);
        EXPECT_DOUBLE_EQ(placement.front, c.front);
    }
}

TEST(SceneAtTime, LabelTexts) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {TimeCaption(100.5), "Cur time:  100.5"},
        {TimeCaption(100.0), "Cur time:  100"},
        {TimeCaption(100.125), "Cur time:  100.12"},
        {TimeCaption(-0.5), "Cur time: -0.5"},
        {PositionCaption(10.0), "Position:  10"},
        {PositionCaption(-2.5), "Position: -2.5"},
        {PositionCaption(0.0625), "Position:  0.062"},
        {PositionCaption(12.5004), "Position:  12.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

} // namespace
} // namespace kestavian
