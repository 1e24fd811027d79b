#include "fuzz/stream_differential.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/event_parser.h"
#include "data/item_reader.h"
#include "data/mod_input.h"

namespace kestavian::fuzz {

namespace {

void require(bool holds, const char* what) {
    if (!holds)
        throw std::logic_error(what);
}

struct Streamed {
    std::vector<std::string> items;
    std::vector<ByteRange> itemRanges;
    std::vector<ParsedEvent> events;
    std::optional<ParseStop> stop;
};

Streamed streamInChunks(std::string_view bytes, std::int16_t noEffects,
                        const std::function<std::size_t()>& nextChunkSize) {
    Streamed out;
    ItemStream stream;
    EventParser parser({noEffects, 32767, true},
                       [&](ParsedEvent& event) { out.events.push_back(std::move(event)); });
    const auto take = [&](const Item& item) {
        out.items.emplace_back(item.text);
        out.itemRanges.push_back({item.begin, item.end});
        try {
            parser.push(item);
        } catch (const RuntimeError&) {
        }
    };
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::string_view chunk = bytes.substr(pos, nextChunkSize());
        pos += chunk.size();
        stream.feed(chunk);
        while (const std::optional<Item> item = stream.next())
            take(*item);
    }
    if (const std::optional<Item> last = stream.finish())
        take(*last);
    try {
        parser.finish();
    } catch (const RuntimeError&) {
    }
    out.stop = parser.stop();
    return out;
}

void compare(const Streamed& streamed, const std::vector<std::string>& items,
             const EventStore& store, const std::optional<ParseStop>& stop, std::uint64_t size) {
    require(streamed.items == items, "streamed items differ");
    std::uint64_t next = 0;
    for (const ByteRange& range : streamed.itemRanges) {
        require(range.begin == next && range.end > range.begin, "item ranges do not tile");
        next = range.end;
    }
    require(next == size, "item ranges do not cover the bytes");
    require(streamed.stop == stop, "streamed stop differs");
    require(streamed.events.size() == static_cast<std::size_t>(store.NoEvents),
            "streamed event count differs");
    std::uint64_t position = 0;
    std::uint64_t end = 0;
    for (const ParsedEvent& event : streamed.events) {
        require(event.position == ++position, "event position");
        require(event.event == store.Events(static_cast<long>(position)), "streamed event differs");
        require(event.bytes.begin >= end && event.bytes.end > event.bytes.begin, "event range");
        end = event.bytes.end;
    }
}

} // namespace

void CheckStreamingAgreesWithWhole(std::string_view bytes) {
    const std::vector<std::string> items = splitItems(bytes);
    const std::uint8_t first = bytes.empty() ? 0 : static_cast<std::uint8_t>(bytes[0]);
    EventStore store;
    for (const std::string& item : items)
        store.FileLines.append(item);

    for (const std::int16_t noEffects : {std::int16_t{3}, std::int16_t(first % 7 - 2)}) {
        std::optional<ParseStop> stop;
        try {
            ParseEventFile(store, noEffects, &stop.emplace());
            stop.reset();
        } catch (const RuntimeError&) {
        }
        // One byte at a time puts every quote, CR and LF at a chunk's edge; the drawn sizes
        // (a linear congruential sequence seeded with a hash of the bytes) mix the edges up.
        std::uint32_t state = 2166136261u;
        for (const char c : bytes)
            state = (state ^ static_cast<std::uint8_t>(c)) * 16777619u;
        const std::function<std::size_t()> sizes[] = {
            [] { return std::size_t{1}; },
            [&state] {
                state = state * 1664525u + 1013904223u;
                return std::size_t{1} + (state >> 24) % 13;
            },
        };
        for (const auto& nextSize : sizes)
            compare(streamInChunks(bytes, noEffects, nextSize), items, store, stop, bytes.size());
    }
}

} // namespace kestavian::fuzz
