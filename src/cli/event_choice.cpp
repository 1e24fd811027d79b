#include "cli/event_choice.h"

#include <algorithm>
#include <charconv>

namespace kestavian::cli {

namespace {

// A whole number from lowest written in digits only, the whole text.
std::optional<std::uint64_t> numberIn(std::string_view text, std::uint64_t lowest) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        text.front() == '+' || value < lowest)
        return std::nullopt;
    return value;
}

// "3", "3 and 17", "3, 17 and 250".
std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + words[i];
    return text;
}

// How many positions an error line names before it only counts the rest.
constexpr std::size_t PositionsNamed = 3;

} // namespace

EffectRow rowOf(const ParsedEvent& event, long index) {
    const EffectData& effect = event.event.Effects.at(index);
    return {event.position, index,           event.event.EventNo, effect.EffectNo, effect.Value,
            effect.Time,    effect.Distance, effect.NoTrucks,     event.bytes};
}

std::optional<EventList> EventList::parse(std::string_view text, std::uint64_t lowest) {
    EventList list;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const auto first = numberIn(item.substr(0, dash), lowest);
        const auto second =
            dash == std::string_view::npos ? first : numberIn(item.substr(dash + 1), lowest);
        if (!first || !second || *second < *first)
            return std::nullopt;
        list.written_.emplace_back(*first, *second);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    list.ranges_ = list.written_;
    std::sort(list.ranges_.begin(), list.ranges_.end());
    // Merged, so that contains() can look for the one range that may hold a position.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> merged;
    for (const auto& range : list.ranges_)
        if (!merged.empty() && range.first - 1 <= merged.back().second)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    list.ranges_ = std::move(merged);
    return list;
}

bool EventList::contains(std::uint64_t position) const {
    // The first range ending at or after the position.
    const auto range = std::lower_bound(ranges_.begin(), ranges_.end(), position,
                                        [](const std::pair<std::uint64_t, std::uint64_t>& r,
                                           std::uint64_t p) { return r.second < p; });
    return range != ranges_.end() && range->first <= position;
}

bool EventChoice::lists(const ParsedEvent& event) const {
    if (!listed)
        return false;
    if (!byNumber)
        return listed->contains(event.position);
    return event.event.EventNo >= 0 &&
           listed->contains(static_cast<std::uint64_t>(event.event.EventNo));
}

void ListedNumbers::add(const ParsedEvent& event) {
    if (!choice_.byNumber || !choice_.lists(event))
        return;
    Held& held = held_[static_cast<std::uint64_t>(event.event.EventNo)];
    ++held.count;
    if (held.positions.size() < PositionsNamed)
        held.positions.push_back(event.position);
}

std::string ListedNumbers::problem(const std::string& option) const {
    const auto numbers = [](const EventList::Range& range) {
        return range.first == range.second
                   ? std::to_string(range.first)
                   : "from " + std::to_string(range.first) + " to " + std::to_string(range.second);
    };
    for (const EventList::Range& range : choice_.listed->written())
        if (const auto held = held_.lower_bound(range.first);
            held == held_.end() || held->first > range.second)
            return option + " " + numbers(range) + ": no event is numbered " + numbers(range) +
                   " (" + option +
                   " takes event numbers, as list's event column shows them; "
                   "--position" +
                   (option == "--event" ? "" : "s") + " takes places in the file)";
    for (const auto& [number, held] : held_) {
        if (held.count < 2)
            continue;
        std::vector<std::string> positions;
        for (const std::uint64_t position : held.positions)
            positions.push_back(std::to_string(position));
        if (held.count > held.positions.size())
            positions.push_back(std::to_string(held.count - held.positions.size()) + " more");
        return option + ": " + std::to_string(held.count) + " events are numbered " +
               std::to_string(number) + ", at positions " + joined(positions) +
               "; choose one with --position" + (option == "--event" ? "" : "s");
    }
    return {};
}

void EffectNumbers::add(const ParsedEvent& event) {
    for (const EffectData& effect : event.event.Effects)
        seen_[static_cast<std::size_t>(effect.EffectNo + 32768)] = true;
}

void EffectNumbers::merge(const EffectNumbers& other) {
    for (const std::int16_t n : other.numbers())
        seen_[static_cast<std::size_t>(n + 32768)] = true;
}

std::vector<std::int16_t> EffectNumbers::numbers() const {
    std::vector<std::int16_t> held;
    for (std::size_t i = 0; i < seen_.size(); ++i)
        if (seen_[i])
            held.push_back(static_cast<std::int16_t>(static_cast<long>(i) - 32768));
    return held;
}

bool EffectNumbers::has(std::int16_t effectNo) const {
    return seen_[static_cast<std::size_t>(effectNo + 32768)];
}

std::string EffectNumbers::describe() const {
    const std::vector<std::int16_t> held = numbers();
    if (held.empty())
        return "none";
    if (held.size() > 2 && held.back() - held.front() + 1 == static_cast<long>(held.size()))
        return "numbered " + std::to_string(held.front()) + " to " + std::to_string(held.back());
    std::vector<std::string> words;
    for (const std::int16_t n : held)
        words.push_back(std::to_string(n));
    return "numbered " + joined(words);
}

bool RowRanking::ranksBefore(const EffectRow& a, const EffectRow& b) const {
    if (a.value != b.value)
        return greatest_ ? a.value > b.value : a.value < b.value;
    return a.position != b.position ? a.position < b.position : a.index < b.index;
}

void RowRanking::add(const EffectRow& row) {
    const auto before = [this](const EffectRow& a, const EffectRow& b) {
        return ranksBefore(a, b);
    };
    if (kept_.size() < count_) {
        kept_.push_back(row);
        std::push_heap(kept_.begin(), kept_.end(), before);
    } else if (!kept_.empty() && ranksBefore(row, kept_.front())) {
        std::pop_heap(kept_.begin(), kept_.end(), before);
        kept_.back() = row;
        std::push_heap(kept_.begin(), kept_.end(), before);
    }
}

std::vector<EffectRow> RowRanking::take() {
    std::sort_heap(kept_.begin(), kept_.end(),
                   [this](const EffectRow& a, const EffectRow& b) { return ranksBefore(a, b); });
    std::vector<EffectRow> best;
    best.swap(kept_);
    return best;
}

} // namespace kestavian::cli
