// Series of warehouse runs: each run's own source, L summarised over the runs,
// the CSV of a series.
#include "kestrin/model/Series.h"

#include "kestrin/model/WarehouseLanes.h"

#include "shell/core/Exception.h"
#include "shell/core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace kestrin {
namespace {

TWarehouseInput smallOrders()
{
    TWarehouseInput input;
    input.Order.fill(5);
    input.Threshold.fill(2);
    input.DayCount = 250;
    return input;
}

std::vector<double> runSeries(const TWarehouseInput& input, std::uint64_t seed, int runs)
{
    std::vector<double> values;
    for (int run = 0; run < runs; ++run)
        values.push_back(RunOfSeries(input, seed, static_cast<std::uint64_t>(run)));
    return values;
}

TEST(RunOfSeriesTest, IsAPressWithTheRunsOwnSource)
{
    const std::vector<double> series = runSeries(smallOrders(), 11, 4);
    for (std::uint64_t run = 0; run < 4; ++run) {
        shell::StandardSource source;
        source.seed(shell::SeedsOfRun(11, run).standard);
        const double direct = SimulateWarehouse(
            smallOrders(), [&source](std::int32_t n) { return shell::RandomBelow(n, source); }, [](std::int32_t) {});
        EXPECT_EQ(series[run], direct) << run;
    }
    EXPECT_NE(series, runSeries(smallOrders(), 12, 4));
}

TEST(SummarizeLTest, MedianPercentileAndRangeOfTheRuns)
{
    const std::vector<double> odd{0.3, 0.1, 0.2};
    const LSummary three = SummarizeL(odd);
    EXPECT_DOUBLE_EQ(three.mean.mean, 0.2);
    EXPECT_EQ(three.median, 0.2);
    EXPECT_EQ(three.percentile95, 0.3);
    EXPECT_EQ(three.min, 0.1);
    EXPECT_EQ(three.max, 0.3);
    // 20 values: the median between the 10th and 11th, the 95th percentile the 19th.
    std::vector<double> twenty;
    for (int i = 20; i >= 1; --i)
        twenty.push_back(i / 100.0);
    const LSummary many = SummarizeL(twenty);
    EXPECT_DOUBLE_EQ(many.median, 0.105);
    EXPECT_EQ(many.percentile95, 0.19);
    EXPECT_EQ(many.min, 0.01);
    EXPECT_EQ(many.max, 0.2);
}

// Raising the common threshold reorders sooner, so mean L never rises beyond
// what the intervals allow; with the same runs at every threshold it falls from
// a quarter of the demand to almost none.
TEST(SweepTest, MeanLFallsAsTheCommonThresholdRises)
{
    std::vector<LSummary> points;
    for (int threshold = 0; threshold <= 19; threshold += 3) {
        const TWarehouseInput input = WithQuantity(smallOrders(), {WarehouseSweep::Quantity::Threshold, 0}, threshold);
        EXPECT_EQ(input.Threshold[9], static_cast<float>(threshold));
        points.push_back(SummarizeL(runSeries(input, 5, 50)));
    }
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_LE(points[i].mean.low, points[i - 1].mean.high) << i;
    EXPECT_GT(points.front().mean.mean, 0.2);
    EXPECT_LT(points.back().mean.mean, 0.01);
    // Good 1 alone, not all goods.
    const TWarehouseInput one = WithQuantity(smallOrders(), {WarehouseSweep::Quantity::Order, 1}, 7.5);
    EXPECT_EQ(one.Order[0], 7.5f);
    EXPECT_EQ(one.Order[1], 5.0f);
}

// Of 1000 intervals from series of 3 runs, about 95 % hold the mean of 20,000
// runs: a normal quantile would hold about 817, s / N about 873, s alone about 984.
TEST(SummarizeLTest, IntervalsOfThreeRunsHoldTheLongRunMeanNineteenTimesInTwenty)
{
    const std::vector<double> long_ = runSeries(smallOrders(), 1, 20'000);
    double sum = 0;
    for (const double l : long_)
        sum += l;
    const double mean = sum / static_cast<double>(long_.size());
    int held = 0;
    for (std::uint64_t series = 0; series < 1000; ++series) {
        const shell::Estimate estimate = SummarizeL(runSeries(smallOrders(), 1000 + series, 3)).mean;
        held += estimate.low <= mean && mean <= estimate.high;
    }
    EXPECT_GE(held, 930);
    EXPECT_LE(held, 970);
}

TEST(SeriesCsvTest, FiveRowsPerValueAndAnIntervalForLAlone)
{
    shell::PointSummary l{1000, {{0.048299999999999996, 0.047, 0.0496}}, {0.0481, 0.051, 0.04, 0.06}};
    const std::vector<shell::SeriesPoint> points{{std::nullopt, l}};
    EXPECT_EQ(SeriesCsv(points),
              "value,statistic,mean,ci_low,ci_high,runs\r\n"
              ",L,0.0483,0.047,0.0496,1000\r\n"
              ",L_median,0.0481,,,1000\r\n"
              ",L_p95,0.051,,,1000\r\n"
              ",L_min,0.04,,,1000\r\n"
              ",L_max,0.06,,,1000\r\n");
    l.runs = 3;
    const std::vector<shell::SeriesPoint> swept{{2, l}, {4.5, l}};
    const std::string csv = SeriesCsv(swept);
    EXPECT_NE(csv.find("\r\n2,L_max,0.06,,,3\r\n4.5,L,0.0483,"), std::string::npos);
}

}  // namespace
}  // namespace kestrin

namespace kestrin {
namespace {

// Rows of `runs` runs of two points of a sweep of good 1's threshold, run r
// drawing alike at both.
std::array<shell::SeriesPoint, 2> thresholdPair(std::uint64_t seed, int runs, float low, float high, Costs costs = {})
{
    const WarehouseSeries model(smallOrders(), seed, shell::Sweep{"threshold:1", {low, high}}, WarehouseMeasure::L,
                                costs);
    std::array<shell::SeriesPoint, 2> points;
    for (int point = 0; point < 2; ++point) {
        auto& rows = points[static_cast<std::size_t>(point)].rows;
        rows.resize(static_cast<std::size_t>(runs * model.statisticCount()));
        for (int run = 0; run < runs; ++run)
            model.run(point, static_cast<std::uint64_t>(run), nullptr,
                      std::span(rows).subspan(static_cast<std::size_t>(run * model.statisticCount()),
                                              static_cast<std::size_t>(model.statisticCount())));
        points[static_cast<std::size_t>(point)].summary = shell::Summarize(model, {rows, model.statisticCount()});
    }
    return points;
}

// Run r meets the same demand at both thresholds, so the paired difference is
// far narrower than the two points' own intervals together; and of 1000
// paired series of 3 runs, about 95 % hold the difference that 20,000 pairs
// give (a normal quantile would hold about 810).
TEST(PairedDifferencesTest, NarrowerThanTwoIntervalsAndHoldsTheLongRunDifference)
{
    const auto pair = thresholdPair(3, 100, 2, 3);
    const shell::Estimate paired = shell::PairedDifferences(pair[1], pair[0], 1).summary.estimates[0];
    const auto halfWidth = [](const shell::Estimate& e) { return (e.high - e.low) / 2; };
    const double apart = std::hypot(halfWidth(pair[0].summary.estimates[0]), halfWidth(pair[1].summary.estimates[0]));
    EXPECT_LT(halfWidth(paired), apart / 3);
    EXPECT_EQ(shell::PairedDifferences(pair[0], pair[0], 1).summary.estimates[0].high, 0);

    const auto longRun = thresholdPair(1, 20'000, 2, 3);
    const double difference = shell::PairedDifferences(longRun[1], longRun[0], 1).summary.estimates[0].mean;
    int held = 0;
    for (std::uint64_t series = 0; series < 1000; ++series) {
        const auto few = thresholdPair(1000 + series, 3, 2, 3);
        const shell::Estimate estimate = shell::PairedDifferences(few[1], few[0], 1).summary.estimates[0];
        held += estimate.low <= difference && difference <= estimate.high;
    }
    EXPECT_GE(held, 930);
    EXPECT_LE(held, 970);
}

// A source that always gives 500, order 3, threshold 0: each good holds 3 and
// loses 2 places a day, 3 + 2 · 10 = 23 a day with H = 1 and P = 10; 230 for
// the ten goods, whatever the number of days. A delivery a day adds K each.
TEST(CostTest, ConstantDemandWorkedByHand)
{
    for (const std::int32_t days : {1, 7, 250}) {
        TWarehouseInput input = smallOrders();
        input.Order.fill(3);
        input.Threshold.fill(0);
        input.DayCount = days;
        CostMeter cost(Costs{1, 10, 0});
        SimulateWarehouse(
            input, [](std::int32_t) { return 500; }, cost, cost);
        EXPECT_DOUBLE_EQ(cost.perDay(), 230) << days;
        CostMeter deliveries(Costs{0, 0, 4});
        SimulateWarehouse(
            input, [](std::int32_t) { return 500; }, deliveries, deliveries);
        EXPECT_DOUBLE_EQ(deliveries.perDay(), 40) << days;
    }
}

}  // namespace
}  // namespace kestrin

namespace kestrin {
namespace {

// A series makes its runs eight at a time where the processor can: every row
// is the one run by run, to the last bit, of L, of L with costs and of the
// goods' measures, a short last group included; a group with an error is made
// again run by run, which names the first that failed.
TEST(SeriesRunsTest, EightAtATimeAreTheRunsOneByOne)
{
    for (const auto& [measure, costs] : {std::pair{WarehouseMeasure::L, Costs{}},
                                         {WarehouseMeasure::L, Costs{0.5, 3, 7}},
                                         {WarehouseMeasure::Goods, Costs{}}}) {
        for (const float threshold : {0.0f, 2.0f, 7.5f}) {
            TWarehouseInput input = smallOrders();
            input.Threshold.fill(threshold);
            input.Order[3] = 0.5f;
            const WarehouseSeries series(input, 77, std::nullopt, measure, costs);
            const auto statistics = static_cast<std::size_t>(series.statisticCount());
            std::vector<double> out(21 * statistics);
            std::vector<double> one(statistics);
            int done = 0;
            series.runChunk(0, 5, 21, nullptr, out, done);
            EXPECT_EQ(done, 21);
            for (std::size_t run = 0; run < 21; ++run) {
                series.run(0, 5 + run, nullptr, one);
                ASSERT_TRUE(std::ranges::equal(std::span(out).subspan(run * statistics, statistics), one))
                    << statistics << " " << threshold << " " << run;
            }
        }
    }
    if (HasVectorLanes()) {
        std::array<std::uint64_t, Lanes> seeds{};
        std::array<double, Lanes> l{};
        TWarehouseInput huge = smallOrders();
        huge.Order[9] = 3e38f;
        huge.Threshold[9] = 3.4e38f;
        std::array<IgnoreDays, Lanes> nothing;
        EXPECT_FALSE(SimulateWarehouseLanes(huge, seeds, l, nothing));
    }
    TWarehouseInput huge = smallOrders();
    huge.Order.fill(3e38f);
    huge.Threshold.fill(3.4e38f);
    const WarehouseSeries failing(huge, 77, std::nullopt);
    std::vector<double> out(16);
    int done = 0;
    EXPECT_THROW(failing.runChunk(0, 0, 16, nullptr, out, done), shell::Exception);
    EXPECT_EQ(done, 0);
}

}  // namespace
}  // namespace kestrin
