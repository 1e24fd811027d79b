#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestavian::stats {

// The periods whose maxima are fitted. The simulation's calendar has 25-day months and 250-day
// years, so a week is 5 days and a year holds 250 days, 50 weeks or 10 months.
enum class BlockSize { Day, Week, Month, Year };

double blockSeconds(BlockSize size);
int blocksPerYear(BlockSize size);

// floor(time / length) exactly (the rounded quotient is corrected by its remainder, so an event a
// hair before midnight stays in its day); empty when the time is not finite or the index does not
// fit in 64 bits, as with a damaged time stamp.
std::optional<std::int64_t> blockIndex(double time, BlockSize size);

// Blocks from first to last inclusive; empty when that count does not fit in 64 bits.
std::optional<std::uint64_t> blockCount(std::int64_t first, std::int64_t last);

// One load effect of one event, as the reader meets it. Only an effect with at least one truck is
// a load event: an effect with no trucks loads nothing, and callers leave it out (add() ignores it
// too). position is the event's place in the file counted from 1.
struct LoadEvent {
    double value = 0;
    double time = 0;
    std::uint64_t position = 0;
    std::int32_t eventNumber = 0;
    std::int16_t trucks = 0;
};

// The greatest load event of a block, with what a window needs to open the event behind it.
struct BlockMaximum {
    std::int64_t block = 0;
    double value = 0;
    std::uint64_t position = 0;
    std::int32_t eventNumber = 0;
    double time = 0;
    std::int16_t trucks = 0;
    int fileIndex = 0;
};

// One run's maxima in block order, with the run's block range: from the block of its earliest
// load event to that of its latest, empty blocks included.
struct RunMaxima {
    std::vector<BlockMaximum> maxima;
    std::uint64_t blockCount = 0;
    std::string refusal; // why an event could not be placed; empty when every one was
};

// Streams the load events of one run (one file) and keeps only the greatest event of each
// non-empty block, so that memory follows the number of blocks, not of events. A block with no
// event holds nothing at all: a damaged time far from the others costs one record, not a gap's
// worth of them.
class BlockMaxima {
public:
    explicit BlockMaxima(BlockSize size, int fileIndex = 0);

    // Takes one load event, given in file order: of equal values in a block the earlier one stays.
    // Returns false when the event is not taken: no trucks (not a load event), or a value or time
    // that cannot be placed (then refusal() says why, and pooling refuses this run).
    bool add(const LoadEvent& event);
    // The same, for a caller that has placed a load event already (accumulators sharing blocks).
    bool add(const LoadEvent& event, std::int64_t block);

    // Blocks of the earliest and latest load events taken; empty before the first.
    std::optional<std::pair<std::int64_t, std::int64_t>> range() const;
    std::size_t nonEmptyBlocks() const { return blocks_.size(); }
    const std::string& refusal() const { return refusal_; }

    // The maxima in block order over the given range, which is this run's own unless a wider one
    // (the range of all its events, for maxima of one truck class) is passed.
    RunMaxima run() const;
    RunMaxima run(std::optional<std::pair<std::int64_t, std::int64_t>> over) const;

private:
    BlockSize size_;
    int fileIndex_;
    // In block order. Events come in time order, so nearly every one falls in the block of the
    // event before (latest_) or opens a block after the last: a vector takes them without a
    // lookup or an allocation of its own, and is handed out already sorted.
    std::vector<BlockMaximum> blocks_;
    std::size_t latest_ = 0;
    std::string refusal_;
};

} // namespace kestavian::stats
