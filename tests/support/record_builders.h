#pragma once

#include <QImage>
#include <QLocale>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "data/mod_udts.h"
#include "platform/runtime_error.h"

namespace kestavian::test {

// The bytes of a file, and of a file of tests/fixtures.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
inline std::string fixtureText(const std::string& name) {
    return fileText(KESTAVIAN_FIXTURES "/" + name);
}

// The truck fields the analysis and drawing read; everything else stays zero.
struct TruckFields {
    std::int16_t Direction = 1;
    double TimeSec = 0;
    std::int16_t Speed = 0, Length = 0, NoAxles = 0, GrossWeight = 0;
    std::vector<std::int16_t> AxleSpacings = {}; // spacing 1, 2, ...
};

// A truck record with the given fields, e.g. MakeTruck({.TimeSec = 100, .Speed = 200}).
inline TruckData MakeTruck(const TruckFields& fields) {
    TruckData truck;
    truck.TimeSec = fields.TimeSec;
    truck.Data(Direction) = fields.Direction;
    truck.Data(Speed) = fields.Speed;
    truck.Data(Length) = fields.Length;
    truck.Data(NoAxles) = fields.NoAxles;
    truck.Data(GrossWeight) = fields.GrossWeight;
    for (std::size_t k = 0; k < fields.AxleSpacings.size(); ++k)
        truck.Data(AxleSpacing(static_cast<int>(k) + 1)) = fields.AxleSpacings[k];
    return truck;
}

// The timing trucks: A heads in direction 1 at 20 m/s, 15 m long, stamped at 100 s; B heads in
// direction 2 at 25 m/s, 10 m long, stamped at 101 s.
inline TruckData TruckA() {
    return MakeTruck({.Direction = 1, .TimeSec = 100.0, .Speed = 200, .Length = 150});
}
inline TruckData TruckB() {
    return MakeTruck({.Direction = 2, .TimeSec = 101.0, .Speed = 250, .Length = 100});
}

// A copy of the truck with Data(field) set to value.
inline TruckData With(TruckData truck, int field, std::int16_t value) {
    truck.Data(field) = value;
    return truck;
}

// An effect holding copies of the trucks, with NoTrucks matching.
struct EffectFields {
    double Value = 0, Time = 0, Distance = 0;
    std::vector<TruckData> Trucks = {};
};
inline EffectData MakeEffect(const EffectFields& fields) {
    EffectData effect;
    effect.Value = fields.Value;
    effect.Time = fields.Time;
    effect.Distance = fields.Distance;
    for (const TruckData& truck : fields.Trucks)
        AddTruck(truck, effect);
    return effect;
}

// The default locale set for the scope of a test, so numbers follow that locale's separator.
class LocaleForTest {
public:
    explicit LocaleForTest(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }
    ~LocaleForTest() { QLocale::setDefault(before_); }

private:
    QLocale before_;
};

// The lengths of the dark runs down one column of an image's pixels.
inline std::vector<int> darkRuns(const QImage& image, int column) {
    std::vector<int> runs{0};
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(column, y)) >= 128)
            runs.push_back(0);
        else
            ++runs.back();
    std::erase(runs, 0);
    return runs;
}

// The error number a call raises, or nothing when it returns.
inline std::optional<ErrorNumber> ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return std::nullopt;
}

// What a call gives as one text, so a table row can hold a value or an error alike: a number in
// its shortest exact form ("0.1", "1e+300"), a text as it is, or the error's description.
template <typename Call> std::string Outcome(Call call) {
    try {
        const auto value = call();
        if constexpr (std::is_floating_point_v<decltype(value)>) {
            char buffer[64];
            return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        } else if constexpr (std::is_integral_v<decltype(value)>) {
            return std::to_string(value);
        } else {
            return std::string(value);
        }
    } catch (const RuntimeError& e) {
        return errorDescription(e.number());
    }
}

} // namespace kestavian::test
