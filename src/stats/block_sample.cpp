#include "stats/block_sample.h"

#include <string>

namespace kestavian::stats {

TruckClass truckClassOf(std::int16_t trucks) {
    switch (trucks) {
    case 1:
        return TruckClass::One;
    case 2:
        return TruckClass::Two;
    case 3:
        return TruckClass::Three;
    default:
        return TruckClass::FourPlus;
    }
}

std::string_view truckClassName(TruckClass truckClass) {
    switch (truckClass) {
    case TruckClass::One:
        return "1 truck";
    case TruckClass::Two:
        return "2 trucks";
    case TruckClass::Three:
        return "3 trucks";
    case TruckClass::FourPlus:
        return "4+ trucks";
    }
    return "?";
}

EffectMaxima::EffectMaxima(BlockSize size, int fileIndex, bool byClass)
    : size_(size), byClass_(byClass),
      all_(size, fileIndex), classes_{BlockMaxima(size, fileIndex), BlockMaxima(size, fileIndex),
                                      BlockMaxima(size, fileIndex), BlockMaxima(size, fileIndex)} {}

bool EffectMaxima::add(const LoadEvent& event) {
    if (event.trucks <= 0)
        return false;
    const std::optional<std::int64_t> block = blockIndex(event.time, size_);
    if (!block)
        return all_.add(event); // not placed: all_ keeps the reason
    if (!all_.add(event, *block))
        return false;
    if (!byClass_)
        return true;
    return classes_[static_cast<std::size_t>(truckClassOf(event.trucks))].add(event, *block);
}

RunMaxima EffectMaxima::all() const {
    return all_.run();
}

RunMaxima EffectMaxima::of(TruckClass truckClass) const {
    RunMaxima run = classes_[static_cast<std::size_t>(truckClass)].run(all_.range());
    if (run.refusal.empty())
        run.refusal = all_.refusal();
    return run;
}

double BlockSample::nonEmptyShare() const {
    return blocks == 0 ? 0.0 : static_cast<double>(maxima.size()) / static_cast<double>(blocks);
}

std::vector<double> BlockSample::values() const {
    std::vector<double> values;
    values.reserve(maxima.size());
    for (const BlockMaximum& maximum : maxima)
        values.push_back(maximum.value);
    return values;
}

Result<BlockSample> pool(std::span<const RunMaxima> runs) {
    BlockSample sample;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RunMaxima& run = runs[i];
        if (!run.refusal.empty())
            return refuse("run " + std::to_string(i + 1) + ": " + run.refusal);
        if (sample.blocks > UINT64_MAX - run.blockCount)
            return refuse("the runs together span more blocks than can be counted");
        sample.blocks += run.blockCount;
        sample.maxima.insert(sample.maxima.end(), run.maxima.begin(), run.maxima.end());
    }
    return sample;
}

} // namespace kestavian::stats
