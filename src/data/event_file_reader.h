#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "data/byte_source.h"
#include "data/event_parser.h"

namespace kestavian {

// Reading event files. Nothing here asks the user or shows anything: a read gives what it read, or
// the reason it could not, for the caller to tell in its own way. Files are read in bounded
// chunks and closed on every path. A UTF-8 byte order mark at the start of a file (as some
// editors write) is no part of its first item.

struct ReadLimits {
    std::uint64_t maxItems = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max();
};

// The viewer holds at most 32,767 items (a 16-bit count) of a file of at most 32,767 lines of
// 512 bytes, over six times the widest line of the format. Anything larger is not an event file
// for it, and holding it whole (twice over, with the text box) could exhaust memory.
inline constexpr ReadLimits ViewerReadLimits{32767, 32767u * 512u};

struct FileItems {
    // The items read, also when the read failed part-way. A file refused for too many items
    // gives the items up to and including the first one over the limit.
    std::vector<std::string> items;
    std::optional<ReadFailure> failure;
};

// The items of the file at path, by the reading rule. A file larger than limits.maxBytes is
// refused before anything is read, and so is a compressed one.
FileItems readFileItems(const std::string& path, const ReadLimits& limits);

struct StreamOutcome {
    std::optional<ReadFailure> failure; // the file could not be read (to its end)
    std::optional<ParseStop> stop;      // a line stopped the parse; the events before it came
    std::uint64_t events = 0;           // events handed over
    std::uint64_t items = 0;            // items read, up to the stop (blank ones after it too)
    std::uint64_t bytes = 0;            // the file's bytes read (once decompressed)
};

// Streams the file at path through the parser, noEffects effect blocks per event, handing each
// event over as it is finished (see EventParser). No limit on items, events or size: memory
// holds one chunk and one event, whatever the file's size. gzip data is read decompressed, and
// "-" (or "/dev/stdin") reads standard input. Blank lines after the last event end the file, as
// in the viewer: a stop at a blank line followed only by blank lines is no stop. Trucks do not
// keep their lines (or only their count, when asked), and items are cut after the last column a
// parser reads. A RuntimeError
// thrown by onEvent propagates.
StreamOutcome streamEventFile(const std::string& path, std::int16_t noEffects,
                              const EventParser::EventSink& onEvent,
                              const ReadProgress& onProgress = {},
                              ParserOptions::Trucks trucks = ParserOptions::Trucks::Fields,
                              std::size_t chunkBytes = std::size_t{1} << 20);

// The other number of effect blocks per event with which the file at path reads on past the item
// where its parse stopped (see EffectCountProbe): the file is read again. Nothing when no other
// count does, or when the file cannot be read again (standard input).
std::optional<std::int16_t> effectCountReadingOn(const std::string& path, std::int16_t noEffects,
                                                 long stopItem);

} // namespace kestavian
