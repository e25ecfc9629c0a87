// The two process-wide random families.
#include "shell/core/Random.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>

namespace {

// Rand covers exactly 0 ... 32767; LRand is never negative and reaches 2^31 - 1.
TEST(RandomTest, RandAndLRandCoverTheirRanges)
{
    shell::SRand(7);
    int lowest = 1 << 20;
    int highest = -1;
    std::int32_t lowestLong = 1;
    std::int32_t highestLong = 0;
    for (int i = 0; i < (1 << 20); ++i) {
        lowest = std::min(lowest, shell::Rand());
        highest = std::max(highest, shell::Rand());
        lowestLong = std::min(lowestLong, shell::LRand());
        highestLong = std::max(highestLong, shell::LRand());
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
    EXPECT_GE(lowestLong, 0);
    EXPECT_GE(highestLong, 2147483647 - 4096);
}

TEST(RandomTest, SameSeedRepeatsAndNormalDrawsDoNotMoveIt)
{
    shell::SRand(42);
    const int first = shell::Rand();
    const int second = shell::LRand();
    shell::SRand(42);
    shell::Randomize();
    for (int i = 0; i < 5; ++i)
        shell::RandG(0.0, 1.0);
    EXPECT_EQ(shell::Rand(), first);
    EXPECT_EQ(shell::LRand(), second);
}

TEST(RandomBelowTest, StaysBelowTheMagnitudeOfTheBound)
{
    struct Scripted {
        std::deque<std::int32_t> values{2147483647, 2147483647, 7};
        std::int32_t LRand()
        {
            const std::int32_t value = values.front();
            values.pop_front();
            return value;
        }
    } source;
    EXPECT_EQ(shell::RandomBelow(0, source), 0);
    EXPECT_EQ(shell::RandomBelow(-1000, source), 647);
    EXPECT_EQ(shell::RandomBelow(-2147483647 - 1, source), 2147483647);
    EXPECT_EQ(shell::RandomBelow(1000, source), 7);
    EXPECT_TRUE(source.values.empty());
}

// A reading that does not pass the last seed is moved past it.
TEST(ClockSeedTest, NeverRepeats)
{
    EXPECT_EQ(shell::SeedAfter(5, 3), 5u);
    EXPECT_EQ(shell::SeedAfter(3, 3), 4u);
    EXPECT_EQ(shell::SeedAfter(2, 3), 4u);
    const std::uint64_t first = shell::ClockSeed();
    EXPECT_LT(first, shell::ClockSeed());
}

// A bound's inverse gives RandomBelow's very draws without a division.
TEST(RandomBelowTest, ABoundFixedInAdvanceGivesTheSameDraws)
{
    for (const std::int32_t n : {1000, 7, 1, 0, -5, INT_MAX, INT_MIN}) {
        shell::StandardSource plain;
        shell::StandardSource fast;
        plain.seed(9);
        fast.seed(9);
        const shell::RandomBelowBound bound(n);
        for (int draw = 0; draw < 1000; ++draw)
            ASSERT_EQ(bound(fast), shell::RandomBelow(n, plain)) << n << " draw " << draw;
        EXPECT_EQ(fast.LRand(), plain.LRand()) << n;
    }
}

}  // namespace
