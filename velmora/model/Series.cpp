// Runs of a series draw from shell::RunSources, whose draws inline into the run.
#include "Series.h"

#include "Histogram.h"
#include "Servers.h"

#include "shell/core/Convert.h"
#include "shell/core/Csv.h"
#include "shell/core/Random.h"

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

namespace {

[[noreturn]] void throwKeyed(Side side, const ParameterError& error)
{
    throw shell::KeyedError(ParameterKey({side, error.parameter()}), error.message());
}

struct NetworkWorkspace : shell::SeriesWorkspace {
    TRunWorkspace tables;
};

}  // namespace

SeriesDraws CheckedDraws(const SeriesSettings& settings)
{
    const auto checked = [](Side side, const DistributionSetting& setting) {
        try {
            return VariateDraw(setting);
        } catch (const ParameterError& error) {
            throwKeyed(side, error);
        }
    };
    return {checked(Side::Arrival, settings.arrival), checked(Side::Processing, settings.processing)};
}

void SimulateRunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace)
{
    const shell::RunSeeds seeds = shell::SeedsOfRun(seed, run);
    shell::RunSources sources(seeds.standard, seeds.normal);
    const auto drawer = [&sources](Side side, const VariateDraw& draw) {
        return [&sources, side, &draw] {
            try {
                return draw(sources);
            } catch (const ParameterError& error) {
                throwKeyed(side, error);
            }
        };
    };
    SimulateNetwork(workspace, drawer(Side::Arrival, draws.arrival), drawer(Side::Processing, draws.processing));
}

RunStatistics RunOfSeries(const SeriesDraws& draws, std::uint64_t seed, std::uint64_t run, TRunWorkspace& workspace)
{
    SimulateRunOfSeries(draws, seed, run, workspace);
    TResultArrays results;
    ComputeFlowResults(workspace, results);
    RunStatistics statistics;
    int flow = 0;
    for (auto* values : {&results.Result1, &results.Result2, &results.Result3}) {
        SortAscending(*values);
        const FlowSummary summary = SummarizeFlow(*values);
        statistics[flow++] = {summary.mean, summary.median, static_cast<double>(summary.percentile90),
                              static_cast<double>(summary.percentile95)};
    }
    return statistics;
}

NetworkSeries::NetworkSeries(SeriesSettings settings, std::uint64_t seed, std::optional<shell::Sweep> sweep,
                             NetworkMeasure measure)
    : SeriesModel(seed, std::move(sweep))
    , settings_(settings)
    , measure_(measure)
{
    if (this->sweep())
        varied_ = ParseParameterKey(this->sweep()->key);
    // Every point's settings are checked before anything runs.
    for (int point = 0; point < pointCount(); ++point) {
        try {
            draws_.emplace_back(CheckedDraws(settingsAt(point)));
        } catch (...) {
            draws_.emplace_back();
            if (!refused_)
                refused_ = shell::SeriesFailure{point, std::nullopt, std::current_exception()};
        }
    }
}

SeriesSettings NetworkSeries::settingsAt(int point) const
{
    if (!varied_)
        return settings_;
    return WithParameter(settings_, *varied_, *valueAt(point));
}

std::unique_ptr<shell::SeriesWorkspace> NetworkSeries::makeWorkspace() const
{
    return std::make_unique_for_overwrite<NetworkWorkspace>();
}

int NetworkSeries::statisticCount() const
{
    return measure_ == NetworkMeasure::Servers ? static_cast<int>(ServerRows().size()) : FlowCount * FlowStatisticCount;
}

std::string NetworkSeries::statisticLabel(int statistic) const
{
    if (measure_ == NetworkMeasure::Servers) {
        const ServerRow& row = ServerRows()[static_cast<std::size_t>(statistic)];
        return "сервер " + std::to_string(ServerNumber(row.server))
            + (row.flow != 0 ? ", поток " + std::to_string(row.flow) : std::string()) + ", "
            + std::string(StatisticName(row.statistic));
    }
    return "поток " + std::to_string(statistic / FlowStatisticCount + 1) + ", "
        + std::string(StatisticName(static_cast<FlowStatistic>(statistic % FlowStatisticCount)));
}

void NetworkSeries::simulate(int point, std::uint64_t run, TRunWorkspace& workspace) const
{
    SimulateRunOfSeries(*draws_[static_cast<std::size_t>(point)], seed(), run, workspace);
}

void NetworkSeries::run(int point, std::uint64_t run, shell::SeriesWorkspace* workspace, std::span<double> out) const
{
    const SeriesDraws& draws = *draws_[static_cast<std::size_t>(point)];
    TRunWorkspace& tables = static_cast<NetworkWorkspace*>(workspace)->tables;
    if (measure_ == NetworkMeasure::Servers) {
        simulate(point, run, tables);
        const NetworkMeasures measures = MeasureServers(tables);
        std::size_t row = 0;
        for (const ServerRow& each : ServerRows())
            out[row++] = RowValue(measures, each);
        return;
    }
    const RunStatistics statistics = RunOfSeries(draws, seed(), run, tables);
    for (int flow = 0; flow < FlowCount; ++flow) {
        for (int statistic = 0; statistic < FlowStatisticCount; ++statistic)
            out[static_cast<std::size_t>(flow * FlowStatisticCount + statistic)] = statistics[flow][statistic];
    }
}

std::optional<shell::SeriesFailure> NetworkSeries::refusedPoint() const
{
    return refused_;
}

shell::NamedError NetworkSeries::describe(const shell::SeriesFailure& failure, const shell::ParameterNamer& name) const
{
    try {
        std::rethrow_exception(failure.error);
    } catch (const TimeRangeError& error) {
        const SeriesSettings settings = settingsAt(failure.point);
        const Side first = error.arrival() ? Side::Arrival : Side::Processing;
        return {TimeRangeMessage(error, settings.arrival.kind, settings.processing.kind,
                                 [&](Side side, int parameter) {
                                     return nameAt(failure.point, ParameterKey({side, parameter}), name);
                                 }),
                ParameterKey({first, 1})};
    } catch (...) {
        return SeriesModel::describe(failure, name);
    }
}

const shell::Estimate& FlowEstimate(const shell::PointSummary& summary, int flow, FlowStatistic statistic)
{
    return summary.estimates[static_cast<std::size_t>((flow - 1) * FlowStatisticCount + static_cast<int>(statistic))];
}

std::string SeriesCsv(std::span<const shell::SeriesPoint> points, bool differences)
{
    shell::Csv csv = differences
        ? shell::Csv{"value", "flow", "statistic", "diff_mean", "diff_low", "diff_high", "runs"}
        : shell::Csv{"value", "flow", "statistic", "mean", "ci_low", "ci_high", "runs"};
    for (const shell::SeriesPoint& point : points) {
        for (int flow = 1; flow <= FlowCount; ++flow) {
            for (int statistic = 0; statistic < FlowStatisticCount; ++statistic) {
                const auto which = static_cast<FlowStatistic>(statistic);
                const shell::Estimate& estimate = FlowEstimate(point.summary, flow, which);
                csv << point.value;
                csv.row(flow, StatisticName(which), estimate.mean, estimate.low, estimate.high, point.summary.runs);
            }
        }
    }
    return csv.text();
}

}  // namespace velmora

namespace velmora {

std::string ServerSeriesCsv(std::span<const shell::SeriesPoint> points, bool differences)
{
    shell::Csv csv = differences
        ? shell::Csv{"value", "server", "flow", "statistic", "diff_mean", "diff_low", "diff_high", "runs"}
        : shell::Csv{"value", "server", "flow", "statistic", "mean", "ci_low", "ci_high", "runs"};
    const std::vector<ServerRow>& rows = ServerRows();
    for (const shell::SeriesPoint& point : points) {
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const shell::Estimate& estimate = point.summary.estimates[row];
            csv << point.value << ServerNumber(rows[row].server);
            if (rows[row].flow != 0)
                csv << rows[row].flow;
            else
                csv.skip();
            csv.row(StatisticName(rows[row].statistic), estimate.mean, estimate.low, estimate.high, point.summary.runs);
        }
    }
    return csv.text();
}

}  // namespace velmora
