#include "stats/effect_statistics.h"

#include <algorithm>
#include <array>

#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::stats {

namespace {

GroupStatistics groupStatistics(std::string type, const std::vector<RunMaxima>& runs,
                                const StatisticsChoice& choice) {
    GroupStatistics group;
    group.type = std::move(type);
    group.sample = pool(runs);
    if (group.sample) {
        group.analysis = analyseEffect(*group.sample, blocksPerYear(choice.block), choice.years);
        return group;
    }
    group.analysis.block = {blocksPerYear(choice.block), 0};
    group.analysis.gumbel.fit = refuse(group.sample.reason());
    group.analysis.gev.fit = refuse(group.sample.reason());
    return group;
}

} // namespace

std::optional<std::vector<double>> returnPeriodsIn(std::string_view text) {
    std::vector<double> years;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        try {
            const double value = textToDouble(text.substr(from, comma - from));
            // Beyond this a period is no number of years anyone asks about, and its level's
            // chance underflows.
            if (!(value > 1 && value < 1e15))
                return std::nullopt;
            years.push_back(value);
        } catch (const RuntimeError&) {
            return std::nullopt;
        }
        from = comma + 1;
    }
    return years;
}

EffectStatistics effectStatistics(std::span<const EffectMaxima* const> runs,
                                  const StatisticsChoice& choice) {
    const auto maximaOf = [&](const auto& take) {
        std::vector<RunMaxima> maxima;
        for (const EffectMaxima* run : runs)
            maxima.push_back(run != nullptr ? take(*run) : RunMaxima{});
        return maxima;
    };
    EffectStatistics statistics;
    statistics.groups.push_back(
        groupStatistics("all", maximaOf([](const EffectMaxima& e) { return e.all(); }), choice));
    if (!choice.byTrucks)
        return statistics;
    std::vector<BlockSample> classes;
    std::string refused;
    constexpr std::array<const char*, 4> typeNames{"1", "2", "3", "4+"};
    for (std::size_t c = 0; c < truckClasses.size(); ++c) {
        const std::vector<RunMaxima> maxima =
            maximaOf([&](const EffectMaxima& e) { return e.of(truckClasses[c]); });
        if (std::all_of(maxima.begin(), maxima.end(),
                        [](const RunMaxima& run) { return run.maxima.empty(); }))
            continue;
        GroupStatistics group = groupStatistics(typeNames[c], maxima, choice);
        if (group.sample)
            classes.push_back(*group.sample);
        else if (refused.empty())
            refused = "class " + group.type + ": " + group.sample.reason();
        statistics.groups.push_back(std::move(group));
    }
    statistics.composite = refused.empty()
                               ? compositeLevels(classes, choice.compositeModel,
                                                 blocksPerYear(choice.block), choice.years)
                               : std::vector<Result<double>>(choice.years.size(), refuse(refused));
    return statistics;
}

} // namespace kestavian::stats
