// A series of runs of the queueing network: run after run with one setting per
// side, each run from sources of its own, summarised per flow by the statistics
// of SummarizeFlow, and those by their means over the runs with 95 % intervals.
#pragma once

#include "EngineSteps.h"
#include "Variates.h"

#include "shell/Series.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The statistics of one flow in one run, in the order of the series' rows.
enum class FlowStatistic { Mean, Median, Percentile90, Percentile95 };
inline constexpr int FlowStatisticCount = 4;

// "mean", "median", "p90" or "p95".
std::string_view StatisticName(FlowStatistic statistic);

// [flow][statistic] of one run.
using RunStatistics = std::array<std::array<double, FlowStatisticCount>, FlowCount>;
// [flow][statistic] of one point of a series: the mean over its runs and its interval.
using PointEstimates = std::array<std::array<shell::Estimate, FlowStatisticCount>, FlowCount>;

struct SeriesSettings {
    DistributionSetting arrival;
    DistributionSetting processing;
};

// The parameter a sweep varies: p1 or p2 of one side.
struct SweepParameter {
    Side side;
    int parameter;
};

// The settings with one parameter set to `value`.
SeriesSettings WithParameter(SeriesSettings settings, SweepParameter varied, double value);

// Both sides' draws, checked once for a whole point of a series.
struct SeriesDraws {
    VariateDraw arrival;
    VariateDraw processing;
};

// Throws SettingError for a setting that VariateDraw refuses.
SeriesDraws CheckedDraws(const SeriesSettings& settings);

// Run `run` of the series with seed `seed`: its sources seeded from the pair
// (shell::SeedsOfRun), the whole network run in `workspace`, then each flow
// summarised. Throws what RunModel throws, and a draw's ParameterError as a
// SettingError.
RunStatistics RunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace);

// The mean and 95 % Student t interval of every statistic of every flow over
// the runs, taken in run order. Needs at least two runs.
PointEstimates EstimatePoint(std::span<const RunStatistics> runs);

// One point of a finished series: the varied parameter's value (none without a
// sweep) and its estimates.
struct SeriesPoint {
    std::optional<double> value;
    PointEstimates estimates;
};

// Header "value,flow,statistic,mean,ci_low,ci_high,runs", then a row per point,
// flow and statistic, in this order.
std::string SeriesCsv(std::span<const SeriesPoint> points, int runs);

}  // namespace velmora
