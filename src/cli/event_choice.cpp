#include "cli/event_choice.h"

#include <algorithm>
#include <charconv>

namespace kestavian::cli {

namespace {

// A whole number from 1 written in digits only, the whole text.
std::optional<std::uint64_t> positionIn(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        text.front() == '+' || value == 0)
        return std::nullopt;
    return value;
}

} // namespace

EffectRow rowOf(const ParsedEvent& event, long index) {
    const EffectData& effect = event.event.Effects.at(index);
    return {event.position, index,           event.event.EventNo, effect.EffectNo, effect.Value,
            effect.Time,    effect.Distance, effect.NoTrucks,     event.bytes};
}

std::optional<EventList> EventList::parse(std::string_view text) {
    EventList list;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const auto first = positionIn(item.substr(0, dash));
        const auto second =
            dash == std::string_view::npos ? first : positionIn(item.substr(dash + 1));
        if (!first || !second || *second < *first)
            return std::nullopt;
        list.ranges_.emplace_back(*first, *second);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
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
