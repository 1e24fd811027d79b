#include "analysis/event_timing.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace kestavian::test {
namespace {

constexpr float kSpan = 20.0f;
constexpr bool kRHS = true;
constexpr bool kMixed = false;

TEST(EventTiming, TimeOnTimeOffAndFirstTruckOn) {
    const TruckData A = TruckA(), B = TruckB();
    TruckData laterA = A, late = A;
    laterA.TimeSec = 100.5;
    late.TimeSec = 2.16e10;
    const char* const kZero = "Division by zero";
    const struct {
        std::vector<TruckData> trucks;
        bool datumRHS;
        const char *timeOn, *timeOff;
        int firstOn; // the truck FirstTruckOn copies; 0: left alone
    } cases[] = {
        {{B}, kRHS, "100.2", "101.4", 1},
        {{B}, kMixed, "101", "102.2", 1},
        {{A, B}, kRHS, "100", "101.75", 1},
        {{A, B}, kMixed, "100", "102.2", 1},
        {{B, A}, kRHS, "100", "101.75", 2},
        {{A, With(A, GrossWeight, 999)}, kRHS, "100", "101.75", 1}, // a tie keeps the lower number
        {{laterA, A}, kRHS, "100", "102.25", 2},
        {{With(A, Direction, 3)}, kRHS, "100", "101.75", 1}, // any direction but 2 counts as 1
        // Time-on starts at a thousand years: no truck, or one no earlier, leaves it there.
        {{}, kRHS, "2.16e+10", "Subscript out of range", 0},
        {{late}, kRHS, "2.16e+10", "21600000001.75", 0},
        // A zero speed divides only where the span or the length is spread over the speed; the
        // copy made before the failing truck stays.
        {{With(A, Speed, 0)}, kRHS, "100", kZero, 1},
        {{With(B, Speed, 0)}, kMixed, "101", kZero, 1},
        {{A, With(B, Speed, 0)}, kRHS, kZero, kZero, 1},
    };
    for (const auto& c : cases) {
        const EffectData effect = MakeEffect({.Trucks = c.trucks});
        const TruckData untouched = MakeTruck({.Direction = 7});
        TruckData firstOn = untouched;
        EXPECT_EQ(Outcome([&] { return FindTimeOn(effect, kSpan, c.datumRHS, firstOn); }),
                  c.timeOn);
        EXPECT_EQ(Outcome([&] { return FindTimeOff(effect, kSpan, c.datumRHS); }), c.timeOff);
        EXPECT_EQ(firstOn,
                  c.firstOn ? c.trucks[static_cast<std::size_t>(c.firstOn - 1)] : untouched);
    }
}

// The display lines and the scene show the position values of A and B; these need no division
// and hold the speed in single precision (0.3 m/s is 0.300000011920929).
TEST(EventTiming, PositionValues) {
    const TruckData stopped = MakeTruck({.Direction = 2, .TimeSec = 5});
    EXPECT_EQ(TruckPositionAt(100.0, stopped, kSpan, kMixed), 20.0);
    EXPECT_EQ(TruckPositionAt(0.0, MakeTruck({.TimeSec = 10, .Speed = 3}), kSpan, kRHS),
              static_cast<double>(0.3f) * 10.0);
}

} // namespace
} // namespace kestavian::test
