#include <gtest/gtest.h>

#include "analysis/event_display.h"
#include "analysis/event_timing.h"
#include "analysis/scene_at_time.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

ViewSettings view(bool datumRHS = true) {
    return {.DatumRHS = datumRHS};
}
constexpr bool kMixed = false;

TEST(EventTiming, TimeOnTimeOffAndFirstTruckOn) {
    const TruckData A = TruckA(), B = TruckB();
    TruckData late = A;
    late.TimeSec = 2.16e10;
    const char* const kZero = "Division by zero";
    const struct {
        std::vector<TruckData> trucks;
        bool datumRHS;
        const char *timeOn, *timeOff;
        int firstOn; // the truck FirstTruckOn copies; 0: left alone
    } cases[] = {
        {{B}, true, "100.2", "101.4", 1},
        {{B}, kMixed, "101", "102.2", 1},
        {{B, A}, true, "100", "101.75", 2},
        {{A, With(A, GrossWeight, 999)}, true, "100", "101.75", 1}, // a tie keeps the lower number
        {{With(A, Direction, 3)}, true, "100", "101.75", 1}, // any direction but 2 counts as 1
        // Time-on starts at a thousand years: no truck, or one no earlier, leaves it there.
        {{}, true, "2.16e+10", "Subscript out of range", 0},
        {{late}, true, "2.16e+10", "21600000001.75", 0},
        // A zero speed divides only where the span or the length is spread over the speed; the
        // copy made before the failing truck stays.
        {{With(B, Speed, 0)}, kMixed, "101", kZero, 1},
        {{A, With(B, Speed, 0)}, true, kZero, kZero, 1},
    };
    for (const auto& c : cases) {
        const EffectData effect = MakeEffect({.Trucks = c.trucks});
        const TruckData untouched = MakeTruck({.Direction = 7});
        TruckData firstOn = untouched;
        EXPECT_EQ(Outcome([&] { return FindTimeOn(view(c.datumRHS), effect, firstOn); }), c.timeOn);
        EXPECT_EQ(Outcome([&] { return FindTimeOff(view(c.datumRHS), effect); }), c.timeOff);
        EXPECT_EQ(firstOn,
                  c.firstOn ? c.trucks[static_cast<std::size_t>(c.firstOn - 1)] : untouched);
    }
    // No division: a truck standing still is where its stamp puts it.
    EXPECT_EQ(TruckPositionAt(view(kMixed), 100.0, MakeTruck({.Direction = 2, .TimeSec = 5})), 20);
}

// The lines as listed: 2 decimals, a half going to the even neighbour, the system's decimal
// separator; a failure comes before any line.
TEST(EventDisplay, TimingLines) {
    TruckData oddStamp = TruckA();
    oddStamp.TimeSec = 100.125;
    const struct {
        std::vector<TruckData> trucks;
        bool datumRHS;
        const char* lines;
    } cases[] = {
        {{TruckA(), TruckB()},
         true,
         "Time On: 100|Time Off: 101,75|Duration: 1,75|Truck 1 position: 0|Truck 2 position: 25|"},
        // A direction-2 truck is a span's length further from its datum under "Mixed".
        {{TruckA(), TruckB()},
         kMixed,
         "Time On: 100|Time Off: 102,2|Duration: 2,2|Truck 1 position: 0|Truck 2 position: 45|"},
        {{oddStamp}, true, "Time On: 100,12|Time Off: 101,88|Duration: 1,75|Truck 1 position: 0|"},
        {{}, true, "Subscript out of range"},
        {{TruckA(), With(TruckB(), Speed, 0)}, true, "Division by zero"},
    };
    const LocaleForTest comma(QLocale::German);
    for (const auto& c : cases) {
        std::string lines;
        TruckData firstOn;
        const auto error = ErrorOf([&] {
            writeTimingLines(view(c.datumRHS), MakeEffect({.Trucks = c.trucks}), firstOn,
                             [&](const std::string& line) { lines += line + "|"; });
        });
        EXPECT_EQ(error ? errorDescription(*error) : lines, c.lines);
    }
}

// The scrubber counts hundredths; R(x) below rounds a half to the even neighbour. A value that
// cannot be formed stops the fit with the values set before it in force.
TEST(EventDisplay, ScrubberFit) {
    const struct {
        double duration;
        const char* fit; // Min Max LargeChange SmallChange Value, as the scroll bar holds them
    } cases[] = {
        {2.5, "0 400 6 3 0"},                         // R(3.6) = 4, R(3.1) = 3
        {1.9, "0 300 4 2 0"},                         // R(2.5) = 2
        {326.3, "0 32700 654 327 0"},                 // R(327.4) = 327
        {326.4, "0 1000 50 1 70 Overflow"},           // R(327.5) = 328: Max 32800
        {-1.0, "0 0 50 1 0 Invalid property value"},  // R(0.1) = 0: Max 0, then a step of 0
        {-35.0, "0 0 50 1 0 Invalid property value"}, // Max -3400 is held at Min 0
    };
    for (const auto& c : cases) {
        ScrubberModel scrubber;
        scrubber.setValue(70);
        const auto error = ErrorOf([&] { fitScrubber(c.duration, scrubber); });
        std::string fit;
        for (const std::int16_t value :
             {scrubber.minimum(), scrubber.maximum(), scrubber.largeChange(),
              scrubber.smallChange(), scrubber.value()})
            fit += (fit.empty() ? "" : " ") + std::to_string(value);
        if (error)
            fit += " " + errorDescription(*error);
        EXPECT_EQ(fit, c.fit) << c.duration;
    }
}

// The scene's start is time-on less half a second, halves to even, in 64 bits. (Where trucks are
// at a moment is checked with the scene's drawing.)
TEST(SceneAtTime, StartTimeAndLabels) {
    const struct {
        double timeOn;
        const char* start;
    } starts[] = {
        {101.0, "100"},
        {102.0, "102"},
        {2147483648.0, "2147483648"}, // year 99 of a simulation
        {2.16e10, "2.16e+10"},        // an effect without trucks
        {9.3e18, "Overflow"},
    };
    for (const auto& c : starts)
        EXPECT_EQ(Outcome([&] { return sceneStartTime(c.timeOn); }), c.start) << c.timeOn;

    // The labels keep the point whatever the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    EXPECT_EQ(timeCaption(100.125), "Cur time:  100.12");
    EXPECT_EQ(timeCaption(-0.5), "Cur time: -0.5");
    EXPECT_EQ(positionCaption(10.0), "Position:  10");
    EXPECT_EQ(positionCaption(-2.5), "Position: -2.5");
    EXPECT_EQ(positionCaption(0.0625), "Position:  0.062");
}

} // namespace
} // namespace kestavian::test
