#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/one_based_array.h"

namespace kestavian {

// Indexes of a truck's Data array (1..32), in the order of the fields of a truck line.
enum TruckField : int {
    Day = 2,
    Month = 3,
    Year = 4,
    Hour = 5,
    Minute = 6,
    Second = 7,
    Hundredths = 8,
    Speed = 9,
    GrossWeight = 10,
    Length = 11,
    NoAxles = 12,
    Direction = 14,
};
inline constexpr int TruckFieldCount = 32;

// Index of the weight of axle k (k = 1..9) and of the spacing from axle k to axle k + 1
// (k = 1..8). Out-of-range k gives an index outside 1..32, which Data() refuses.
constexpr int AxleWeight(int k) {
    return 16 + 2 * (k - 1);
}
constexpr int AxleSpacing(int k) {
    return 17 + 2 * (k - 1);
}

// One truck of a load effect.
struct TruckData {
    std::array<std::int16_t, TruckFieldCount> fields{}; // fields[k - 1] holds Data(k)
    std::string SourceLine;
    double TimeSec = 0;

    // Data(k), k = 1..32; a subscript error outside that range.
    std::int16_t Data(long k) const { return fields[dataIndex(k)]; }
    std::int16_t& Data(long k) { return fields[dataIndex(k)]; }

    bool operator==(const TruckData&) const = default;

private:
    static std::size_t dataIndex(long k) {
        if (k < 1 || k > TruckFieldCount)
            raiseError(ErrorNumber::SubscriptOutOfRange);
        return static_cast<std::size_t>(k - 1);
    }
};

// One load effect of an event.
struct EffectData {
    double Value = 0;
    double Time = 0;
    double Distance = 0;
    std::int16_t NoTrucks = 0;
    std::int16_t EffectNo = 0;
    std::int16_t EventIndex = 0;
    OneBasedArray<TruckData> Trucks;

    bool operator==(const EffectData&) const = default;
};

// One event of the file.
struct EventData {
    std::int32_t EventNo = 0;
    std::int16_t EffectCount = 0;
    OneBasedArray<EffectData> Effects;

    bool operator==(const EventData&) const = default;
};

// The events of the opened file and the items it was read from. Rebuilt by each successful
// Open; nothing keeps a reference into it across an Open.
struct EventStore {
    OneBasedArray<EventData> Events;
    std::int16_t NoEvents = 0;
    OneBasedArray<std::string> FileLines;
    std::string FileName;
};

// The view settings, as Form_Load sets them: the program-wide ones, and the two window fields
// that shape the picture (the road's half-width as a fraction of the span, and the mirroring of
// arrows and trucks). Everything a drawing or a timing reads besides the effect is here.
struct ViewSettings {
    float Span = 20.0f;
    std::int16_t NoEffects = 3;
    bool DriveRight = true;
    bool DatumRHS = true;
    float HeightRatio = 0.15f;
    bool FlipDatum = false;
};

// Empties the store of events (FileLines and FileName are left alone).
void ResetEventStore(EventStore& store);
// Appends an event as the parser hands it over; the count is checked before anything changes.
void AddEvent(EventStore& store, EventData event);
// Appends source to target's effects; the count is checked before anything changes. The source is
// taken by value: a caller's record is copied, a record the caller gives up is moved in.
void AddEffect(EffectData source, EventData& target);
// Appends source to target's trucks, taken the same way.
void AddTruck(TruckData source, EffectData& target);

} // namespace kestavian
