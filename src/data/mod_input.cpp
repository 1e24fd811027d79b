#include "data/mod_input.h"

#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>
#include <string_view>
#include <utility>

#include "data/event_file_reader.h"
#include "data/item_reader.h"
#include "data/line_fields.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"

namespace kestavian {

namespace {

constexpr FieldLayout EventNoField{"EventNo", 1, 6};
constexpr FieldLayout EffectNoField{"EffectNo", 1, 2};
constexpr FieldLayout ValueField{"Value", 3, 10};
constexpr FieldLayout TimeField{"Time", 13, 15};
constexpr FieldLayout DistanceField{"Distance", 28, 10};
constexpr FieldLayout AnnouncedField{"announced trucks", 39, 4};

// The truck line's fields, Data(1) to Data(32).
constexpr std::array<FieldLayout, TruckFieldCount> TruckFields{{
    {"Data(1)", 1, 4},        {"Day", 5, 2},
    {"Month", 7, 2},          {"Year", 9, 2},
    {"Hour", 11, 2},          {"Minute", 13, 2},
    {"Second", 15, 2},        {"Hundredths", 17, 2},
    {"Speed", 19, 3},         {"GrossWeight", 22, 4},
    {"Length", 26, 3},        {"NoAxles", 29, 1},
    {"Data(13)", 30, 1},      {"Direction", 31, 1},
    {"Data(15)", 32, 3},      {"AxleWeight 1", 35, 3},
    {"AxleSpacing 1", 38, 2}, {"AxleWeight 2", 40, 3},
    {"AxleSpacing 2", 43, 2}, {"AxleWeight 3", 45, 3},
    {"AxleSpacing 3", 48, 2}, {"AxleWeight 4", 50, 3},
    {"AxleSpacing 4", 53, 2}, {"AxleWeight 5", 55, 3},
    {"AxleSpacing 5", 58, 2}, {"AxleWeight 6", 60, 3},
    {"AxleSpacing 6", 63, 2}, {"AxleWeight 7", 65, 3},
    {"AxleSpacing 7", 68, 2}, {"AxleWeight 8", 70, 3},
    {"AxleSpacing 8", 73, 2}, {"AxleWeight 9", 75, 3},
}};

// The fields tile columns 1-77 without gaps; a typo in the table above would shift a field.
constexpr bool truckFieldsTile() {
    int next = 1;
    for (const FieldLayout& field : TruckFields) {
        if (field.startColumn != next || field.width < 1)
            return false;
        next += field.width;
    }
    return next == 78;
}
static_assert(truckFieldsTile());
static_assert(TruckFields.back().startColumn + TruckFields.back().width - 1 == LastColumnRead);
static_assert(TruckFields[Speed - 1].startColumn == 19 &&
              TruckFields[AxleSpacing(8) - 1].width == 2);

constexpr bool truckFieldsFitFourDigits() {
    for (const FieldLayout& field : TruckFields)
        if (field.width > 4)
            return false;
    return true;
}

// Whether the eight bytes at p are all digits: each byte's high nibble is 3, and stays 3 when 6 is
// added to its low one.
bool eightDigits(const char* p) {
    constexpr std::uint64_t highNibbles = 0xF0F0F0F0F0F0F0F0u;
    constexpr std::uint64_t threes = 0x3030303030303030u;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & highNibbles) == threes && ((word + 0x0606060606060606u) & highNibbles) == threes;
}

template <std::size_t Field> std::int16_t digitsOf(const char* line) {
    constexpr FieldLayout field = TruckFields[Field];
    int value = 0;
    for (int i = 0; i < field.width; ++i)
        value = value * 10 + (line[field.startColumn - 1 + i] - '0');
    return static_cast<std::int16_t>(value);
}

template <std::size_t... Field>
void readDigitFields(const char* line, TruckData& truck, std::index_sequence<Field...>) {
    ((truck.fields[Field] = digitsOf<Field>(line)), ...);
}

// Nearly every truck line is 77 digits. Its fields are then read straight off them: at most
// four digits each, so the values are the ones the general rules give and always fit.
bool allDigitTruckLine(std::string_view line) {
    static_assert(truckFieldsFitFourDigits());
    constexpr std::size_t columns = LastColumnRead;
    if (line.size() < columns)
        return false;
    for (std::size_t i = 0; i + 8 <= columns; i += 8)
        if (!eightDigits(line.data() + i))
            return false;
    return eightDigits(line.data() + columns - 8);
}

} // namespace

std::int32_t parseEventNo(std::string_view line) {
    return readInt32Field(line, EventNoField);
}

EffectData ParseEffectLine(std::string_view line, std::int16_t noEvents) {
    EffectData effect;
    effect.EffectNo = readInt16Field(line, EffectNoField);
    effect.Value = readDoubleField(line, ValueField);
    effect.Time = readDoubleField(line, TimeField);
    effect.Distance = readDoubleField(line, DistanceField);
    effect.EventIndex = noEvents;
    return effect;
}

std::int16_t parseAnnouncedTrucks(std::string_view line) {
    return readInt16Field(line, AnnouncedField);
}

namespace {
void readGeneralTruckFields(std::string_view line, TruckData& truck) {
    for (int k = 1; k <= TruckFieldCount; ++k)
        truck.Data(k) = readInt16Field(line, TruckFields[static_cast<std::size_t>(k - 1)]);
}
} // namespace

void CheckTruckLine(std::string_view line) {
    // An all-digit line's fields all read; only another line needs its fields read to know.
    if (!allDigitTruckLine(line)) {
        TruckData fields;
        readGeneralTruckFields(line, fields);
    }
}

TruckData ParseTruckLine(std::string_view line, bool keepSourceLine) {
    TruckData truck;
    if (allDigitTruckLine(line))
        readDigitFields(line.data(), truck, std::make_index_sequence<TruckFieldCount>{});
    else
        readGeneralTruckFields(line, truck);
    if (keepSourceLine)
        truck.SourceLine = line;
    truck.TimeSec = TruckTimeSeconds(truck);
    return truck;
}

double TruckTimeSeconds(const TruckData& truck) {
    // The order is fixed (each product left to right, each new term added to the running
    // total) so that the rounding of every time stamp, and of every time derived from it, is
    // always the same.
    double t = static_cast<double>(truck.Data(Year)) * 250 * 24 * 3600;
    t = static_cast<double>(sub16(truck.Data(Month), 1)) * 25 * 24 * 3600 + t;
    t = static_cast<double>(sub16(truck.Data(Day), 1)) * 24 * 3600 + t;
    t = static_cast<double>(truck.Data(Hour)) * 3600 + t;
    t = static_cast<double>(truck.Data(Minute)) * 60 + t;
    t = static_cast<double>(truck.Data(Second)) + t;
    t = static_cast<double>(truck.Data(Hundredths)) / 100 + t;
    return t;
}

void ParseEventFile(EventStore& store, std::int16_t noEffects, ParseStop* stop) {
    ResetEventStore(store);
    EventParser parser({noEffects, 32767, ParserOptions::Trucks::Whole},
                       [&store](ParsedEvent& parsed) { AddEvent(store, std::move(parsed.event)); });
    try {
        for (const std::string& line : store.FileLines)
            parser.push(Item{line});
        parser.finish();
    } catch (const RuntimeError&) {
        if (stop != nullptr && parser.stop())
            *stop = *parser.stop();
        throw;
    }
}

std::string bareFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string spanTextFromFileName(const std::string& fileName) {
    const std::size_t first = fileName.find('_');
    if (first == std::string::npos)
        return {};
    const std::size_t second = fileName.find('_', first + 1);
    if (second == std::string::npos)
        return {};
    return fileName.substr(first + 1, second - first - 1);
}

} // namespace kestavian
