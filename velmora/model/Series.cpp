// Runs of a series draw from shell::RunSources, whose draws inline into the run.
#include "Series.h"

#include "Histogram.h"

#include "shell/Csv.h"
#include "shell/Random.h"

namespace velmora {

std::string_view StatisticName(FlowStatistic statistic)
{
    switch (statistic) {
    case FlowStatistic::Mean:
        return "mean";
    case FlowStatistic::Median:
        return "median";
    case FlowStatistic::Percentile90:
        return "p90";
    case FlowStatistic::Percentile95:
        return "p95";
    }
    return {};
}

SeriesSettings WithParameter(SeriesSettings settings, SweepParameter varied, double value)
{
    DistributionSetting& setting = varied.side == Side::Arrival ? settings.arrival : settings.processing;
    (varied.parameter == 1 ? setting.p1 : setting.p2) = value;
    return settings;
}

SeriesDraws CheckedDraws(const SeriesSettings& settings)
{
    const auto checked = [](Side side, const DistributionSetting& setting) {
        try {
            return VariateDraw(setting);
        } catch (const ParameterError& error) {
            throw SettingError(side, error);
        }
    };
    return {checked(Side::Arrival, settings.arrival), checked(Side::Processing, settings.processing)};
}

RunStatistics RunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace)
{
    const shell::RunSeeds seeds = shell::SeedsOfRun(seed, run);
    shell::RunSources sources(seeds.standard, seeds.normal);
    const auto drawer = [&sources](Side side, const VariateDraw& draw) {
        return [&sources, side, &draw] {
            try {
                return draw(sources);
            } catch (const ParameterError& error) {
                throw SettingError(side, error);
            }
        };
    };
    TResultArrays results;
    RunModel(workspace, results, drawer(Side::Arrival, draws.arrival), drawer(Side::Processing, draws.processing));
    RunStatistics statistics;
    int flow = 0;
    for (const auto* values : {&results.Result1, &results.Result2, &results.Result3}) {
        const FlowSummary summary = SummarizeFlow(*values);
        statistics[flow++] = {summary.mean, summary.median, static_cast<double>(summary.percentile90),
                              static_cast<double>(summary.percentile95)};
    }
    return statistics;
}

PointEstimates EstimatePoint(std::span<const RunStatistics> runs)
{
    PointEstimates estimates;
    std::vector<double> values(runs.size());
    for (int flow = 0; flow < FlowCount; ++flow) {
        for (int statistic = 0; statistic < FlowStatisticCount; ++statistic) {
            for (std::size_t run = 0; run < runs.size(); ++run)
                values[run] = runs[run][flow][statistic];
            estimates[flow][statistic] = shell::MeanWithInterval(values);
        }
    }
    return estimates;
}

std::string SeriesCsv(std::span<const SeriesPoint> points, int runs)
{
    shell::Csv csv{"value", "flow", "statistic", "mean", "ci_low", "ci_high", "runs"};
    for (const SeriesPoint& point : points) {
        for (int flow = 0; flow < FlowCount; ++flow) {
            for (int statistic = 0; statistic < FlowStatisticCount; ++statistic) {
                if (point.value)
                    csv << *point.value;
                else
                    csv.skip();
                const shell::Estimate& estimate = point.estimates[flow][statistic];
                csv.row(flow + 1, StatisticName(static_cast<FlowStatistic>(statistic)), estimate.mean, estimate.low,
                        estimate.high, runs);
            }
        }
    }
    return csv.text();
}

}  // namespace velmora
