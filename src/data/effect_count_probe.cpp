#include "data/effect_count_probe.h"

#include <algorithm>

namespace kestavian {

namespace {
constexpr std::int16_t MostEffectsTried = 16;
// Read this far past the stop, a count has shown that it reads on.
constexpr long ItemsPastStop = 1000;
} // namespace

EffectCountProbe::EffectCountProbe(std::int16_t noEffects, long stopItem) : stopItem_(stopItem) {
    // Reserved, so that the sinks' candidates stay where they are.
    candidates_.reserve(MostEffectsTried);
    for (std::int16_t count = 1; count <= MostEffectsTried; ++count) {
        if (count == noEffects)
            continue;
        const std::size_t index = candidates_.size();
        const auto countMisnumbered = [this, index](ParsedEvent& parsed) {
            for (long i = 1; i <= parsed.event.EffectCount; ++i)
                candidates_[index].misnumbered += parsed.event.Effects.at(i).EffectNo != i;
        };
        candidates_.push_back(
            {count,
             EventParser({count, UINT64_MAX, ParserOptions::Trucks::Counted}, countMisnumbered)});
    }
}

bool EffectCountProbe::push(std::string_view item) {
    ++items_;
    bool anyReading = false;
    for (Candidate& candidate : candidates_) {
        if (candidate.stopped)
            continue;
        try {
            candidate.parser.push(Item{item});
            anyReading = true;
        } catch (const RuntimeError&) {
            candidate.stopped = true;
        }
    }
    return anyReading && items_ < stopItem_ + ItemsPastStop;
}

std::optional<std::int16_t> EffectCountProbe::readsOn() const {
    if (items_ < stopItem_)
        return std::nullopt;
    const Candidate* best = nullptr;
    for (const Candidate& candidate : candidates_)
        if (!candidate.stopped && (best == nullptr || candidate.misnumbered < best->misnumbered))
            best = &candidate;
    if (best == nullptr)
        return std::nullopt;
    return best->noEffects;
}

} // namespace kestavian
