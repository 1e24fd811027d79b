#include "data/mod_input.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "data/item_reader.h"
#include "support/record_builders.h"

namespace kestavian {
namespace {

using test::ErrorOf;

const std::string TruckA =
    "10010302011405092524504121655110350623609413085620871308400000000000000000000";
const std::string TruckB =
    "10010302011405106022102881123120400584511513115000000000000000000000000000000";

std::string effectLine(int effectNo, int announced) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%-2d%10.2f%15.2f%10.2f %4d", effectNo, 1523.7,
                  23983510.15, 7.4, announced);
    return buffer.data();
}

std::string withField(std::string line, int startColumn, const std::string& text) {
    return line.replace(static_cast<std::size_t>(startColumn - 1), text.size(), text);
}

EventStore storeOf(const std::vector<std::string>& lines) {
    EventStore store;
    for (const std::string& line : lines)
        store.FileLines.append(line);
    return store;
}

// "EventNo[EffectNo:NoTrucks ...] ...", checking the store's counts against its arrays on the
// way, so a table row can say the whole shape in one string.
std::string shapeOf(const EventStore& store) {
    EXPECT_EQ(store.NoEvents, store.Events.size());
    std::string shape;
    long position = 0;
    for (const EventData& event : store.Events) {
        ++position;
        EXPECT_EQ(event.EffectCount, event.Effects.size());
        if (!shape.empty())
            shape += ' ';
        shape += std::to_string(event.EventNo);
        shape += '[';
        bool first = true;
        for (const EffectData& effect : event.Effects) {
            EXPECT_EQ(effect.NoTrucks, effect.Trucks.size());
            EXPECT_EQ(effect.EventIndex, position);
            if (!first)
                shape += ' ';
            shape += std::to_string(effect.EffectNo);
            shape += ':';
            shape += std::to_string(effect.NoTrucks);
            first = false;
        }
        shape += "]";
    }
    return shape;
}

EventStore storeOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    const std::string content{std::istreambuf_iterator<char>(in), {}};
    EventStore store;
    for (const std::string& item : splitItems(content))
        store.FileLines.append(item);
    return store;
}

TEST(WorkedExampleTest, ParsesEveryField) {
    EventStore store = storeOfFile(std::string(KESTAVIAN_FIXTURES) + "/worked_example.txt");
    ASSERT_EQ(store.FileLines.size(), 7);

    ParseEventFile(store, 3);
    ASSERT_EQ(shapeOf(store), "12[1:2 2:0 3:1]");
    const EffectData& effect1 = store.Events(1).Effects(1);
    EXPECT_DOUBLE_EQ(effect1.Value, 1523.7);
    EXPECT_DOUBLE_EQ(effect1.Time, 23983510.15);
    EXPECT_DOUBLE_EQ(effect1.Distance, 7.4);
    const EffectData& effect2 = store.Events(1).Effects(2);
    EXPECT_DOUBLE_EQ(effect2.Value, 980.12);
    EXPECT_DOUBLE_EQ(effect2.Time, 23983509.90);
    EXPECT_DOUBLE_EQ(effect2.Distance, 12.05);

    const std::array<std::int16_t, 32> fieldsA{1001, 3,  2, 1,  14, 5,  9,  25, 245, 412, 165,
                                               5,    1,  1, 35, 62, 36, 94, 13, 85,  62,  87,
                                               13,   84, 0, 0,  0,  0,  0,  0,  0,   0};
    const std::array<std::int16_t, 32> fieldsB{1001, 3, 2, 1,  14, 5,  10,  60, 221, 288, 112,
                                               3,    1, 2, 40, 58, 45, 115, 13, 115, 0,   0,
                                               0,    0, 0, 0,  0,  0,  0,   0,  0,   0};
    const TruckData& truckA = effect1.Trucks(1);
    const TruckData& truckB = effect1.Trucks(2);
    EXPECT_EQ(truckA.fields, fieldsA);
    EXPECT_EQ(truckB.fields, fieldsB);
    EXPECT_EQ(truckA.SourceLine, TruckA);
    EXPECT_DOUBLE_EQ(truckA.TimeSec, 23983509.25);
    EXPECT_DOUBLE_EQ(truckB.TimeSec, 23983510.6);
    EXPECT_EQ(store.Events(1).Effects(3).Trucks(1), truckB);
}

// The sample files other tests and the viewer rely on: every event whole, every truck
// crossing near its effect's time.
TEST(ExampleFilesTest, ParseToTheEnd) {
    for (const auto& [name, events] : std::vector<std::pair<std::string, long>>{
             {"Events_30_sample.txt", 40}, {"events_no_span.txt", 5}}) {
        SCOPED_TRACE(name);
        EventStore store = storeOfFile(std::string(KESTAVIAN_EXAMPLES) + "/" + name);
        ParseEventFile(store, 3);
        ASSERT_EQ(store.NoEvents, events);
        for (const EventData& event : store.Events) {
            EXPECT_EQ(event.EffectCount, 3);
            for (const EffectData& effect : event.Effects)
                for (const TruckData& truck : effect.Trucks)
                    EXPECT_NEAR(truck.TimeSec, effect.Time, 5.0);
        }
    }
}

struct ParseCase {
    const char* name;
    std::vector<std::string> lines;
    std::int16_t noEffects;
    std::string shape;
    std::string stop = {}; // empty: the parse runs to the end
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseEventFileTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseEventFileTest, BuildsTheStore) {
    const ParseCase& c = GetParam();
    EventStore store = storeOf(c.lines);
    AddEvent(store, "99"); // a previous file's event must go
    ParseStop stop;
    const std::optional<ErrorNumber> error =
        ErrorOf([&] { ParseEventFile(store, c.noEffects, &stop); });
    EXPECT_EQ(shapeOf(store), c.shape);
    std::string stopText;
    if (error) {
        EXPECT_EQ(stop.number, *error);
        stopText = "item " + std::to_string(stop.item) + " " + stop.field + ": " +
                   errorDescription(*error);
    }
    EXPECT_EQ(stopText, c.stop);
}

const std::string E1 = effectLine(1, 0);
const std::string Blank;

INSTANTIATE_TEST_SUITE_P(
    StateMachine, ParseEventFileTest,
    ::testing::Values(
        ParseCase{"EmptyFile", {}, 3, ""},
        ParseCase{"ZeroAndNegativeAnnounced",
                  {"1", E1, effectLine(2, -2), effectLine(3, 1), TruckA, "2", effectLine(1, 1),
                   TruckA, effectLine(2, 0), effectLine(3, -1), "3", E1},
                  3,
                  "1[1:0 2:0 3:1] 2[1:1 2:0 3:0] 3[1:0]"},
        ParseCase{"WaitingEffectKeptAtEnd", {"1", E1, effectLine(2, 1), TruckA}, 3, "1[1:0 2:1]"},
        ParseCase{"EffectShortOfTrucksLostAtEnd", {"1", E1, effectLine(2, 2), TruckA}, 3, "1[1:0]"},
        ParseCase{"BlankLineAfterLastEvent",
                  {"1", E1, Blank},
                  1,
                  "1[1:0]",
                  "item 3 EventNo: Type mismatch"},
        ParseCase{"BlankLineBetweenEvents",
                  {"1", E1, Blank, "2", E1},
                  1,
                  "1[1:0]",
                  "item 3 EventNo: Type mismatch"},
        // The waiting effect is appended before the blank line fails as the next effect line.
        ParseCase{"BlankLineAfterWaitingEffect",
                  {"1", E1, Blank},
                  3,
                  "1[1:0]",
                  "item 3 EffectNo: Type mismatch"},
        ParseCase{"ShortTruckLine",
                  {"1", effectLine(1, 1), TruckA.substr(0, 74)},
                  1,
                  "1[]",
                  "item 3 AxleWeight 9: Type mismatch"},
        ParseCase{"NoEffectsZeroNeverClosesTheEvent",
                  {"1", E1, effectLine(2, 1), TruckA, effectLine(3, 0)},
                  0,
                  "1[1:0 2:1 3:0]"},
        ParseCase{"NoEffectsNegativeReadsNextHeaderAsEffect",
                  {"1", E1, "2", E1},
                  -1,
                  "1[1:0]",
                  "item 3 Value: Type mismatch"},
        // Three effects per event read two at a time: the third effect line is taken as a
        // header, and its columns 1-6 are no number.
        ParseCase{"WrongNoEffectsGoesOutOfStep",
                  {"1", E1, effectLine(2, 0), effectLine(3, 0), "2", E1},
                  2,
                  "1[1:0 2:0]",
                  "item 4 EventNo: Type mismatch"},
        ParseCase{
            "EventNoBeyondSixteenBits", {"999999", E1, "40000", E1}, 1, "999999[1:0] 40000[1:0]"},
        ParseCase{"BadFieldKeepsWhatWasAppended",
                  {"1", effectLine(1, 1), TruckA, "2", effectLine(1, 2), TruckA,
                   withField(TruckB, 19, "2x5")},
                  1,
                  "1[1:1] 2[]",
                  "item 7 Speed: Type mismatch"},
        ParseCase{"TruckFieldOutOfRange",
                  {"1", effectLine(1, 1), withField(TruckA, 19, "9e9")},
                  1,
                  "1[]",
                  "item 3 Speed: Overflow"},
        ParseCase{"AnnouncedOutOfRange",
                  {"1", withField(E1, 39, "9e99")},
                  1,
                  "1[]",
                  "item 2 announced trucks: Overflow"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseStopTest, NamesTheFieldItsColumnsAndText) {
    EventStore store = storeOf({"7", effectLine(1, 1), withField(TruckA, 48, "x1")});
    ParseStop stop;
    EXPECT_EQ(ErrorOf([&] { ParseEventFile(store, 3, &stop); }), ErrorNumber::TypeMismatch);
    EXPECT_EQ(stop.item, 3);
    EXPECT_EQ(stop.field, "AxleSpacing 3");
    EXPECT_EQ(stop.startColumn, 48);
    EXPECT_EQ(stop.width, 2);
    EXPECT_EQ(stop.text, "x1");
}

// Padded, signed or trailed lines take the general rules; their fields read the same.
TEST(ParseTruckLineTest, WrittenVariantsReadAlike) {
    const TruckData plain = ParseTruckLine(TruckA);
    EXPECT_EQ(ParseTruckLine(TruckA + " ignored after column 77").fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckA, 5, " 3")).fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckA, 22, "+412")).fields, plain.fields);
    const TruckData negative = ParseTruckLine(withField(TruckA, 19, "-45"));
    EXPECT_EQ(negative.Data(Speed), -45);
    EXPECT_EQ(negative.Data(GrossWeight), plain.Data(GrossWeight));
}

struct TimeCase {
    std::array<std::int16_t, 7> ymdhmsh; // Year, Month, Day, Hour, Minute, Second, Hundredths
    std::optional<double> seconds;       // nothing: overflow
};

TEST(TruckTimeSecondsTest, CalendarOfTwentyFiveDayMonths) {
    const std::vector<TimeCase> cases{
        {{0, 1, 1, 0, 0, 0, 0}, 0.0},
        {{1, 1, 1, 0, 0, 0, 0}, 21'600'000.0}, // the year is not decreased
        {{0, 2, 2, 1, 1, 1, 50}, 2'160'000.0 + 86'400 + 3'600 + 60 + 1 + 0.5},
        {{0, 0, 0, 0, 0, 0, 0}, -2'160'000.0 - 86'400},
        {{0, -32768, 1, 0, 0, 0, 0}, std::nullopt},
        {{0, 1, -32768, 0, 0, 0, 0}, std::nullopt},
    };
    for (const TimeCase& c : cases) {
        TruckData truck;
        const std::array<int, 7> index{Year, Month, Day, Hour, Minute, Second, Hundredths};
        for (std::size_t i = 0; i < index.size(); ++i)
            truck.Data(index[i]) = c.ymdhmsh[i];
        if (c.seconds) {
            EXPECT_DOUBLE_EQ(TruckTimeSeconds(truck), *c.seconds);
        } else {
            EXPECT_EQ(ErrorOf([&] { (void)TruckTimeSeconds(truck); }), ErrorNumber::Overflow);
        }
    }
}

TEST(SpanTextTest, TextBetweenFirstTwoUnderscores) {
    EXPECT_EQ(SpanTextFromFileName("Events_45_run2.txt"), "45");
    EXPECT_EQ(SpanTextFromFileName("x_12.5_y_z.txt"), "12.5");
    EXPECT_EQ(SpanTextFromFileName("a__b.txt"), "");
    EXPECT_EQ(SpanTextFromFileName("run_45.txt"), "");
    EXPECT_EQ(SpanTextFromFileName("events.txt"), "");
}

} // namespace
} // namespace kestavian
