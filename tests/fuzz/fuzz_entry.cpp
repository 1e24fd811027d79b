#include "fuzz/fuzz_entry.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/item_reader.h"
#include "data/mod_input.h"
#include "drawing/headless_scene.h"
#include "fuzz/stream_differential.h"
#include "platform/runtime_error.h"

namespace kestavian::fuzz {

namespace {

// The Open refuses a file of more items than a 16-bit count holds.
constexpr std::size_t MaxItems = 32767;

void require(bool holds, const char* what) {
    if (!holds)
        throw std::logic_error(what);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Runs one step the way the window's handlers do: a runtime error abandons the step only.
template <typename Step> void step(Step&& body) {
    try {
        body();
    } catch (const RuntimeError&) {
    }
}

// The items of the data in both ways the reading rule is offered. Nothing when the Open would
// refuse the file for holding too many.
std::optional<std::vector<std::string>> readItems(std::string_view bytes) {
    std::vector<std::string> items = splitItems(bytes);
    // Every item but an empty one uses up at least one byte of its own, and every empty one a
    // terminator: more items than bytes would mean the reader is not moving on.
    require(items.size() <= bytes.size(), "more items than bytes");
    ItemReader reader(bytes);
    std::size_t n = 0;
    while (const std::optional<std::string_view> item = reader.next()) {
        require(n < items.size() && *item == items[n], "ItemReader and splitItems disagree");
        ++n;
    }
    require(n == items.size(), "ItemReader ended early");
    if (items.size() > MaxItems)
        return std::nullopt;
    return items;
}

// What the parser promises whatever it was given, also when it stopped part-way.
void checkStore(const EventStore& store, std::int16_t noEffects) {
    require(store.NoEvents == store.Events.size(), "NoEvents differs from the events held");
    if (noEffects <= 0)
        require(store.NoEvents <= 1, "an event after one that cannot close");
    long records = store.NoEvents;
    for (long e = 1; e <= store.NoEvents; ++e) {
        const EventData& event = store.Events.at(e);
        require(event.EffectCount == event.Effects.size(), "EffectCount differs");
        if (noEffects > 0)
            require(event.EffectCount <= noEffects, "more effects than an event holds");
        records += event.EffectCount;
        for (const EffectData& effect : event.Effects) {
            require(effect.NoTrucks == effect.Trucks.size(), "NoTrucks differs");
            require(effect.EventIndex == e, "EventIndex names another event");
            records += effect.NoTrucks;
            for (const TruckData& truck : effect.Trucks)
                require(truck.TimeSec == TruckTimeSeconds(truck), "TimeSec differs");
        }
    }
    // Every record comes from a line of its own.
    require(records <= store.FileLines.size(), "more records than lines");
}

// Shows one effect as the window does, then moves the scrubber; checks what that leaves.
void showEffect(HeadlessScene& scene, const EffectData& effect, bool critPos, unsigned variant) {
    std::vector<std::string> lines;
    bool shown = false;
    step([&] {
        scene.show(effect, critPos, [&](const std::string& line) { lines.push_back(line); });
        shown = true;
    });
    require(lines.empty() || lines.size() >= 3, "timing lines cut short");
    if (shown)
        require(lines.size() == 3 + static_cast<std::size_t>(effect.NoTrucks) &&
                    startsWith(lines[0], "Time On: ") && startsWith(lines[2], "Duration: "),
                "timing lines");
    const std::int16_t values[] = {0, 1, 150, 32767};
    step([&] { scene.moveScrubber(effect, critPos, values[variant % 4]); });
    const std::string& time = scene.timeCaption();
    require(time.empty() || startsWith(time, "Cur time: "), "time caption");
    require(scene.image().width() == 641 && scene.image().height() == 167, "picture resized");
}

} // namespace

void RunFuzzInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckStreamingAgreesWithWhole(bytes);
    const std::optional<std::vector<std::string>> items = readItems(bytes);
    if (!items)
        return;

    EventStore store;
    for (const std::string& item : *items)
        store.FileLines.append(item);

    // The first byte picks the view: the usual three effects per event, a small count around it
    // (zero and negative counts included) and the byte itself as a signed count; a span from a
    // short list, extremes included; and where the option bits start.
    const unsigned first = size > 0 ? data[0] : 0u;
    std::vector<std::int16_t> effectCounts{3};
    const std::int16_t nearThree = static_cast<std::int16_t>(static_cast<int>(first % 7) - 2);
    const std::int16_t asSigned = static_cast<std::int8_t>(first);
    for (const std::int16_t count : {nearThree, asSigned})
        if (std::find(effectCounts.begin(), effectCounts.end(), count) == effectCounts.end())
            effectCounts.push_back(count);
    const std::array<float, 4> spans{20.0f, 45.5f, 0.01f, 1.0e30f};
    const float span = spans[(first >> 3) % spans.size()];

    // One scene for the whole input, as the window has: the first truck on carries over.
    HeadlessScene scene{ViewSettings{}};
    unsigned variant = first;
    for (const std::int16_t noEffects : effectCounts) {
        ParseStop stop;
        bool stopped = false;
        try {
            ParseEventFile(store, noEffects, &stop);
        } catch (const RuntimeError&) {
            stopped = true;
        }
        if (stopped)
            require(stop.item >= 1 && stop.item <= store.FileLines.size(),
                    "the stop names no line");
        checkStore(store, noEffects);

        for (const EventData& event : store.Events)
            for (const EffectData& effect : event.Effects) {
                // Each effect is shown with the next combination of the view options.
                ++variant;
                const unsigned options = variant >> 2;
                ViewSettings view;
                view.Span = span;
                view.DatumRHS = (options & 1) == 0;
                view.DriveRight = (options & 2) == 0;
                view.FlipDatum = (options & 4) != 0;
                scene.setView(view);
                showEffect(scene, effect, (options & 8) != 0, variant);
            }
    }
}

} // namespace kestavian::fuzz
