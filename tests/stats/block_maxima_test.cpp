#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "stats/block_sample.h"

namespace kestavian::stats {
namespace {

constexpr double day = 86400;

TEST(BlockIndex, FloorOfTimeOverBlockLengthExactlyAndOnlyWhereItFits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double time;
        BlockSize size;
        std::optional<std::int64_t> block;
    } rows[] = {
        {0, BlockSize::Day, 0},
        {std::nextafter(day, 0), BlockSize::Day, 0},
        {day, BlockSize::Day, 1},
        {-0.5, BlockSize::Day, -1},
        {-day, BlockSize::Day, -1},
        {-day - 0.5, BlockSize::Day, -2},
        {5 * day, BlockSize::Week, 1},
        {25 * day - 1, BlockSize::Month, 0},
        {250 * day, BlockSize::Year, 1},
        // Just below a boundary whose quotient rounds up onto it: the remainder puts it back.
        {-6.3424270746465413e+18, BlockSize::Day, -73407720771373},
        {9.8518305325826599e+20, BlockSize::Week, 2280516326986726},
        {-0x1p63 * day, BlockSize::Day, INT64_MIN},
        {0x1p63 * day, BlockSize::Day, std::nullopt},
        {1e300, BlockSize::Year, std::nullopt},
        {nan, BlockSize::Day, std::nullopt},
        {-inf, BlockSize::Day, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(blockIndex(row.time, row.size), row.block) << row.time;
    EXPECT_EQ(blocksPerYear(BlockSize::Day), 250);
    EXPECT_EQ(blocksPerYear(BlockSize::Week), 50);
    EXPECT_EQ(blocksPerYear(BlockSize::Month), 10);
    EXPECT_EQ(blocksPerYear(BlockSize::Year), 1);
}

TEST(BlockIndex, CountsRangesThatFitIn64Bits) {
    EXPECT_EQ(blockCount(-3, 4), 8u);
    EXPECT_EQ(blockCount(7, 7), 1u);
    EXPECT_EQ(blockCount(INT64_MIN, INT64_MAX - 1), UINT64_MAX);
    EXPECT_EQ(blockCount(INT64_MIN, INT64_MAX), std::nullopt);
    EXPECT_EQ(blockCount(5, 4), std::nullopt);
}

LoadEvent event(double value, double time, std::uint64_t position, std::int16_t trucks = 1) {
    return {value, time, position, static_cast<std::int32_t>(100 + position), trucks};
}

TEST(BlockMaxima, KeepsTheGreatestOfEachBlockAndTheEarlierOfEqualOnes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    BlockMaxima maxima(BlockSize::Day, 3);
    const LoadEvent events[] = {
        event(5, 10, 1),      event(7, 20, 2),
        event(7, 30, 3),                                // tie: 2 stays
        event(9, -5, 4),      event(1, 3 * day + 1, 5), // blocks -1 and 3; 1 and 2 empty
        event(8, 40, 6),      event(4, -day, 7),
        event(50, nan, 8, 0), // no trucks: not even its time counts
        event(6, 3 * day, 9),
    };
    std::string taken;
    for (const LoadEvent& e : events)
        taken += maxima.add(e) ? '1' : '0';
    EXPECT_EQ(taken, "111111101");
    const RunMaxima run = maxima.run();
    ASSERT_EQ(run.maxima.size(), 3u);
    EXPECT_EQ(run.blockCount, 5u);
    const struct {
        std::int64_t block;
        double value;
        std::uint64_t position;
    } expected[] = {{-1, 9, 4}, {0, 8, 6}, {3, 6, 9}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(run.maxima[i].block, expected[i].block);
        EXPECT_EQ(run.maxima[i].value, expected[i].value);
        EXPECT_EQ(run.maxima[i].position, expected[i].position);
        EXPECT_EQ(run.maxima[i].eventNumber, static_cast<std::int32_t>(100 + expected[i].position));
        EXPECT_EQ(run.maxima[i].fileIndex, 3);
    }
    EXPECT_EQ(run.maxima[2].time, 3 * day);
    EXPECT_TRUE(run.refusal.empty());

    BlockMaxima ties(BlockSize::Day);
    for (const LoadEvent& e : {event(7, 20, 1), event(6, day, 2), event(7, 30, 3)})
        ties.add(e);
    EXPECT_EQ(ties.run().maxima[0].position, 1u); // revisiting a block keeps the earlier tie
}

TEST(BlockMaxima, RefusesEventsItCannotPlaceAndSaysWhich) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const LoadEvent& bad : {event(nan, 0, 2), event(1, nan, 2), event(1, 1e300, 2)}) {
        BlockMaxima maxima(BlockSize::Week);
        EXPECT_TRUE(maxima.add(event(1, 0, 1)));
        EXPECT_FALSE(maxima.add(bad));
        EXPECT_NE(maxima.run().refusal.find("position 2"), std::string::npos);
        const RunMaxima runs[] = {maxima.run()};
        EXPECT_FALSE(pool(runs).ok());
    }
    BlockMaxima far(BlockSize::Day);
    far.add(event(1, -0x1p63 * day, 1));
    far.add(event(1, 0x1p62 * day, 2));
    // Damaged times as far apart as a block index can be: counted, not allocated.
    EXPECT_EQ(far.run().blockCount, (std::uint64_t{3} << 62) + 1);
    EXPECT_EQ(far.run().maxima.size(), 2u);
}

TEST(BlockSample, ClassesShareTheRangeOfAllAndRunsNeverShareBlocks) {
    EffectMaxima first(BlockSize::Day, 0);
    EffectMaxima second(BlockSize::Day, 1);
    for (const LoadEvent& e : {event(3, 0, 1, 1), event(4, 10, 2, 2), event(2, 9 * day, 3, 5)})
        first.add(e);
    for (const LoadEvent& e : {event(6, 0, 1, 1), event(5, day, 2, 1)})
        second.add(e);
    EXPECT_EQ(first.of(TruckClass::FourPlus).blockCount, 10u);
    EXPECT_EQ(first.of(TruckClass::Three).maxima.size(), 0u);
    EXPECT_EQ(first.of(TruckClass::Two).maxima.size(), 1u); // in a block that all already holds

    const RunMaxima all[] = {first.all(), second.all()};
    const Result<BlockSample> pooled = pool(all);
    ASSERT_TRUE(pooled.ok());
    EXPECT_EQ(pooled->blocks, 12u);
    EXPECT_DOUBLE_EQ(pooled->nonEmptyShare(), 4.0 / 12);
    // Block 0 of each run is its own: both maxima stay, each with its file.
    EXPECT_EQ(pooled->values(), (std::vector<double>{4, 2, 6, 5}));
    EXPECT_EQ(pooled->maxima[2].fileIndex, 1);

    const RunMaxima ones[] = {first.of(TruckClass::One), second.of(TruckClass::One)};
    EXPECT_DOUBLE_EQ(pool(ones)->nonEmptyShare(), 3.0 / 12);
    EXPECT_EQ(truckClassOf(2), TruckClass::Two);
    EXPECT_EQ(truckClassOf(3), TruckClass::Three);
    EXPECT_EQ(truckClassOf(40), TruckClass::FourPlus);

    RunMaxima huge;
    huge.blockCount = UINT64_MAX;
    const RunMaxima overflowing[] = {huge, first.all()};
    EXPECT_FALSE(pool(overflowing).ok());
}

} // namespace
} // namespace kestavian::stats
