#include "stats/block_maxima.h"

#include <algorithm>
#include <cmath>

namespace kestavian::stats {

double blockSeconds(BlockSize size) {
    constexpr double day = 86400.0;
    switch (size) {
    case BlockSize::Day:
        return day;
    case BlockSize::Week:
        return 5 * day;
    case BlockSize::Month:
        return 25 * day;
    case BlockSize::Year:
        return 250 * day;
    }
    return day;
}

int blocksPerYear(BlockSize size) {
    switch (size) {
    case BlockSize::Day:
        return 250;
    case BlockSize::Week:
        return 50;
    case BlockSize::Month:
        return 10;
    case BlockSize::Year:
        return 1;
    }
    return 250;
}

std::optional<std::int64_t> blockIndex(double time, BlockSize size) {
    if (!std::isfinite(time))
        return std::nullopt;
    const double length = blockSeconds(size);
    double q = std::floor(time / length);
    // The quotient was rounded, so a time just short of a boundary can land in the next block.
    // fma gives time - q * length with one rounding, and a rounding never changes a sign. Below
    // 2^53 blocks q - 1 is exact; beyond that no real clock reaches and the rounded floor stands.
    // The quotient never falls short of a whole number the time reaches: the lengths are whole
    // seconds, so that number is exact and a correctly rounded quotient cannot round below it.
    if (std::fabs(q) < 0x1p53 && std::fma(-q, length, time) < 0)
        q -= 1;
    if (!(q >= -0x1p63 && q < 0x1p63))
        return std::nullopt;
    return static_cast<std::int64_t>(q);
}

std::optional<std::uint64_t> blockCount(std::int64_t first, std::int64_t last) {
    if (last < first)
        return std::nullopt;
    // Unsigned subtraction wraps to the true difference, which is below 2^64 when last >= first;
    // only adding the last block itself can overflow.
    const std::uint64_t span = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
    if (span == UINT64_MAX)
        return std::nullopt;
    return span + 1;
}

BlockMaxima::BlockMaxima(BlockSize size, int fileIndex) : size_(size), fileIndex_(fileIndex) {}

bool BlockMaxima::add(const LoadEvent& event) {
    if (event.trucks <= 0)
        return false;
    const std::optional<std::int64_t> block = blockIndex(event.time, size_);
    if (!block) {
        if (refusal_.empty())
            refusal_ = "event " + std::to_string(event.eventNumber) + " at position " +
                       std::to_string(event.position) +
                       " has a time that is not a finite number of blocks";
        return false;
    }
    return add(event, *block);
}

bool BlockMaxima::add(const LoadEvent& event, std::int64_t block) {
    if (!std::isfinite(event.value)) {
        if (refusal_.empty())
            refusal_ = "event " + std::to_string(event.eventNumber) + " at position " +
                       std::to_string(event.position) + " has a value that is not a finite number";
        return false;
    }
    const BlockMaximum candidate{block,      event.value,  event.position, event.eventNumber,
                                 event.time, event.trucks, fileIndex_};
    if (latest_ >= blocks_.size() || blocks_[latest_].block != block) {
        if (blocks_.empty() || block > blocks_.back().block) {
            latest_ = blocks_.size();
            blocks_.push_back(candidate);
            return true;
        }
        const auto place = std::lower_bound(
            blocks_.begin(), blocks_.end(), block,
            [](const BlockMaximum& maximum, std::int64_t b) { return maximum.block < b; });
        latest_ = static_cast<std::size_t>(place - blocks_.begin());
        if (place == blocks_.end() || place->block != block) {
            blocks_.insert(place, candidate);
            return true;
        }
    }
    // Strictly greater: of equal values the earlier event in the file stays.
    BlockMaximum& kept = blocks_[latest_];
    if (event.value > kept.value)
        kept = candidate;
    return true;
}

std::optional<std::pair<std::int64_t, std::int64_t>> BlockMaxima::range() const {
    if (blocks_.empty())
        return std::nullopt;
    return std::pair{blocks_.front().block, blocks_.back().block};
}

RunMaxima BlockMaxima::run() const {
    return run(range());
}

RunMaxima BlockMaxima::run(std::optional<std::pair<std::int64_t, std::int64_t>> over) const {
    RunMaxima result;
    result.refusal = refusal_;
    if (over) {
        const std::optional<std::uint64_t> count = blockCount(over->first, over->second);
        if (!count && result.refusal.empty())
            result.refusal = "the load events' times span more blocks than can be counted";
        result.blockCount = count.value_or(0);
    }
    result.maxima = blocks_;
    return result;
}

} // namespace kestavian::stats
