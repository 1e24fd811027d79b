#include "analysis/event_display.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "support/record_builders.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeEffect;
using test::MakeTruck;

constexpr float kSpan = 20.0f;

TruckData truckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150});
}
TruckData truckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100});
}

struct Written {
    std::vector<std::string> lines;
    std::optional<ErrorNumber> error;
    EffectTimings timings;
};

Written write(const EffectData& effect, bool datumRHS) {
    Written out;
    TruckData firstOn;
    out.error = ErrorOf([&] {
        out.timings = WriteTimingLines(effect, kSpan, datumRHS, firstOn,
                                       [&](const std::string& line) { out.lines.push_back(line); });
    });
    return out;
}

TEST(EventDisplay, TimingLines) {
    TruckData oddStamp = truckA();
    oddStamp.TimeSec = 100.125; // 2 decimals, a half going to the even neighbour

    const struct {
        std::string name;
        std::vector<TruckData> trucks;
        bool datumRHS;
        std::vector<std::string> lines;
        double duration;
    } cases[] = {
        {"A and B, RHS",
         {truckA(), truckB()},
         true,
         {"Time On: 100", "Time Off: 101.75", "Duration: 1.75", "Truck 1 position: 0",
          "Truck 2 position: 25"},
         1.75},
        {"A and B, Mixed",
         {truckA(), truckB()},
         false,
         {"Time On: 100", "Time Off: 102.2", "Duration: 2.2", "Truck 1 position: 0",
          "Truck 2 position: 45"},
         2.2},
        {"halves go to even",
         {oddStamp},
         true,
         {"Time On: 100.12", "Time Off: 101.88", "Duration: 1.75", "Truck 1 position: 0"},
         1.75},
        // A lone direction-2 truck is a span's length from its entry end at time-on.
        {"B alone, RHS",
         {truckB()},
         true,
         {"Time On: 100.2", "Time Off: 101.4", "Duration: 1.2", "Truck 1 position: 20"},
         1.2},
        {"B alone, Mixed",
         {truckB()},
         false,
         {"Time On: 101", "Time Off: 102.2", "Duration: 1.2", "Truck 1 position: 20"},
         1.2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Written out = write(MakeEffect({.Trucks = c.trucks}), c.datumRHS);
        EXPECT_EQ(out.error, std::nullopt);
        EXPECT_EQ(out.lines, c.lines);
        EXPECT_NEAR(out.timings.duration, c.duration, 1e-12);
    }
}

TEST(EventDisplay, TimingFailuresComeBeforeAnyLine) {
    TruckData stopped = truckA();
    stopped.Data(Speed) = 0;
    const struct {
        std::string name;
        EffectData effect;
        ErrorNumber error;
    } cases[] = {
        {"no trucks", MakeEffect({}), ErrorNumber::SubscriptOutOfRange},
        {"zero speed", MakeEffect({.Trucks = {truckA(), stopped}}), ErrorNumber::DivisionByZero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Written out = write(c.effect, true);
        EXPECT_EQ(out.error, c.error);
        EXPECT_TRUE(out.lines.empty());
    }
}

TEST(EventDisplay, ScrubberFit) {
    const struct {
        double duration;
        std::optional<std::int16_t> max;
        std::int16_t largeChange;
        std::int16_t smallChange;
    } cases[] = {
        {1.75, 300, 4, 2},     {2.5, 400, 6, 3},
        {0.4, 200, 2, 1}, // R(1.5) = 2, R(1.0) = 1
        {1.9, 300, 4, 2}, // R(2.5) = 2
        {0.0, 100, 2, 1},      {326.3, 32700, 654, 327},
        {326.4, {}, 654, 327}, // R(327.5) = 328: Max 32800
        {330.0, {}, 662, 331},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.duration);
        if (c.max) {
            EXPECT_EQ(ScrubberMax(c.duration), *c.max);
        } else {
            EXPECT_EQ(ErrorOf([&] { ScrubberMax(c.duration); }), ErrorNumber::Overflow);
        }
        EXPECT_EQ(ScrubberLargeChange(c.duration), c.largeChange);
        EXPECT_EQ(ScrubberSmallChange(c.duration), c.smallChange);
    }
    EXPECT_EQ(ErrorOf([] { ScrubberLargeChange(16400.0); }), ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([] { ScrubberSmallChange(40000.0); }), ErrorNumber::Overflow);
}

} // namespace
} // namespace kestavian
