#include "data/mod_input.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "data/item_reader.h"
#include "data/line_fields.h"
#include "platform/numbers.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

const std::string TruckLineA =
    "10010302011405092524504121655110350623609413085620871308400000000000000000000";
const std::string TruckLineB =
    "10010302011405106022102881123120400584511513115000000000000000000000000000000";

std::string effectLine(int effectNo, int announced) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%-2d%10.2f%15.2f%10.2f %4d", effectNo, 1523.7,
                  23983510.15, 7.4, announced);
    return buffer;
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

// The store as "EventNo[EffectNo:NoTrucks ...] ...", checking every count against its array.
std::string shapeOf(const EventStore& store) {
    EXPECT_EQ(store.NoEvents, store.Events.size());
    std::string shape;
    long position = 0;
    for (const EventData& event : store.Events) {
        EXPECT_EQ(event.EffectCount, event.Effects.size());
        shape += (shape.empty() ? "" : " ") + std::to_string(event.EventNo) + "[";
        ++position;
        for (const EffectData& effect : event.Effects) {
            EXPECT_EQ(effect.NoTrucks, effect.Trucks.size());
            EXPECT_EQ(effect.EventIndex, position);
            shape += (shape.back() == '[' ? "" : " ") + std::to_string(effect.EffectNo) + ":" +
                     std::to_string(effect.NoTrucks);
        }
        shape += "]";
    }
    return shape;
}

TEST(ParseEventFile, WorkedExampleReadsEveryField) {
    EventStore store = storeOf(splitItems(fixtureText("worked_example.txt")));
    ParseEventFile(store, 3);
    ASSERT_EQ(shapeOf(store), "12[1:2 2:0 3:1]");
    const EffectData& effect1 = store.Events(1).Effects(1);
    const EffectData& effect2 = store.Events(1).Effects(2);
    EXPECT_DOUBLE_EQ(effect1.Value, 1523.7);
    EXPECT_DOUBLE_EQ(effect1.Time, 23983510.15);
    EXPECT_DOUBLE_EQ(effect1.Distance, 7.4);
    EXPECT_DOUBLE_EQ(effect2.Time, 23983509.90);

    const TruckData& truckA = effect1.Trucks(1);
    const TruckData& truckB = effect1.Trucks(2);
    EXPECT_EQ(testing::PrintToString(truckA.fields),
              "{ 1001, 3, 2, 1, 14, 5, 9, 25, 245, 412, 165, 5, 1, 1, 35, 62, 36, 94, 13, 85, 62, "
              "87, 13, 84, 0, 0, 0, 0, 0, 0, 0, 0 }");
    EXPECT_EQ(testing::PrintToString(truckB.fields),
              "{ 1001, 3, 2, 1, 14, 5, 10, 60, 221, 288, 112, 3, 1, 2, 40, 58, 45, 115, 13, 115, "
              "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }");
    EXPECT_EQ(truckA.SourceLine, TruckLineA);
    EXPECT_DOUBLE_EQ(truckA.TimeSec, 23983509.25);
    EXPECT_DOUBLE_EQ(truckB.TimeSec, 23983510.6);
    EXPECT_EQ(store.Events(1).Effects(3).Trucks(1), truckB);
}

TEST(ParseEventFile, StateMachine) {
    const auto E = effectLine;
    const std::string E1 = E(1, 0), shortTruck = TruckLineA.substr(0, 74);
    const std::string badSpacing = withField(TruckLineB, 48, "x1"),
                      badSpeed = withField(TruckLineA, 19, "9e9");
    const struct {
        std::vector<std::string> lines;
        std::int16_t noEffects;
        std::string shape;
        std::string stop = {}; // empty: the parse runs to the end
    } cases[] = {
        {{}, 3, ""},
        {{"1", E1, E(2, -2), E(3, 1), TruckLineA, "2", E(1, 1), TruckLineA, E(2, 0), E(3, -1), "3",
          E1},
         3,
         "1[1:0 2:0 3:1] 2[1:1 2:0 3:0] 3[1:0]"},
        // A complete effect waiting at the end is kept; one short of trucks is lost.
        {{"1", E1, E(2, 1), TruckLineA}, 3, "1[1:0 2:1]"},
        {{"1", E1, E(2, 2), TruckLineA}, 3, "1[1:0]"},
        {{"1", E1, ""}, 1, "1[1:0]", "3 EventNo 1,6 '': Type mismatch"},
        // The waiting effect is appended before the blank line fails as the next effect line.
        {{"1", E1, ""}, 3, "1[1:0]", "3 EffectNo 1,2 '': Type mismatch"},
        {{"1", E(1, 1), shortTruck}, 1, "1[]", "3 AxleWeight 9 75,3 '': Type mismatch"},
        // No count of effects ever closes the event, or the next header is read as an effect.
        {{"1", E1, E(2, 1), TruckLineA, E(3, 0)}, 0, "1[1:0 2:1 3:0]"},
        {{"1", E1, "2", E1}, -1, "1[1:0]", "3 Value 3,10 '': Type mismatch"},
        // Three effects read two at a time: the third effect line is taken for a header.
        {{"1", E1, E(2, 0), E(3, 0), "2", E1},
         2,
         "1[1:0 2:0]",
         "4 EventNo 1,6 '3    1': Type mismatch"},
        {{"999999", E1, "40000", E1}, 1, "999999[1:0] 40000[1:0]"},
        {{"1", E(1, 1), TruckLineA, "2", E(1, 2), TruckLineA, badSpacing},
         1,
         "1[1:1] 2[]",
         "7 AxleSpacing 3 48,2 'x1': Type mismatch"},
        {{"1", E(1, 1), badSpeed}, 1, "1[]", "3 Speed 19,3 '9e9': Overflow"},
        {{"1", withField(E1, 39, "9e99")}, 1, "1[]", "2 announced trucks 39,4 '9e99': Overflow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        EventStore store = storeOf(c.lines);
        AddEvent(store, EventData{}); // a previous file's event must go
        ParseStop stop;
        const auto error = ErrorOf([&] { ParseEventFile(store, c.noEffects, &stop); });
        EXPECT_EQ(shapeOf(store), c.shape);
        EXPECT_EQ(error ? std::to_string(stop.item) + " " + stop.field + " " +
                              std::to_string(stop.startColumn) + "," + std::to_string(stop.width) +
                              " '" + stop.text + "': " + errorDescription(stop.number)
                        : "",
                  c.stop);
        EXPECT_EQ(stop.number, error.value_or(ErrorNumber::TypeMismatch));
    }
}

// The stream has no limit of events; the store stops at the header of the 32768th. Past 32767 an
// effect's 16-bit EventIndex can name no event, so it is 0.
TEST(ParseEventFile, StreamGoesPastTheStoresLimit) {
    EventStore store;
    std::vector<ParsedEvent> streamed;
    EventParser parser({.noEffects = 1}, [&](ParsedEvent& event) { streamed.push_back(event); });
    for (int i = 0; i < 32768; ++i)
        for (const std::string& line : {std::string("7"), effectLine(1, 0)}) {
            store.FileLines.append(line);
            parser.push(Item{line});
        }
    parser.finish();
    ParseStop stop;
    EXPECT_EQ(ErrorOf([&] { ParseEventFile(store, 1, &stop); }), ErrorNumber::Overflow);
    EXPECT_EQ(store.NoEvents, 32767);
    EXPECT_EQ(describeStop(stop), "stopped at line 65535: Overflow: more than 32767 events");
    ASSERT_EQ(streamed.size(), 32768u);
    EXPECT_EQ(streamed[32766].event, store.Events(32767));
    EXPECT_EQ(streamed[32767].position, 32768u);
    EXPECT_EQ(streamed[32767].event.Effects(1).EventIndex, 0);
}

// Padded, signed or trailed lines leave the all-digit path; their fields read the same.
TEST(ParseEventFile, TruckLineVariantsReadAlike) {
    const TruckData plain = ParseTruckLine(TruckLineA);
    EXPECT_EQ(ParseTruckLine(TruckLineA + " ignored after column 77").fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA, 5, " 3")).fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA, 9, " 1")).fields, plain.fields); // 2nd word
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA, 22, "+412")).fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA, 75, " ")).fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA, 77, " ")).fields, plain.fields);
    EXPECT_EQ(ParseTruckLine(withField(TruckLineA + std::string(20, '0'), 75, " ")).fields,
              plain.fields); // digits past the last column read: the blank still counts
    TruckData negative = ParseTruckLine(withField(TruckLineA, 19, "-45"));
    EXPECT_EQ(negative.Data(Speed), -45);
    negative.Data(Speed) = plain.Data(Speed);
    EXPECT_EQ(negative.fields, plain.fields);
    EXPECT_EQ(cutField("ab", 2, 0), ""); // no width, no text; no column before column 1
    EXPECT_EQ(ErrorOf([] { cutField("ab", 0, 1); }), ErrorNumber::InvalidProcedureCall);
}

// Plain figures take a quicker road than the number rules; the value, the sign of a zero and the
// refusals must be theirs.
TEST(ParseEventFile, FiguresReadAsTheNumberRulesDo) {
    for (const std::string text : {"23983510.15", "-0", "+3.", ".25", "0.1", "999999999999999",
                                   "-1.0000000001", "1e3", ".", "-", "1.2.3", "1 2", "0x10"}) {
        std::string padded = std::string(15 - text.size(), ' ') + text;
        const std::string line = withField(effectLine(1, 0), 13, padded);
        EXPECT_EQ(Outcome([&] { return ParseEffectLine(line, 1).Time; }),
                  Outcome([&] { return textToDouble(text); }))
            << text;
    }
}

} // namespace
} // namespace kestavian::test
