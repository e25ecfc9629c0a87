// Each run holds its own standard source; the process-wide one is never touched.
#include "Series.h"

#include "WarehouseLanes.h"

#include "shell/core/Convert.h"
#include "shell/core/Csv.h"
#include "shell/core/Exception.h"
#include "shell/core/Random.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kestrin {

LSummary SummarizeL(std::span<const double> values)
{
    std::vector<double> sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    const std::span<const double> ordered = sorted;
    return {shell::MeanWithInterval(values), shell::Median(ordered), shell::NearestRank(ordered, 95), sorted.front(),
            sorted.back()};
}

std::string QuantityKey(WarehouseSweep varied)
{
    return (varied.quantity == WarehouseSweep::Quantity::Order ? "order:" : "threshold:")
        + (varied.good == 0 ? std::string("all") : std::to_string(varied.good));
}

std::optional<WarehouseSweep> ParseQuantityKey(std::string_view key)
{
    for (const auto quantity : {WarehouseSweep::Quantity::Order, WarehouseSweep::Quantity::Threshold}) {
        for (int good = 0; good <= GoodsCount; ++good) {
            if (key == QuantityKey({quantity, good}))
                return WarehouseSweep{quantity, good};
        }
    }
    return std::nullopt;
}

WarehouseSweep ReadQuantityKey(std::string_view key)
{
    if (const auto varied = ParseQuantityKey(key))
        return *varied;
    throw shell::Exception(shell::Quoted(key)
                           + " — ожидается order:J или threshold:J, где J — all или номер товара от 1 до "
                           + std::to_string(GoodsCount));
}

TWarehouseInput WithQuantity(TWarehouseInput input, WarehouseSweep varied, double value)
{
    auto& quantities = varied.quantity == WarehouseSweep::Quantity::Order ? input.Order : input.Threshold;
    const auto quantity = static_cast<float>(value);
    if (varied.good == 0)
        quantities.fill(quantity);
    else
        quantities[static_cast<std::size_t>(varied.good - 1)] = quantity;
    return input;
}

WarehouseSeries::WarehouseSeries(TWarehouseInput input, std::uint64_t seed, std::optional<shell::Sweep> sweep,
                                 WarehouseMeasure measure, Costs costs)
    : SeriesModel(seed, std::move(sweep))
    , input_(input)
    , measure_(measure)
    , costs_(costs)
{
    if (this->sweep())
        varied_ = ParseQuantityKey(this->sweep()->key);
}

TWarehouseInput WarehouseSeries::inputAt(int point) const
{
    if (!varied_)
        return input_;
    return WithQuantity(input_, *varied_, *valueAt(point));
}

int WarehouseSeries::statisticCount() const
{
    if (measure_ == WarehouseMeasure::Goods)
        return (GoodsCount + 1) * GoodStatisticCount;
    return costs_.any() ? 2 : 1;
}

std::string WarehouseSeries::statisticLabel(int statistic) const
{
    if (measure_ == WarehouseMeasure::Goods) {
        const int good = statistic / GoodStatisticCount + 1;
        return (good > GoodsCount ? std::string("все товары") : "товар " + std::to_string(good)) + ", "
            + std::string(StatisticName(static_cast<GoodStatistic>(statistic % GoodStatisticCount)));
    }
    return statistic == CostStatistic ? "cost" : "L";
}

namespace {

// A run's row: L, and what its observer saw.
void writeRow(double l, const IgnoreDays&, std::span<double> out)
{
    out[0] = l;
}

void writeRow(double l, const CostMeter& cost, std::span<double> out)
{
    out[0] = l;
    out[CostStatistic] = cost.perDay();
}

void writeRow(double, const GoodsMeter& meter, std::span<double> out)
{
    std::size_t value = 0;
    for (const GoodMeasures& good : meter.measures()) {
        for (int statistic = 0; statistic < GoodStatisticCount; ++statistic)
            out[value++] = StatisticValue(good, static_cast<GoodStatistic>(statistic));
    }
}

// Calls act with a fresh observer of what the series measures.
template <typename Act>
void withObserver(WarehouseMeasure measure, const Costs& costs, Act&& act)
{
    if (measure == WarehouseMeasure::Goods)
        act(GoodsMeter{});
    else if (costs.any())
        act(CostMeter(costs));
    else
        act(IgnoreDays{});
}

template <typename Observer, std::size_t... Lane>
std::array<Observer, Lanes> copies(const Observer& observer, std::index_sequence<Lane...>)
{
    return {((void)Lane, observer)...};
}

// Runs from first + done on, eight at a time while eight are left, each into
// its row; a group that met an error is left to be made run by run, which
// throws for the first of them that failed.
template <typename Observer>
void runGroups(const TWarehouseInput& input, std::uint64_t seed, std::uint64_t first, int count, std::span<double> out,
               std::size_t statistics, int& done, const Observer& fresh)
{
    constexpr int lanes = static_cast<int>(Lanes);
    for (; count - done >= lanes; done += lanes) {
        std::array<std::uint64_t, Lanes> seeds;
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            seeds[lane] = shell::SeedsOfRun(seed, first + static_cast<std::uint64_t>(done) + lane).standard;
        std::array<Observer, Lanes> observers = copies(fresh, std::make_index_sequence<Lanes>());
        std::array<double, Lanes> l;
        if (!SimulateWarehouseLanes(input, seeds, l, observers))
            return;
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            writeRow(l[lane], observers[lane],
                     out.subspan((static_cast<std::size_t>(done) + lane) * statistics, statistics));
    }
}

}  // namespace

void WarehouseSeries::run(int point, std::uint64_t run, shell::SeriesWorkspace*, std::span<double> out) const
{
    withObserver(measure_, costs_,
                 [&](auto observer) { writeRow(RunOfSeries(inputAt(point), seed(), run, observer), observer, out); });
}

void WarehouseSeries::runChunk(int point, std::uint64_t first, int count, shell::SeriesWorkspace* workspace,
                               std::span<double> out, int& done) const
{
    if (HasVectorLanes()) {
        withObserver(measure_, costs_, [&](const auto& fresh) {
            runGroups(inputAt(point), seed(), first, count, out, static_cast<std::size_t>(statisticCount()), done,
                      fresh);
        });
    }
    SeriesModel::runChunk(point, first, count, workspace, out, done);
}

std::vector<double> WarehouseSeries::extras(const shell::RunTable& runs) const
{
    if (measure_ != WarehouseMeasure::L)
        return {};
    const LSummary l = SummarizeL(runs.column(0));
    return {l.median, l.percentile95, l.min, l.max};
}

LSummary PointL(const shell::PointSummary& summary)
{
    const std::vector<double>& extras = summary.extras;
    return {summary.estimates[0], extras[0], extras[1], extras[2], extras[3]};
}

std::string SeriesCsv(std::span<const shell::SeriesPoint> points)
{
    shell::Csv csv{"value", "statistic", "mean", "ci_low", "ci_high", "runs"};
    for (const shell::SeriesPoint& point : points) {
        const LSummary l = PointL(point.summary);
        const int runs = point.summary.runs;
        const auto row = [&](std::string_view statistic, double mean) -> shell::Csv& {
            return csv << point.value << statistic << mean;
        };
        row("L", l.mean.mean).row(l.mean.low, l.mean.high, runs);
        for (const auto& [statistic, value] : {std::pair<std::string_view, double>{"L_median", l.median},
                                               {"L_p95", l.percentile95},
                                               {"L_min", l.min},
                                               {"L_max", l.max}})
            row(statistic, value).skip().skip().row(runs);
        if (point.summary.estimates.size() > CostStatistic) {
            const shell::Estimate& cost = point.summary.estimates[CostStatistic];
            row("cost", cost.mean).row(cost.low, cost.high, runs);
        }
    }
    return csv.text();
}

std::string DifferencesCsv(std::span<const shell::SeriesPoint> differences)
{
    shell::Csv csv{"value", "statistic", "diff_mean", "diff_low", "diff_high", "runs"};
    for (const shell::SeriesPoint& point : differences) {
        const std::vector<shell::Estimate>& estimates = point.summary.estimates;
        for (std::size_t statistic = 0; statistic < estimates.size(); ++statistic) {
            csv << point.value << std::string_view(statistic == 0 ? "L" : "cost");
            csv.row(estimates[statistic].mean, estimates[statistic].low, estimates[statistic].high, point.summary.runs);
        }
    }
    return csv.text();
}

}  // namespace kestrin

namespace kestrin {

const shell::Estimate& GoodEstimate(const shell::PointSummary& summary, int good, GoodStatistic statistic)
{
    // The warehouse's measures follow those of goods 1 to 10.
    const int row = good == 0 ? GoodsCount : good - 1;
    return summary.estimates[static_cast<std::size_t>(row * GoodStatisticCount + static_cast<int>(statistic))];
}

std::string GoodsSeriesCsv(std::span<const shell::SeriesPoint> points, bool differences)
{
    shell::Csv csv = differences
        ? shell::Csv{"value", "good", "statistic", "diff_mean", "diff_low", "diff_high", "runs"}
        : shell::Csv{"value", "good", "statistic", "mean", "ci_low", "ci_high", "runs"};
    for (const shell::SeriesPoint& point : points) {
        for (int row = 1; row <= GoodsCount + 1; ++row) {
            const int good = row % (GoodsCount + 1);
            for (int statistic = 0; statistic < GoodStatisticCount; ++statistic) {
                const auto which = static_cast<GoodStatistic>(statistic);
                const shell::Estimate& estimate = GoodEstimate(point.summary, good, which);
                csv << point.value;
                if (good == 0)
                    csv << std::string_view("all");
                else
                    csv << good;
                csv.row(StatisticName(which), estimate.mean, estimate.low, estimate.high, point.summary.runs);
            }
        }
    }
    return csv.text();
}

}  // namespace kestrin
