#include "fuzz/fuzz_entry.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/event_file_reader.h"
#include "data/event_parser.h"
#include "data/item_reader.h"
#include "data/mod_input.h"
#include "drawing/headless_scene.h"

namespace kestavian::fuzz {

namespace {

void require(bool holds, const char* what) {
    if (!holds)
        throw std::logic_error(what);
}

// Runs one step the way the window's handlers do: a runtime error abandons the step only.
template <typename Step> void step(Step&& body) {
    try {
        body();
    } catch (const RuntimeError&) {
    }
}

// What the parser promises whatever it was given, also when it stopped part-way.
void checkStore(const EventStore& store, std::int16_t noEffects) {
    require(noEffects > 0 || store.NoEvents <= 1, "an event after one that cannot close");
    for (long e = 1; e <= store.NoEvents; ++e)
        for (const EffectData& effect : store.Events.at(e).Effects)
            require(effect.NoTrucks == effect.Trucks.size() && effect.EventIndex == e,
                    "NoTrucks or EventIndex differs");
}

// The bytes read in chunks of the sizes drawn, each item going to the parser as it comes, must
// give the items, events and stop of reading them whole: a quote, CR or LF at a chunk's edge
// changes nothing.
void checkStreaming(std::string_view bytes, const EventStore& whole, std::int16_t noEffects,
                    const std::optional<ParseStop>& stop,
                    const std::function<std::size_t()>& chunkSize) {
    ItemStream stream;
    std::vector<EventData> events;
    EventParser parser({noEffects, 32767, ParserOptions::Trucks::Whole},
                       [&](ParsedEvent& event) { events.push_back(std::move(event.event)); });
    long items = 0;
    std::uint64_t end = 0;
    const auto take = [&](const Item& item) {
        require(item.begin == end && item.end > end, "item ranges do not tile the bytes");
        require(++items <= whole.FileLines.size() && whole.FileLines.at(items) == item.text,
                "streamed items differ");
        end = item.end;
        step([&] { parser.push(item); });
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
    step([&] { parser.finish(); });
    require(end == bytes.size() && items == whole.FileLines.size(), "items missing");
    require(parser.stop() == stop, "streamed stop differs");
    require(std::equal(events.begin(), events.end(), whole.Events.begin(), whole.Events.end()),
            "streamed events differ");
}

// Shows one effect as the window does, then moves the scrubber; a shown effect lists its lines.
void showEffect(HeadlessScene& scene, const EffectData& effect, bool critPos, unsigned variant) {
    std::size_t lines = 0;
    step([&] {
        scene.show(effect, critPos, [&](const std::string&) { ++lines; });
        require(lines == 3 + static_cast<std::size_t>(effect.NoTrucks), "timing lines");
    });
    step([&] { scene.moveScrubber(effect, critPos, std::array{0, 1, 150, 32767}[variant % 4]); });
    require(scene.image().width() == 641 && scene.image().height() == 167, "picture resized");
}

} // namespace

void RunFuzzInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EventStore store;
    for (const std::string& item : splitItems(bytes))
        store.FileLines.append(item);
    if (static_cast<std::uint64_t>(store.FileLines.size()) > ViewerReadLimits.maxItems)
        return; // the viewer refuses the file

    // The first byte picks the view: the usual three effects per event, a small count around it
    // (zero and negative counts included) and the byte itself as a signed count; a span from a
    // short list, extremes included; and where the option bits start.
    const unsigned first = size > 0 ? data[0] : 0u;
    std::vector<std::int16_t> effectCounts{3};
    for (const int count : {static_cast<int>(first % 7) - 2, int{static_cast<std::int8_t>(first)}})
        if (std::find(effectCounts.begin(), effectCounts.end(), count) == effectCounts.end())
            effectCounts.push_back(static_cast<std::int16_t>(count));
    ViewSettings view;
    view.Span = std::array{20.0f, 45.5f, 0.01f, 1.0e30f}[(first >> 3) % 4];
    // The chunk sizes: one byte puts every quote, CR and LF at an edge; a sequence seeded with a
    // hash of the bytes mixes the edges up.
    std::uint32_t hash = 2166136261u;
    for (const char c : bytes)
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    const std::function<std::size_t()> chunkSizes[] = {
        [] { return std::size_t{1}; },
        [&hash] { return std::size_t{1} + ((hash = hash * 1664525u + 1013904223u) >> 24) % 13; }};

    // One scene for the whole input, as the window has: the first truck on carries over.
    HeadlessScene scene{ViewSettings{}};
    unsigned variant = first;
    for (const std::int16_t noEffects : effectCounts) {
        std::optional<ParseStop> stop = ParseStop{};
        step([&] {
            ParseEventFile(store, noEffects, &*stop);
            stop.reset();
        });
        require(!stop || (stop->item >= 1 && stop->item <= store.FileLines.size()),
                "the stop names no line");
        checkStore(store, noEffects);
        for (const auto& chunkSize : chunkSizes)
            checkStreaming(bytes, store, noEffects, stop, chunkSize);

        for (const EventData& event : store.Events)
            for (const EffectData& effect : event.Effects) {
                // Each effect is shown with the next combination of the view options.
                const unsigned options = ++variant >> 2;
                view.DatumRHS = (options & 1) == 0;
                view.DriveRight = (options & 2) == 0;
                view.FlipDatum = (options & 4) != 0;
                scene.setView(view);
                showEffect(scene, effect, (options & 8) != 0, variant);
            }
    }
}

} // namespace kestavian::fuzz
