#include "data/mod_udts.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/record_builders.h"

namespace kestavian {
namespace {

using test::ErrorOf;

TEST(TruckDataTest, DataIsIndexedOneToThirtyTwo) {
    TruckData truck;
    truck.Data(1) = 7;
    truck.Data(32) = 9;
    EXPECT_EQ(truck.fields.front(), 7);
    EXPECT_EQ(truck.fields.back(), 9);
    const TruckData& readOnly = truck;
    for (long k : {0L, 33L, -1L}) {
        EXPECT_EQ(ErrorOf([&] { truck.Data(k) = 1; }), ErrorNumber::SubscriptOutOfRange) << k;
        EXPECT_EQ(ErrorOf([&] { (void)readOnly.Data(k); }), ErrorNumber::SubscriptOutOfRange) << k;
    }
}

TEST(EventStoreTest, AppendsStoreCopies) {
    TruckData working;
    working.Data(Speed) = 245;
    working.SourceLine = "first";
    EffectData effect;
    AddTruck(working, effect);
    AddTruck(working, effect); // an identical truck is a second truck
    working.Data(Speed) = 1;
    working.SourceLine = "overwritten";
    ASSERT_EQ(effect.NoTrucks, 2);
    EXPECT_EQ(effect.Trucks(1).Data(Speed), 245);
    EXPECT_EQ(effect.Trucks(2).SourceLine, "first");

    EventData event;
    AddEffect(effect, event);
    AddTruck(working, effect);
    EXPECT_EQ(event.EffectCount, 1);
    EXPECT_EQ(event.Effects(1).NoTrucks, 2);
    EXPECT_EQ(event.Effects(1).Trucks.size(), 2);
}

TEST(EventStoreTest, ResetEmptiesEventsOnly) {
    EventStore store;
    store.FileName = "Events_30_x.txt";
    store.FileLines.append("1");
    AddEvent(store, "1");
    ResetEventStore(store);
    EXPECT_EQ(store.NoEvents, 0);
    EXPECT_EQ(ErrorOf([&] { (void)store.Events(1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(store.FileLines.size(), 1);
    EXPECT_EQ(store.FileName, "Events_30_x.txt");
}

// A count at 32767 refuses the append before anything changes.
TEST(EventStoreTest, CountOverflowChangesNothing) {
    EventStore store;
    store.NoEvents = 32767;
    EXPECT_EQ(ErrorOf([&] { AddEvent(store, "1"); }), ErrorNumber::Overflow);
    EXPECT_EQ(store.NoEvents, 32767);
    EXPECT_TRUE(store.Events.empty());

    EventData event;
    event.EffectCount = 32767;
    EXPECT_EQ(ErrorOf([&] { AddEffect(EffectData{}, event); }), ErrorNumber::Overflow);
    EXPECT_EQ(event.EffectCount, 32767);
    EXPECT_TRUE(event.Effects.empty());

    EffectData effect;
    effect.NoTrucks = 32767;
    EXPECT_EQ(ErrorOf([&] { AddTruck(TruckData{}, effect); }), ErrorNumber::Overflow);
    EXPECT_EQ(effect.NoTrucks, 32767);
    EXPECT_TRUE(effect.Trucks.empty());
}

} // namespace
} // namespace kestavian
