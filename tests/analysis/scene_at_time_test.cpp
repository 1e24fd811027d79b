#include "analysis/scene_at_time.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace kestavian::test {
namespace {

// The start time is time-on less half a second, halves to even, within 64 bits.
TEST(SceneAtTime, StartAndElapsedTime) {
    const struct {
        double timeOn;
        const char* start;
    } cases[] = {
        {101.0, "100"},
        {102.0, "102"},
        {2147483647.0, "2147483646"},
        {-2147483647.5, "-2147483648"},
        // Past 32 bits: year 99 of a simulation, an effect without trucks.
        {2147483648.0, "2147483648"},
        {2.16e10, "2.16e+10"},
        {9.3e18, "Overflow"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome([&] { return SceneStartTime(c.timeOn); }), c.start) << c.timeOn;

    EXPECT_EQ(ElapsedTime(50, false, 100.8, 100.0), 0.5);
    // The effect's own moment wins over the scrubber.
    EXPECT_EQ(CurrentTime(100.0, ElapsedTime(50, true, 100.8, 100.0)), 100.8);
}

TEST(SceneAtTime, TruckPlacementHalfASecondIn) {
    const struct {
        TruckData truck;
        bool datumRHS;
        double x, front;
        std::int16_t travel;
    } cases[] = {
        {TruckA(), true, -10.0, 10.0, 1},
        {TruckB(), true, -22.5, 12.5, -1},
        {TruckB(), false, -42.5, 32.5, -1},
        // Timed as direction 1 (no span added under Mixed), placed as direction 2.
        {With(TruckB(), Direction, 3), false, -22.5, 12.5, -1},
    };
    for (const auto& c : cases) {
        const TruckPlacement placement = PlaceTruck(c.truck, 100.0, 0.5, 20.0f, c.datumRHS);
        EXPECT_DOUBLE_EQ(placement.x, c.x);
        EXPECT_EQ(placement.travel, c.travel);
        EXPECT_DOUBLE_EQ(placement.front, c.front);
    }
}

// The labels on the picture keep the point whatever the system's decimal separator.
TEST(SceneAtTime, LabelTexts) {
    const LocaleForTest comma(QLocale::German);
    EXPECT_EQ(TimeCaption(100.5), "Cur time:  100.5");
    EXPECT_EQ(TimeCaption(100.125), "Cur time:  100.12");
    EXPECT_EQ(TimeCaption(-0.5), "Cur time: -0.5");
    EXPECT_EQ(PositionCaption(10.0), "Position:  10");
    EXPECT_EQ(PositionCaption(-2.5), "Position: -2.5");
    EXPECT_EQ(PositionCaption(0.0625), "Position:  0.062");
}

} // namespace
} // namespace kestavian::test
