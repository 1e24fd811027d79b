#include "data/event_file_reader.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "data/effect_count_probe.h"
#include "data/item_reader.h"
#include "data/mod_input.h"

namespace kestavian {

namespace {

constexpr std::string_view ByteOrderMark{"\xEF\xBB\xBF"};

// The file's items by the reading rule, each cut to keepBytes, handed to onItem until it returns
// false. A byte order mark at the start is skipped: the items and their byte ranges start after
// it. The failure, or nothing.
std::optional<ReadFailure> readItems(const std::string& path, const ByteSourceRules& rules,
                                     std::size_t chunkBytes, std::size_t keepBytes,
                                     const std::function<bool(const Item&)>& onItem,
                                     const ReadProgress& onProgress) {
    ItemStream stream(keepBytes);
    bool more = true;
    // The first bytes, held until it is known whether they are a byte order mark.
    std::string head;
    bool headDone = false;
    const auto items = [&](std::string_view chunk) {
        stream.feed(chunk);
        std::optional<Item> item;
        while (more && (item = stream.next()))
            more = onItem(*item);
    };
    const auto skipMark = [&] {
        headDone = true;
        if (head == ByteOrderMark)
            stream.skip(head.size());
        else
            items(head);
    };
    std::optional<ReadFailure> failure = readBytes(
        path, rules, chunkBytes,
        [&](std::string_view chunk) {
            if (!headDone) {
                const std::size_t take = std::min(ByteOrderMark.size() - head.size(), chunk.size());
                head.append(chunk.substr(0, take));
                chunk.remove_prefix(take);
                if (head.size() < ByteOrderMark.size())
                    return true;
                skipMark();
            }
            if (more)
                items(chunk);
            return more;
        },
        onProgress);
    if (failure || !more)
        return failure;
    if (!headDone)
        skipMark();
    if (more)
        if (const std::optional<Item> last = stream.finish())
            onItem(*last);
    return std::nullopt;
}

} // namespace

FileItems readFileItems(const std::string& path, const ReadLimits& limits) {
    FileItems read;
    // Keeps the item, refusing the file once it holds more than the limit allows.
    const auto keep = [&](const Item& item) {
        read.items.emplace_back(item.text);
        if (read.items.size() <= limits.maxItems)
            return true;
        read.failure =
            ReadFailure{ReadFailureKind::TooManyItems,
                        "it holds more than " + std::to_string(limits.maxItems) + " items",
                        {}};
        return false;
    };
    if (std::optional<ReadFailure> failure =
            readItems(path, {limits.maxBytes, false, false}, std::size_t{1} << 16,
                      std::numeric_limits<std::size_t>::max(), keep, {}))
        read.failure = std::move(failure);
    return read;
}

StreamOutcome streamEventFile(const std::string& path, std::int16_t noEffects,
                              const EventParser::EventSink& onEvent, const ReadProgress& onProgress,
                              ParserOptions::Trucks trucks, std::size_t chunkBytes) {
    StreamOutcome outcome;
    EventParser parser({noEffects, std::numeric_limits<std::uint64_t>::max(), trucks},
                       [&](ParsedEvent& event) {
                           ++outcome.events;
                           onEvent(event);
                       });
    // The parse stopped at a blank item, and only blank items have come since.
    bool blankStop = false;
    const auto onItem = [&](const Item& item) {
        ++outcome.items;
        outcome.bytes = item.end;
        if (parser.stop()) {
            blankStop = item.text.empty();
            return blankStop;
        }
        try {
            parser.push(item);
        } catch (const RuntimeError&) {
            if (!parser.stop()) // not the file's: the receiver's own
                throw;
            blankStop = item.text.empty();
            return blankStop;
        }
        return true;
    };
    outcome.failure =
        readItems(path, {UINT64_MAX, true, true}, chunkBytes, LastColumnRead, onItem, onProgress);
    if (!outcome.failure && !parser.stop())
        parser.finish();
    if (!blankStop)
        outcome.stop = parser.stop();
    return outcome;
}

std::optional<std::int16_t> effectCountReadingOn(const std::string& path, std::int16_t noEffects,
                                                 long stopItem) {
    if (namesStandardInput(path))
        return std::nullopt;
    EffectCountProbe probe(noEffects, stopItem);
    if (readItems(path, {UINT64_MAX, true, false}, std::size_t{1} << 20, LastColumnRead,
                  [&](const Item& item) { return probe.push(item.text); }, {}))
        return std::nullopt;
    return probe.readsOn();
}

} // namespace kestavian
