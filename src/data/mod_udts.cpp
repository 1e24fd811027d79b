#include "data/mod_udts.h"

#include <utility>

#include "platform/checked_arithmetic.h"

namespace kestavian {

void ResetEventStore(EventStore& store) {
    store.Events.clear();
    store.NoEvents = 0;
}

void AddEvent(EventStore& store, EventData event) {
    // Counted first, so a full store raises before it changes.
    const std::int16_t count = add16(store.NoEvents, 1);
    store.Events.append(std::move(event));
    store.NoEvents = count;
}

void AddEffect(EffectData source, EventData& target) {
    const std::int16_t count = add16(target.EffectCount, 1);
    target.Effects.append(std::move(source));
    target.EffectCount = count;
}

void AddTruck(TruckData source, EffectData& target) {
    const std::int16_t count = add16(target.NoTrucks, 1);
    target.Trucks.append(std::move(source));
    target.NoTrucks = count;
}

} // namespace kestavian
