#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/event_parser.h"
#include "data/mod_udts.h"
#include "platform/runtime_error.h"

namespace kestavian {

// Event header line: EventNo (columns 1-6).
std::int32_t parseEventNo(std::string_view line);
// Effect line: EffectNo, Value, Time and Distance, converted in that order; EventIndex is
// noEvents, the position of the event being filled; no trucks yet.
EffectData ParseEffectLine(std::string_view line, std::int16_t noEvents);
// Effect line: the number of truck lines that follow it (columns 39-42).
std::int16_t parseAnnouncedTrucks(std::string_view line);
// Truck line: the 32 fields in index order, its time stamp and, unless told not to, the line
// itself.
TruckData ParseTruckLine(std::string_view line, bool keepSourceLine = true);
// Truck line: reads the 32 fields as ParseTruckLine does, failing where it would, and keeps
// nothing.
void CheckTruckLine(std::string_view line);
// A truck's time stamp in seconds on the simulation's calendar (25-day months, 250-day years).
double TruckTimeSeconds(const TruckData& truck);

// No line parser looks past this column: items cut after it parse the same.
inline constexpr int LastColumnRead = 77;

// Where the reading stopped and why, in one line: "stopped at line L: FIELD (columns A-B) "TEXT":
// REASON; FIELD needs WHAT", without the field part when the parse stopped on a count rather than
// a field, and with a word on the likely cause when the field holds bytes that are no text.
std::string describeStop(const ParseStop& stop);

// Rebuilds the events of store from store.FileLines, reading noEffects effect blocks per
// event. A field that does not convert, or a count passing 32767, stops the parse with its
// RuntimeError; the store keeps what was appended before, and *stop (when given) says where.
void ParseEventFile(EventStore& store, std::int16_t noEffects, ParseStop* stop = nullptr);

// The file's own name: the text after the last "/" or "\\" of the path, or the whole of it.
std::string bareFileName(const std::string& path);

// The text between the first and the second "_" of a file name; empty with fewer than two.
std::string spanTextFromFileName(const std::string& fileName);

} // namespace kestavian
