#include "fuzz/stream_differential.h"

#include <algorithm>
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

// A parse may stop on a bad line; where it stopped is compared, not the error.
template <typename Step> void quietly(Step step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

struct Reading {
    std::vector<std::string> items;
    std::vector<ParsedEvent> events;
    std::optional<ParseStop> stop;
};

// Reads the bytes in chunks of the sizes drawn, each item going to the parser as it comes.
Reading readInChunks(std::string_view bytes, std::int16_t noEffects,
                     const std::function<std::size_t()>& chunkSize) {
    Reading read;
    ItemStream stream;
    EventParser parser({noEffects, 32767, true},
                       [&](ParsedEvent& event) { read.events.push_back(std::move(event)); });
    std::uint64_t end = 0;
    const auto take = [&](const Item& item) {
        require(item.begin == end && item.end > end, "item ranges do not tile the bytes");
        end = item.end;
        read.items.emplace_back(item.text);
        quietly([&] { parser.push(item); });
    };
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::string_view chunk = bytes.substr(pos, chunkSize());
        pos += chunk.size();
        stream.feed(chunk);
        while (const std::optional<Item> item = stream.next())
            take(*item);
    }
    if (const std::optional<Item> last = stream.finish())
        take(*last);
    require(end == bytes.size(), "item ranges do not cover the bytes");
    quietly([&] { parser.finish(); });
    read.stop = parser.stop();
    return read;
}

} // namespace

void CheckStreamingAgreesWithWhole(std::string_view bytes) {
    EventStore store;
    for (const std::string& item : splitItems(bytes))
        store.FileLines.append(item);
    const auto first = static_cast<std::uint8_t>(bytes.empty() ? 0 : bytes[0]);
    for (const std::int16_t noEffects : {std::int16_t{3}, std::int16_t(first % 7 - 2)}) {
        std::optional<ParseStop> stop = ParseStop{};
        quietly([&] {
            ParseEventFile(store, noEffects, &*stop);
            stop.reset();
        });
        // One byte at a time puts every quote, CR and LF at a chunk's edge; the drawn sizes
        // (a linear congruential sequence seeded with a hash of the bytes) mix the edges up.
        std::uint32_t state = 2166136261u;
        for (const char c : bytes)
            state = (state ^ static_cast<std::uint8_t>(c)) * 16777619u;
        const std::function<std::size_t()> chunkSizes[] = {
            [] { return std::size_t{1}; },
            [&state] {
                state = state * 1664525u + 1013904223u;
                return std::size_t{1} + (state >> 24) % 13;
            },
        };
        for (const auto& chunkSize : chunkSizes) {
            const Reading read = readInChunks(bytes, noEffects, chunkSize);
            require(std::equal(read.items.begin(), read.items.end(), store.FileLines.begin(),
                               store.FileLines.end()),
                    "streamed items differ");
            require(read.stop == stop, "streamed stop differs");
            require(
                std::equal(read.events.begin(), read.events.end(), store.Events.begin(),
                           store.Events.end(),
                           [](const ParsedEvent& a, const EventData& b) { return a.event == b; }),
                "streamed events differ");
        }
    }
}

} // namespace kestavian::fuzz
