// The statistics of one effect as the statistics window recomputes them: the largest file the
// viewer opens (the first 32,767 lines of a long run, about 4,000 events), day blocks, both fits,
// the 1000-year level with both intervals; all load events, and by truck count too.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_files.h"
#include "data/mod_input.h"
#include "data/viewer_file.h"
#include "stats/effect_statistics.h"

namespace {

using namespace kestavian;

void BM_EffectStatisticsOfTheLargestViewerFile(benchmark::State& state) {
    EventStore store;
    if (readViewerFile(bench::viewerSizedRun(), store.FileLines).failure) {
        state.SkipWithError("the viewer-sized file could not be read");
        return;
    }
    try {
        ParseEventFile(store, 3);
    } catch (const RuntimeError&) {
    }
    std::vector<stats::LoadEvent> events;
    for (long i = 1; i <= store.NoEvents; ++i) {
        const EventData& event = store.Events.at(i);
        if (event.EffectCount < 1 || event.Effects.at(1).NoTrucks < 1)
            continue;
        const EffectData& effect = event.Effects.at(1);
        events.push_back({effect.Value, effect.Time, static_cast<std::uint64_t>(i), event.EventNo,
                          effect.NoTrucks});
    }
    const stats::StatisticsChoice choice{
        stats::BlockSize::Day, state.range(0) != 0, stats::Model::Gev, {1000}};
    for (auto _ : state) {
        stats::EffectMaxima maxima(choice.block, 0, choice.byTrucks);
        for (const stats::LoadEvent& event : events)
            maxima.add(event);
        const stats::EffectMaxima* runs[] = {&maxima};
        benchmark::DoNotOptimize(stats::effectStatistics(runs, choice));
    }
    state.counters["load events"] = static_cast<double>(events.size());
}
BENCHMARK(BM_EffectStatisticsOfTheLargestViewerFile)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("by_trucks")
    ->Unit(benchmark::kMillisecond);

} // namespace
