#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "stats/block_maxima.h"
#include "stats/result.h"

namespace kestavian::stats {

// A load event's type is its own effect's truck count: 1, 2, 3, or 4 and more.
enum class TruckClass { One, Two, Three, FourPlus };
constexpr std::array<TruckClass, 4> truckClasses{TruckClass::One, TruckClass::Two,
                                                 TruckClass::Three, TruckClass::FourPlus};

TruckClass truckClassOf(std::int16_t trucks); // trucks >= 1
std::string_view truckClassName(TruckClass truckClass);

// One run of one effect: the maxima of all its load events and those of each truck class. A
// class's blocks are counted over the range of all the run's load events, so that its share of
// non-empty blocks is comparable with the others' and their block distributions multiply.
class EffectMaxima {
public:
    // byClass: keep each class's maxima too (they cost as much again as all's).
    explicit EffectMaxima(BlockSize size, int fileIndex = 0, bool byClass = true);

    bool add(const LoadEvent& event); // as BlockMaxima::add
    RunMaxima all() const;
    // A class's maxima; none when they are not kept.
    RunMaxima of(TruckClass truckClass) const;

private:
    BlockSize size_;
    bool byClass_;
    BlockMaxima all_;
    std::array<BlockMaxima, 4> classes_;
};

// Block maxima pooled over runs: each run keeps its own blocks (a block never spans two files),
// and the share of non-empty blocks is over all the runs' blocks together.
struct BlockSample {
    std::vector<BlockMaximum> maxima; // runs in the order given, each in block order
    std::uint64_t blocks = 0;         // blocks of all runs, empty ones included

    double nonEmptyShare() const;
    std::vector<double> values() const;
};

// Refuses a run that could not place an event, and block counts whose sum overflows.
Result<BlockSample> pool(std::span<const RunMaxima> runs);

} // namespace kestavian::stats
