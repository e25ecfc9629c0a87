// What every series shares: the seeds of its runs, sweep values and statistics.
#include "shell/core/Series.h"

#include "shell/core/Exception.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// SplitMix64's published first output for the state 0, and the pair mixing:
// no two (seed, run) pairs nearby share a seed, and a seed's neighbour is not
// the seed's runs shifted by one.
TEST(SeedsOfRunTest, MixSeedAndRunIntoUnrelatedStreams)
{
    EXPECT_EQ(shell::SplitMix64(0), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(shell::SeedsOfRun(5, 7).standard, shell::SplitMix64(shell::SplitMix64(5) + 7));
    EXPECT_EQ(shell::SeedsOfRun(5, 7).normal, shell::SplitMix64(shell::SeedsOfRun(5, 7).standard));
    std::set<std::uint64_t> seen;
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        for (std::uint64_t run = 0; run < 20; ++run) {
            const shell::RunSeeds seeds = shell::SeedsOfRun(seed, run);
            EXPECT_TRUE(seen.insert(seeds.standard).second) << seed << " " << run;
            EXPECT_TRUE(seen.insert(seeds.normal).second) << seed << " " << run;
        }
    }
}

// Of a parameter whose whole part alone counts, a sweep takes whole values:
// the bounds' whole parts, evenly spread and rounded; a range with fewer whole
// values than points, or of one whole value, is refused.
TEST(SweepValuesTest, WholeValuesForAParameterOfWholeParts)
{
    EXPECT_EQ(shell::WholeSweepValues(50.7, 150.2, 20).at(1), 55);
    EXPECT_EQ(shell::WholeSweepValues(50, 150, 20).at(2), 61);
    EXPECT_EQ(shell::WholeSweepValues(1.9, 4.2, 4), std::vector<double>({1, 2, 3, 4}));
    EXPECT_EQ(shell::WholeSweepValues(-3.5, 3.5, 3), std::vector<double>({-3, 0, 3}));
    EXPECT_THROW(shell::WholeSweepValues(100, 101.9, 3), shell::Exception);
    EXPECT_THROW(shell::ReadSweepEnd(100, "100.75", true), shell::Exception);
    EXPECT_EQ(shell::ReadSweepEnd(100, "100.75"), 100.75);
}

TEST(SweepValuesTest, SpacesEvenlyAndEndsExactlyAtBothBounds)
{
    EXPECT_EQ(shell::SweepValues(0, 19, 20),
              std::vector<double>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(shell::SweepValues(0.005, 0.02, 4), std::vector<double>({0.005, 0.01, 0.015, 0.02}));
    EXPECT_EQ(shell::SweepValues(0.1, 0.9, 4).back(), 0.9);  // 0.1 + 0.8 would be 0.9000000000000001
    EXPECT_EQ(shell::SweepValues(3, -3, 2), std::vector<double>({3, -3}));
}

// mean ± t(0.975, n − 1) · s / √n with s of divisor n − 1: {1, 2, 3, 4} has
// s = 1.29099…, t(0.975, 3) = 3.18245…; the normal quantile (1.96) or a divisor n
// would miss these bounds by far more than the tolerance.
TEST(MeanWithIntervalTest, IsTheStudentTInterval)
{
    const std::vector<double> values{1, 2, 3, 4};
    const shell::Estimate estimate = shell::MeanWithInterval(values);
    EXPECT_DOUBLE_EQ(estimate.mean, 2.5);
    EXPECT_NEAR(estimate.high - estimate.mean, 2.0542602568, 1e-9);
    EXPECT_NEAR(estimate.mean - estimate.low, 2.0542602568, 1e-9);
    const std::vector<double> two{10, 12};
    EXPECT_NEAR(shell::MeanWithInterval(two).high, 11 + 12.7062047362, 1e-9);
    const std::vector<double> same{7, 7, 7};
    EXPECT_EQ(shell::MeanWithInterval(same).low, 7);
}

TEST(OrderStatisticsTest, MedianAndNearestRank)
{
    const std::vector<int> odd{1, 2, 10};
    const std::vector<int> even{1, 2, 3, 10};
    EXPECT_EQ(shell::Median<int>(odd), 2);
    EXPECT_EQ(shell::Median<int>(even), 2.5);
    // Rank ceil(p / 100 · n): 95 % of 20 is rank 19 exactly, of 21 rank 20.
    std::vector<int> ranks(21);
    for (int i = 0; i < 21; ++i)
        ranks[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(shell::NearestRank<int>(std::span(ranks).first(20), 95), 19);
    EXPECT_EQ(shell::NearestRank<int>(ranks, 95), 20);
    EXPECT_EQ(shell::NearestRank<int>(odd, 90), 10);
    EXPECT_EQ(shell::NearestRank<int>(odd, 1), 1);
}

}  // namespace
