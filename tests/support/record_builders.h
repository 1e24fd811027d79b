#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "data/mod_udts.h"
#include "platform/runtime_error.h"

namespace kestavian::test {

// The truck fields the analysis and drawing read; everything else stays zero.
struct TruckFields {
    std::int16_t Direction = 1;
    double TimeSec = 0;
    std::int16_t Speed = 0;
    std::int16_t Length = 0;
    std::int16_t NoAxles = 0;
    std::int16_t GrossWeight = 0;
    std::vector<std::int16_t> AxleSpacings = {}; // spacing 1, 2, ...
};

// A truck record with the given fields, e.g. MakeTruck({.TimeSec = 100, .Speed = 200}).
TruckData MakeTruck(const TruckFields& fields);

// An effect holding copies of the trucks, with NoTrucks matching.
struct EffectFields {
    double Value = 0;
    double Time = 0;
    double Distance = 0;
    std::vector<TruckData> Trucks = {};
};
EffectData MakeEffect(const EffectFields& fields);

// The error number a call raises, or nothing when it returns.
inline std::optional<ErrorNumber> ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return std::nullopt;
}

} // namespace kestavian::test
