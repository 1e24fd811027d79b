#include "support/record_builders.h"

#include <stdexcept>

namespace kestavian::test {

TruckData MakeTruck(const TruckFields& fields) {
    TruckData truck;
    truck.TimeSec = fields.TimeSec;
    truck.Data(Direction) = fields.Direction;
    truck.Data(Speed) = fields.Speed;
    truck.Data(Length) = fields.Length;
    truck.Data(NoAxles) = fields.NoAxles;
    truck.Data(GrossWeight) = fields.GrossWeight;
    int k = 1;
    for (std::int16_t spacing : fields.AxleSpacings)
        truck.Data(AxleSpacing(k++)) = spacing;
    return truck;
}

TruckData TruckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150});
}

TruckData TruckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100});
}

EffectData MakeEffect(const EffectFields& fields) {
    if (fields.Trucks.size() > 32767)
        throw std::length_error("more trucks than an effect can count");
    EffectData effect;
    effect.Value = fields.Value;
    effect.Time = fields.Time;
    effect.Distance = fields.Distance;
    for (const TruckData& truck : fields.Trucks)
        effect.Trucks.append(truck);
    effect.NoTrucks = static_cast<std::int16_t>(fields.Trucks.size());
    return effect;
}

} // namespace kestavian::test
