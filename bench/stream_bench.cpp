// Streaming a long run: 130,000 events, about 1.1 million lines, the size of file a simulation of
// many years writes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/bench_files.h"
#include "data/event_file_reader.h"
#include "data/item_reader.h"

namespace {

using namespace kestavian;
using bench::longRun;
namespace fs = std::filesystem;

// A "VmRSS:"-style figure of this process, in kB.
long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == key && status >> word)
            return std::stol(word);
    return 0;
}

// The whole read as kestavian-cli check does it: stream, parse, count.
void BM_StreamLongRun(benchmark::State& state) {
    const std::string& path = longRun();
    if (path.empty()) {
        state.SkipWithError("the long run could not be generated");
        return;
    }
    std::uint64_t events = 0;
    std::uint64_t trucks = 0;
    long peakGrowthKb = 0;
    for (auto _ : state) {
        trucks = 0;
        const long before = statusKb("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
        const StreamOutcome outcome = streamEventFile(path, 3, [&](ParsedEvent& parsed) {
            for (const EffectData& effect : parsed.event.Effects)
                trucks += static_cast<std::uint64_t>(effect.NoTrucks);
        });
        peakGrowthKb = std::max(peakGrowthKb, statusKb("VmHWM:") - before);
        if (outcome.failure || outcome.stop) {
            state.SkipWithError("the long run did not read to its end");
            break;
        }
        events = outcome.events;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(fs::file_size(path)) * state.iterations());
    state.counters["events"] = static_cast<double>(events);
    state.counters["trucks"] = static_cast<double>(trucks);
    state.counters["peak_rss_growth_MB"] = static_cast<double>(peakGrowthKb) / 1024;
}
BENCHMARK(BM_StreamLongRun)->Unit(benchmark::kMillisecond);

// The floor under it: the same bytes read and split into items, nothing parsed.
void BM_SplitLongRun(benchmark::State& state) {
    const std::string& path = longRun();
    if (path.empty()) {
        state.SkipWithError("the long run could not be generated");
        return;
    }
    const std::size_t chunkBytes = std::size_t{1} << 20;
    const std::unique_ptr<char[]> buffer(new char[chunkBytes]);
    std::uint64_t items = 0;
    for (auto _ : state) {
        items = 0;
        std::ifstream in(path, std::ios::binary);
        ItemStream stream;
        while (in.read(buffer.get(), static_cast<std::streamsize>(chunkBytes)) || in.gcount() > 0) {
            stream.feed({buffer.get(), static_cast<std::size_t>(in.gcount())});
            while (stream.next())
                ++items;
        }
        items += stream.finish() ? 1 : 0;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(fs::file_size(path)) * state.iterations());
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_SplitLongRun)->Unit(benchmark::kMillisecond);

} // namespace
