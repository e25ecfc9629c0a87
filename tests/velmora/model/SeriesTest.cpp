// Series of runs of the queueing network: per-run statistics, their intervals,
// and the CSV of a series.
#include "velmora/model/Series.h"

#include "velmora/model/Histogram.h"

#include "shell/core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace velmora {
namespace {

const SeriesSettings startSettings{{DistributionKind::Uniform, 100, 0}, {DistributionKind::Uniform, 50, 0}};

std::vector<RunStatistics> runSeries(const SeriesSettings& settings, std::uint64_t seed, int runs)
{
    const SeriesDraws draws = CheckedDraws(settings);
    const auto workspace = std::make_unique<TRunWorkspace>();
    std::vector<RunStatistics> statistics;
    for (int run = 0; run < runs; ++run)
        statistics.push_back(RunOfSeries(draws, seed, static_cast<std::uint64_t>(run), *workspace));
    return statistics;
}

// The RandomSources interface over a run's own sources, as the window's draws take them.
class Forward final : public shell::RandomSources {
public:
    explicit Forward(shell::RunSources& sources)
        : sources_(sources)
    {
    }
    std::int32_t Rand() override { return sources_.Rand(); }
    std::int32_t LRand() override { return sources_.LRand(); }
    double RandG(double mean, double stdDev) override { return sources_.RandG(mean, stdDev); }

private:
    shell::RunSources& sources_;
};

// A run of a series is RunModel with the run's own sources, summarised as the
// legend's readout summarises a flow; both families of sources are used.
TEST(RunOfSeriesTest, IsRunModelWithTheRunsOwnSourcesSummarisedByFlow)
{
    const SeriesSettings settings{{DistributionKind::Exponential, 0.02, 0}, {DistributionKind::Normal, 30, 8}};
    const std::vector<RunStatistics> series = runSeries(settings, 77, 5);
    for (std::uint64_t run = 0; run < 5; ++run) {
        const shell::RunSeeds seeds = shell::SeedsOfRun(77, run);
        shell::RunSources own(seeds.standard, seeds.normal);
        Forward sources(own);
        const TResultArrays results = RunModel([&] { return DrawVariate(settings.arrival, sources); },
                                               [&] { return DrawVariate(settings.processing, sources); });
        int flow = 0;
        for (const auto* values : {&results.Result1, &results.Result2, &results.Result3}) {
            const FlowSummary summary = SummarizeFlow(*values);
            const std::array<double, FlowStatisticCount> expected{
                summary.mean, summary.median, double(summary.percentile90), double(summary.percentile95)};
            EXPECT_EQ(series[run][static_cast<std::size_t>(flow)], expected) << "run " << run << " flow " << flow + 1;
            ++flow;
        }
    }
}

// Run r draws the same streams at every point: settings that draw alike give
// equal runs, and another seed gives other runs.
TEST(RunOfSeriesTest, RunRDrawsTheSameStreamsAtEveryPoint)
{
    // MAX 100.9 has the same whole part as 100.
    EXPECT_EQ(runSeries(startSettings, 3, 4), runSeries(WithParameter(startSettings, {Side::Arrival, 1}, 100.9), 3, 4));
    EXPECT_NE(runSeries(startSettings, 3, 4), runSeries(startSettings, 4, 4));
    const auto processing = WithParameter(startSettings, {Side::Processing, 2}, 12.5);
    EXPECT_EQ(processing.processing.p2, 12.5);
    EXPECT_EQ(processing.arrival.p1, 100);
}

// Processing draws below 0 count as 0, so each server takes one tick and no
// statistic falls below the servers a flow passes: 3 for flows 1 and 2, 2 for flow 3.
TEST(RunOfSeriesTest, NegativeProcessingDrawsLeaveTheServersMinimum)
{
    const SeriesSettings settings{{DistributionKind::Uniform, 100, 0}, {DistributionKind::Normal, -50, 10}};
    for (const RunStatistics& run : runSeries(settings, 9, 3)) {
        for (int flow = 0; flow < FlowCount; ++flow) {
            for (const double statistic : run[static_cast<std::size_t>(flow)])
                EXPECT_GE(statistic, flow < 2 ? 3 : 2);
        }
    }
}

// Of 1000 intervals from series of 3 runs, about 95 % hold the mean of 20,000
// runs: a normal quantile would hold about 811, s / N about 869, s alone about 982.
TEST(SummarizeTest, IntervalsOfThreeRunsHoldTheLongRunMeanNineteenTimesInTwenty)
{
    const std::vector<RunStatistics> long_ = runSeries(startSettings, 1, 20'000);
    double sum = 0;
    for (const RunStatistics& run : long_)
        sum += run[2][0];
    const double mean = sum / static_cast<double>(long_.size());
    int held = 0;
    for (std::uint64_t series = 0; series < 1000; ++series) {
        std::vector<double> means;
        for (const RunStatistics& run : runSeries(startSettings, 1000 + series, 3))
            means.push_back(run[2][0]);
        const shell::Estimate estimate = shell::MeanWithInterval(means);
        held += estimate.low <= mean && mean <= estimate.high;
    }
    EXPECT_GE(held, 930);
    EXPECT_LE(held, 970);
}

// A point's estimate of each flow and statistic comes from the value the
// model's runs write for it, which is RunOfSeries's.
TEST(SummarizeTest, EachFlowAndStatisticFromItsOwnRuns)
{
    const NetworkSeries model(startSettings, 21, std::nullopt);
    const auto workspace = model.makeWorkspace();
    std::vector<double> rows(4 * FlowCount * FlowStatisticCount);
    for (std::uint64_t run = 0; run < 4; ++run)
        model.run(0, run, workspace.get(), std::span(rows).subspan(run * FlowCount * FlowStatisticCount, 12));
    const shell::PointSummary summary = shell::Summarize(model, {rows, model.statisticCount()});
    EXPECT_EQ(summary.runs, 4);
    const std::vector<RunStatistics> runs = runSeries(startSettings, 21, 4);
    for (int flow = 1; flow <= FlowCount; ++flow) {
        for (int statistic = 0; statistic < FlowStatisticCount; ++statistic) {
            std::vector<double> column;
            for (const RunStatistics& run : runs)
                column.push_back(run[static_cast<std::size_t>(flow - 1)][static_cast<std::size_t>(statistic)]);
            const shell::Estimate expected = shell::MeanWithInterval(column);
            const shell::Estimate& estimate = FlowEstimate(summary, flow, static_cast<FlowStatistic>(statistic));
            EXPECT_EQ(estimate.mean, expected.mean) << flow << " " << statistic;
            EXPECT_EQ(estimate.high, expected.high) << flow << " " << statistic;
        }
    }
}

TEST(SeriesCsvTest, RowsByValueFlowAndStatisticWithTwelveDigits)
{
    shell::PointSummary estimates{1000, std::vector<shell::Estimate>(FlowCount * FlowStatisticCount), {}};
    estimates.estimates.front() = {24.299999999999997, 24.1, 24.5};
    estimates.estimates.back() = {1.0 / 3.0, 0.25, 0.4};
    const std::vector<shell::SeriesPoint> plain{{std::nullopt, estimates}};
    const std::string csv = SeriesCsv(plain);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n", 48) + 2),
              "value,flow,statistic,mean,ci_low,ci_high,runs\r\n"
              ",1,mean,24.3,24.1,24.5,1000\r\n");
    EXPECT_NE(csv.find("\r\n,3,p95,0.333333333333,0.25,0.4,1000\r\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + FlowCount * FlowStatisticCount);

    estimates.runs = 3;
    const std::vector<shell::SeriesPoint> sweep{{0.005, estimates}, {0.01, estimates}};
    const std::string swept = SeriesCsv(sweep);
    std::vector<std::string> firsts;
    for (std::size_t line = swept.find("\r\n") + 2; line < swept.size(); line = swept.find("\r\n", line) + 2)
        firsts.push_back(swept.substr(line, swept.find(',', swept.find(',', line) + 1) - line));
    ASSERT_EQ(firsts.size(), 2u * FlowCount * FlowStatisticCount);
    EXPECT_EQ(firsts.front(), "0.005,1");
    EXPECT_EQ(firsts[1], "0.005,1");
    EXPECT_EQ(firsts[4], "0.005,2");
    EXPECT_EQ(firsts.back(), "0.01,3");
}

}  // namespace
}  // namespace velmora
