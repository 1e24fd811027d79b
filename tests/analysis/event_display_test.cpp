#include "analysis/event_display.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace kestavian::test {
namespace {

TEST(EventDisplay, TimingLines) {
    TruckData oddStamp = TruckA();
    oddStamp.TimeSec = 100.125; // 2 decimals, a half going to the even neighbour
    const struct {
        std::vector<TruckData> trucks;
        bool datumRHS;
        std::vector<std::string> lines;
        double duration;
        std::optional<ErrorNumber> error = {};
    } cases[] = {
        {{TruckA(), TruckB()},
         true,
         {"Time On: 100", "Time Off: 101.75", "Duration: 1.75", "Truck 1 position: 0",
          "Truck 2 position: 25"},
         1.75},
        // A direction-2 truck is a span's length further from its datum under "Mixed".
        {{TruckA(), TruckB()},
         false,
         {"Time On: 100", "Time Off: 102.2", "Duration: 2.2", "Truck 1 position: 0",
          "Truck 2 position: 45"},
         2.2},
        {{oddStamp},
         true,
         {"Time On: 100.12", "Time Off: 101.88", "Duration: 1.75", "Truck 1 position: 0"},
         1.75},
        // Failures come before any line.
        {{}, true, {}, 0, ErrorNumber::SubscriptOutOfRange},
        {{TruckA(), With(TruckB(), Speed, 0)}, true, {}, 0, ErrorNumber::DivisionByZero},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        EffectTimings timings;
        TruckData firstOn;
        EXPECT_EQ(ErrorOf([&] {
                      timings = WriteTimingLines(
                          MakeEffect({.Trucks = c.trucks}), 20.0f, c.datumRHS, firstOn,
                          [&](const std::string& line) { lines.push_back(line); });
                  }),
                  c.error);
        EXPECT_EQ(lines, c.lines);
        EXPECT_NEAR(timings.duration, c.duration, 1e-12);
    }
    // The lines are for the user: numbers carry the system's decimal separator.
    const LocaleForTest comma(QLocale::German);
    std::vector<std::string> lines;
    TruckData firstOn;
    WriteTimingLines(MakeEffect({.Trucks = {TruckA()}}), 20.0f, true, firstOn,
                     [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(lines[1], "Time Off: 101,75");
}

// The scrubber counts hundredths; R(x) below rounds a half to the even neighbour.
TEST(EventDisplay, ScrubberFit) {
    const char* const kOver = "Overflow";
    const struct {
        double duration;
        const char *max, *largeChange, *smallChange;
    } cases[] = {
        {2.5, "400", "6", "3"},         {0.4, "200", "2", "1"},       // R(1.5) = 2, R(1.0) = 1
        {1.9, "300", "4", "2"},                                       // R(2.5) = 2
        {326.3, "32700", "654", "327"}, {326.4, kOver, "654", "327"}, // R(327.5) = 328: Max 32800
        {330.0, kOver, "662", "331"},   {16400.0, kOver, kOver, "16401"},
        {40000.0, kOver, kOver, kOver},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome([&] { return ScrubberMax(c.duration); }), c.max) << c.duration;
        EXPECT_EQ(Outcome([&] { return ScrubberLargeChange(c.duration); }), c.largeChange);
        EXPECT_EQ(Outcome([&] { return ScrubberSmallChange(c.duration); }), c.smallChange);
    }
}

} // namespace
} // namespace kestavian::test
