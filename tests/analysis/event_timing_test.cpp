#include "analysis/event_timing.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/record_builders.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeEffect;
using test::MakeTruck;

constexpr float kSpan = 20.0f;
constexpr bool kRHS = true;
constexpr bool kMixed = false;

// Truck A enters at its stamp; truck B travels the other way.
TruckData truckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150});
}
TruckData truckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100});
}

struct TimingCase {
    std::string name;
    std::vector<TruckData> trucks;
    bool datumRHS;
    double timeOn;
    double timeOff;
    int firstOn; // 1-based index of the truck FirstTruckOn copies
};

TEST(EventTiming, TimeOnTimeOffAndFirstTruckOn) {
    TruckData a2 = truckA();
    a2.Data(GrossWeight) = 999; // same entry time as A, told apart by this field
    TruckData laterA = truckA();
    laterA.TimeSec = 100.5;
    TruckData direction3 = truckA();
    direction3.Data(Direction) = 3;

    const TimingCase cases[] = {
        {"A alone, RHS", {truckA()}, kRHS, 100.0, 101.75, 1},
        {"A alone, Mixed", {truckA()}, kMixed, 100.0, 101.75, 1},
        {"B alone, RHS", {truckB()}, kRHS, 100.2, 101.4, 1},
        {"B alone, Mixed", {truckB()}, kMixed, 101.0, 102.2, 1},
        {"A then B, RHS", {truckA(), truckB()}, kRHS, 100.0, 101.75, 1},
        {"A then B, Mixed", {truckA(), truckB()}, kMixed, 100.0, 102.2, 1},
        {"B then A, RHS", {truckB(), truckA()}, kRHS, 100.0, 101.75, 2},
        {"B then A, Mixed", {truckB(), truckA()}, kMixed, 100.0, 102.2, 2},
        {"tie keeps the lower number", {truckA(), a2}, kRHS, 100.0, 101.75, 1},
        {"later truck first in the list", {laterA, truckA()}, kRHS, 100.0, 102.25, 2},
        {"direction 3 counts as 1", {direction3}, kRHS, 100.0, 101.75, 1},
    };
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const EffectData effect = MakeEffect({.Trucks = c.trucks});
        TruckData firstOn;
        EXPECT_DOUBLE_EQ(FindTimeOn(effect, kSpan, c.datumRHS, firstOn), c.timeOn);
        EXPECT_EQ(firstOn, c.trucks.at(static_cast<std::size_t>(c.firstOn - 1)));
        EXPECT_DOUBLE_EQ(FindTimeOff(effect, kSpan, c.datumRHS), c.timeOff);
    }
}

TEST(EventTiming, PositionValues) {
    const struct {
        std::string name;
        TruckData truck;
        bool datumRHS;
        double time;
        double position;
    } cases[] = {
        {"A half a second after its stamp", truckA(), kRHS, 100.5, -10.0},
        {"A at its stamp", truckA(), kMixed, 100.0, 0.0},
        {"B, RHS", truckB(), kRHS, 100.5, 12.5},
        {"B, Mixed", truckB(), kMixed, 100.5, 32.5},
        {"zero speed, direction 1", MakeTruck({.TimeSec = 5}), kRHS, 100.0, 0.0},
        {"zero speed, direction 2, Mixed", MakeTruck({.Direction = 2, .TimeSec = 5}), kMixed, 100.0,
         20.0},
        // The speed is held in single precision: 0.3 m/s is 0.300000011920929.
        {"single-precision speed", MakeTruck({.TimeSec = 10, .Speed = 3}), kRHS, 0.0,
         static_cast<double>(0.3f) * 10.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TruckPositionAt(c.time, c.truck, kSpan, c.datumRHS), c.position);
    }
}

TEST(EventTiming, NoTruckOnBeforeTheStartingMinimum) {
    const EffectData empty = MakeEffect({});
    TruckData firstOn = truckB();
    EXPECT_EQ(FindTimeOn(empty, kSpan, kRHS, firstOn), 2.16e10);
    EXPECT_EQ(firstOn, truckB());
    EXPECT_EQ(ErrorOf([&] { FindTimeOff(empty, kSpan, kRHS); }), ErrorNumber::SubscriptOutOfRange);

    // A truck entering no earlier than that starting minimum is never the first one on.
    TruckData late = truckA();
    late.TimeSec = 2.16e10;
    EXPECT_EQ(FindTimeOn(MakeEffect({.Trucks = {late}}), kSpan, kRHS, firstOn), 2.16e10);
    EXPECT_EQ(firstOn, truckB());
}

TEST(EventTiming, Failures) {
    TruckData stoppedA = truckA();
    stoppedA.Data(Speed) = 0;
    TruckData stoppedB = truckB();
    stoppedB.Data(Speed) = 0;
    EffectData overCounted = MakeEffect({.Trucks = {truckA()}});
    overCounted.NoTrucks = 2;

    TruckData firstOn;
    // A zero speed divides only where the span or the length is spread over the speed.
    EXPECT_EQ(
        ErrorOf([&] { FindTimeOn(MakeEffect({.Trucks = {stoppedA}}), kSpan, kRHS, firstOn); }),
        std::nullopt);
    EXPECT_EQ(
        ErrorOf([&] { FindTimeOn(MakeEffect({.Trucks = {stoppedB}}), kSpan, kMixed, firstOn); }),
        std::nullopt);
    EXPECT_EQ(ErrorOf([&] { FindTimeOff(MakeEffect({.Trucks = {stoppedA}}), kSpan, kRHS); }),
              ErrorNumber::DivisionByZero);
    EXPECT_EQ(ErrorOf([&] {
                  FindTimeOff(MakeEffect({.Trucks = {truckA(), stoppedB}}), kSpan, kRHS);
              }),
              ErrorNumber::DivisionByZero);
    EXPECT_EQ(ErrorOf([&] { FindTimeOff(overCounted, kSpan, kRHS); }),
              ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { FindTimeOn(overCounted, kSpan, kRHS, firstOn); }),
              ErrorNumber::SubscriptOutOfRange);

    // The copy made before the failing truck stays.
    firstOn = TruckData{};
    EXPECT_EQ(ErrorOf([&] {
                  FindTimeOn(MakeEffect({.Trucks = {truckA(), stoppedB}}), kSpan, kRHS, firstOn);
              }),
              ErrorNumber::DivisionByZero);
    EXPECT_EQ(firstOn, truckA());
}

} // namespace
} // namespace kestavian
