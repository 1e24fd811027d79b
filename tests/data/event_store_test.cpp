#include "data/mod_udts.h"

#include <gtest/gtest.h>
#include <utility>

#include "support/record_builders.h"

namespace kestavian::test {
namespace {

TEST(EventStore, SubscriptsAppendedCopiesAndReset) {
    TruckData working;
    working.Data(1) = 245;
    for (long k : {0L, 33L}) {
        EXPECT_EQ(ErrorOf([&] { working.Data(k) = 1; }), ErrorNumber::SubscriptOutOfRange);
        EXPECT_EQ(ErrorOf([&] { std::as_const(working).Data(k); }),
                  ErrorNumber::SubscriptOutOfRange);
    }

    EffectData effect;
    AddTruck(working, effect);
    AddTruck(working, effect); // an identical truck is a second truck
    working.Data(1) = 1;
    EventStore store;
    store.FileName = "Events_30_x.txt";
    store.FileLines.append("1");
    AddEvent(store, "1");
    AddEffect(effect, store.Events(1));
    AddTruck(working, effect);
    EXPECT_EQ(store.Events(1).Effects(1).NoTrucks, 2);
    EXPECT_EQ(store.Events(1).Effects(1).Trucks.size(), 2);
    EXPECT_EQ(store.Events(1).Effects(1).Trucks(2).Data(1), 245);

    ResetEventStore(store);
    EXPECT_EQ(store.NoEvents, 0);
    EXPECT_EQ(ErrorOf([&] { store.Events(1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(store.FileLines.size(), 1);
    EXPECT_EQ(store.FileName, "Events_30_x.txt");
}

// A count at 32767 refuses the append before anything changes.
TEST(EventStore, CountOverflowChangesNothing) {
    EventStore store;
    store.NoEvents = 32767;
    EventData event;
    event.EffectCount = 32767;
    EffectData effect;
    effect.NoTrucks = 32767;
    EXPECT_EQ(ErrorOf([&] { AddEvent(store, "1"); }), ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([&] { AddEffect(EffectData{}, event); }), ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([&] { AddTruck(TruckData{}, effect); }), ErrorNumber::Overflow);
    EXPECT_EQ(store.NoEvents + event.EffectCount + effect.NoTrucks, 3 * 32767);
    EXPECT_TRUE(store.Events.empty() && event.Effects.empty() && effect.Trucks.empty());
}

} // namespace
} // namespace kestavian::test
