// A series of runs of the queueing network: run after run with one setting per
// side, each run from sources of its own, summarised per flow by the statistics
// of SummarizeFlow, and those by their means over the runs with 95 % intervals.
#pragma once

#include "EngineSteps.h"
#include "Settings.h"
#include "Variates.h"

#include "shell/core/SeriesModel.h"

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

// Both sides' draws, checked once for a whole point of a series.
struct SeriesDraws {
    VariateDraw arrival;
    VariateDraw processing;
};

// Throws shell::KeyedError, keyed by the parameter, for a setting that
// VariateDraw refuses.
SeriesDraws CheckedDraws(const SeriesSettings& settings);

// Run `run` of the series with seed `seed`, its sources seeded from the pair
// (shell::SeedsOfRun): the network simulated in `workspace`. Throws what
// RunModel throws, and a draw's ParameterError as a shell::KeyedError.
void SimulateRunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace);

// The same run, with each flow's response times summarised.
RunStatistics RunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace);

// What a series measures of each run: the flows' response times, or the servers.
enum class NetworkMeasure { Responses, Servers };

// The series of one setting, or of a sweep of one parameter (keyed as
// ParameterKey gives it). A run yields every flow's statistics, flow by flow,
// or every row of ServerRows().
class NetworkSeries : public shell::SeriesModel {
public:
    NetworkSeries(SeriesSettings settings, std::uint64_t seed, std::optional<shell::Sweep> sweep,
                  NetworkMeasure measure = NetworkMeasure::Responses);

    SeriesSettings settingsAt(int point) const;
    NetworkMeasure measure() const { return measure_; }
    // Simulates run `run` of `point` into `workspace`, the tables its statistics
    // are read from.
    void simulate(int point, std::uint64_t run, TRunWorkspace& workspace) const;

    int statisticCount() const override;
    std::string statisticLabel(int statistic) const override;
    std::unique_ptr<shell::SeriesWorkspace> makeWorkspace() const override;
    void run(int point, std::uint64_t run, shell::SeriesWorkspace* workspace, std::span<double> out) const override;
    std::optional<shell::SeriesFailure> refusedPoint() const override;
    // Times out of range name the parameters to change on the sides to blame.
    shell::NamedError describe(const shell::SeriesFailure& failure, const shell::ParameterNamer& name) const override;

private:
    SeriesSettings settings_;
    NetworkMeasure measure_;
    std::optional<SweepParameter> varied_;
    std::vector<std::optional<SeriesDraws>> draws_;  // none where the settings were refused
    std::optional<shell::SeriesFailure> refused_;
};

// The estimate of a flow's statistic (flow 1 to 3) in a point's summary.
const shell::Estimate& FlowEstimate(const shell::PointSummary& summary, int flow, FlowStatistic statistic);

// Header "value,flow,statistic,mean,ci_low,ci_high,runs", then a row per point,
// flow and statistic, in this order; the estimates of paired differences are
// headed "diff_mean,diff_low,diff_high".
std::string SeriesCsv(std::span<const shell::SeriesPoint> points, bool differences = false);

// Header "value,server,flow,statistic,mean,ci_low,ci_high,runs", then a row per
// point and ServerRows() row, in this order; the flow is empty for a server as
// a whole. Differences are headed as SeriesCsv heads them.
std::string ServerSeriesCsv(std::span<const shell::SeriesPoint> points, bool differences = false);

}  // namespace velmora
