#include <gtest/gtest.h>

#include "analysis/event_display.h"
#include "analysis/event_timing.h"
#include "analysis/scene_at_time.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

ViewSettings view(bool datumRHS = true) {
    ViewSettings settings;
    settings.DatumRHS = datumRHS;
    return settings;
}
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
        {{B}, true, "100.2", "101.4", 1},
        {{B}, kMixed, "101", "102.2", 1},
        {{A, B}, kMixed, "100", "102.2", 1},
        {{B, A}, true, "100", "101.75", 2},
        {{A, With(A, GrossWeight, 999)}, true, "100", "101.75", 1}, // a tie keeps the lower number
        {{laterA, A}, true, "100", "102.25", 2},
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
    // No division, and the speed held in single precision (0.3 m/s is 0.300000011920929).
    EXPECT_EQ(TruckPositionAt(view(kMixed), 100.0, MakeTruck({.Direction = 2, .TimeSec = 5})), 20);
    EXPECT_EQ(TruckPositionAt(view(), 0.0, MakeTruck({.TimeSec = 10, .Speed = 3})),
              static_cast<double>(0.3f) * 10.0);
}

TEST(EventDisplay, TimingLines) {
    TruckData oddStamp = TruckA();
    oddStamp.TimeSec = 100.125; // 2 decimals, a half going to the even neighbour
    const struct {
        std::vector<TruckData> trucks;
        bool datumRHS;
        std::vector<std::string> lines;
        std::optional<ErrorNumber> error = {};
    } cases[] = {
        {{TruckA(), TruckB()},
         true,
         {"Time On: 100", "Time Off: 101.75", "Duration: 1.75", "Truck 1 position: 0",
          "Truck 2 position: 25"}},
        // A direction-2 truck is a span's length further from its datum under "Mixed".
        {{TruckA(), TruckB()},
         kMixed,
         {"Time On: 100", "Time Off: 102.2", "Duration: 2.2", "Truck 1 position: 0",
          "Truck 2 position: 45"}},
        {{oddStamp},
         true,
         {"Time On: 100.12", "Time Off: 101.88", "Duration: 1.75", "Truck 1 position: 0"}},
        // Failures come before any line.
        {{}, true, {}, ErrorNumber::SubscriptOutOfRange},
        {{TruckA(), With(TruckB(), Speed, 0)}, true, {}, ErrorNumber::DivisionByZero},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        TruckData firstOn;
        EXPECT_EQ(ErrorOf([&] {
                      WriteTimingLines(view(c.datumRHS), MakeEffect({.Trucks = c.trucks}), firstOn,
                                       [&](const std::string& l) { lines.push_back(l); });
                  }),
                  c.error);
        EXPECT_EQ(lines, c.lines);
    }
    // The lines are for the user: numbers carry the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    std::vector<std::string> lines;
    TruckData firstOn;
    WriteTimingLines(view(), MakeEffect({.Trucks = {TruckA()}}), firstOn,
                     [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(lines[1], "Time Off: 101,75");
}

// The scrubber counts hundredths; R(x) below rounds a half to the even neighbour. A value that
// cannot be formed stops the fit with the values set before it in force.
TEST(EventDisplay, ScrubberFit) {
    const struct {
        double duration;
        const char* fit; // Min Max LargeChange SmallChange Value, as the scroll bar holds them
    } cases[] = {
        {2.5, "0 400 6 3 0"},                        // R(3.6) = 4, R(3.1) = 3
        {0.4, "0 200 2 1 0"},                        // R(1.5) = 2, R(1.0) = 1
        {1.9, "0 300 4 2 0"},                        // R(2.5) = 2
        {326.3, "0 32700 654 327 0"},                // R(327.4) = 327
        {326.4, "0 1000 50 1 70 Overflow"},          // R(327.5) = 328: Max 32800
        {-1.0, "0 0 50 1 0 Invalid property value"}, // R(0.1) = 0: Max 0, then a step of 0
    };
    for (const auto& c : cases) {
        ScrubberModel scrubber;
        scrubber.setValue(70);
        const auto error = ErrorOf([&] { FitScrubber(c.duration, scrubber); });
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

// The scene's start is time-on less half a second, halves to even, in 64 bits; the scrubber's
// hundredths, or the effect's own moment, come on top. (Where trucks are placed is checked with
// the scene's drawing.)
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
        EXPECT_EQ(Outcome([&] { return SceneStartTime(c.timeOn); }), c.start) << c.timeOn;
    EXPECT_EQ(ElapsedTime(50, false, 100.8, 100.0), 0.5);
    EXPECT_EQ(CurrentTime(100.0, ElapsedTime(50, true, 100.8, 100.0)), 100.8);

    // The labels keep the point whatever the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    EXPECT_EQ(TimeCaption(100.125), "Cur time:  100.12");
    EXPECT_EQ(TimeCaption(-0.5), "Cur time: -0.5");
    EXPECT_EQ(PositionCaption(10.0), "Position:  10");
    EXPECT_EQ(PositionCaption(-2.5), "Position: -2.5");
    EXPECT_EQ(PositionCaption(0.0625), "Position:  0.062");
}

} // namespace
} // namespace kestavian::test
