// Histogram ranges, bin counts and the edge tolerance.
#include "velmora/model/Histogram.h"

#include <gtest/gtest.h>

#include <cmath>

#include <numeric>

namespace velmora {
namespace {

using Values = std::array<std::int32_t, 1000>;

Values filled(std::int32_t value)
{
    Values values;
    values.fill(value);
    return values;
}

std::array<int, 31> counts(const std::array<HistogramPoint, 31>& points)
{
    std::array<int, 31> result;
    for (int k = 0; k < 31; ++k)
        result[k] = static_cast<int>(points[k].Y * 1000 + 0.5);
    return result;
}

TEST(AlmostEqualTest, ToleratesLessThanNinetyMillionths)
{
    EXPECT_TRUE(AlmostEqual(5, 5));
    EXPECT_TRUE(AlmostEqual(5.00008, 5));
    EXPECT_TRUE(AlmostEqual(4.99992, 5));
    EXPECT_FALSE(AlmostEqual(5.0001, 5));
    EXPECT_FALSE(AlmostEqual(4.9999, 5));
    EXPECT_FALSE(AlmostEqual(std::nan(""), 5));
}

TEST(BuildHistogramTest, SpreadsConsecutiveResultsOverThirtyBins)
{
    Values values;
    std::iota(values.begin(), values.end(), 0);
    const HistogramRange range = FlowRange(values);
    EXPECT_DOUBLE_EQ(range.L, 0);
    EXPECT_DOUBLE_EQ(range.h, 33.3);

    const auto points = BuildHistogram(values, range.L, range.h);
    const std::array<int, 31> expected{34, 33, 33, 34, 33, 33, 34, 33, 33, 34, 33, 33, 33, 34, 33, 33,
                                       34, 33, 33, 34, 33, 33, 33, 34, 33, 33, 34, 33, 33, 34, 0};
    EXPECT_EQ(counts(points), expected);
    EXPECT_DOUBLE_EQ(points[0].X, 0);
    EXPECT_DOUBLE_EQ(points[1].X, 33.3);
    EXPECT_DOUBLE_EQ(points[30].X, 999);
    EXPECT_EQ(points[0].Y, 34 * 0.001);
}

// In the range 10 to 70 (h = 2): 10 and 12 count in bin 1, 13 in bin 2, and 70,
// the upper bound, in bin 30, not 31; BinTicks names the same whole ticks.
TEST(BuildHistogramTest, ResultsOnEdgesCountInTheLowerBin)
{
    Values values = filled(10);
    values[498] = 12;
    values[499] = 13;
    std::fill(values.begin() + 500, values.end(), 70);
    const HistogramRange range = FlowRange(values);
    EXPECT_DOUBLE_EQ(range.h, 2);
    const auto points = BuildHistogram(values, range.L, range.h);
    EXPECT_EQ(counts(points)[0], 499);
    EXPECT_EQ(counts(points)[1], 1);
    EXPECT_EQ(counts(points)[29], 500);
    EXPECT_EQ(counts(points)[30], 0);
    EXPECT_EQ(points[29].X, 68);
    struct Bin {
        double lower, upper;
        bool first;
        TickSpan ticks;
    };
    for (const Bin& bin : std::vector<Bin>{{10, 12, true, {10, 12}},
                                           {12, 14, false, {13, 14}},
                                           {68, 70, false, {69, 70}},
                                           {0, 33.3, true, {0, 33}},
                                           {33.3, 66.6, false, {34, 66}},
                                           {10, 12.99995, true, {10, 13}},  // within AlmostEqual of 13
                                           {12.99995, 15, false, {14, 15}},
                                           {5.5, 5.9, false, {6, 5}}}) {
        const TickSpan ticks = BinTicks(bin.lower, bin.upper, bin.first);
        EXPECT_EQ(ticks.first, bin.ticks.first) << bin.lower << " .. " << bin.upper;
        EXPECT_EQ(ticks.last, bin.ticks.last) << bin.lower << " .. " << bin.upper;
    }
}

TEST(BuildHistogramTest, EqualResultsFillTheFirstPoint)
{
    const Values values = filled(7);
    const HistogramRange range = FlowRange(values);
    EXPECT_EQ(range.h, 0);
    const auto points = BuildHistogram(values, range.L, range.h);
    EXPECT_EQ(points[0].Y, 1);
    for (const HistogramPoint& point : points)
        EXPECT_EQ(point.X, 7);
    EXPECT_EQ(std::accumulate(points.begin() + 1, points.end(), 0.0, [](double s, auto p) { return s + p.Y; }), 0);
}

TEST(CommonRangeTest, SpansTheSmallestFirstAndLargestLastResult)
{
    Values a;
    Values b;
    Values c;
    std::iota(a.begin(), a.end(), 5);    // 5 ... 1004
    std::iota(b.begin(), b.end(), -20);  // -20 ... 979
    std::iota(c.begin(), c.end(), 100);  // 100 ... 1099
    // Whichever flow holds them.
    for (const HistogramRange& range : {CommonRange(a, b, c), CommonRange(b, c, a), CommonRange(c, a, b)}) {
        EXPECT_EQ(range.L, -20);
        EXPECT_DOUBLE_EQ(range.h, (1099.0 + 20.0) / 30.0);
    }
}

TEST(SummarizeFlowTest, MeanMedianNearestRankPercentilesAndBounds)
{
    // 500 values of -3, 449 of 0, then 5, 7 and 49 values whose sum needs 64 bits.
    Values values = filled(0);
    std::fill(values.begin(), values.begin() + 500, -3);
    values[949] = 5;
    values[950] = 7;
    std::fill(values.begin() + 951, values.end(), 2'000'000'000);
    const FlowSummary s = SummarizeFlow(values);
    EXPECT_DOUBLE_EQ(s.mean, (500 * -3 + 5 + 7 + 49 * 2e9) / 1000);
    EXPECT_EQ(s.median, -1.5);
    EXPECT_EQ(s.percentile90, 0);
    EXPECT_EQ(s.percentile95, 5);
    EXPECT_EQ(s.min, -3);
    EXPECT_EQ(s.max, 2'000'000'000);
}

}  // namespace
}  // namespace velmora
