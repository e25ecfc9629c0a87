// Each run holds its own standard source; the process-wide one is never touched.
#include "Series.h"

#include "shell/core/Csv.h"
#include "shell/core/Random.h"

#include <algorithm>
#include <vector>

namespace kestrin {

double RunOfSeries(const TWarehouseInput& input, std::uint64_t seed, std::uint64_t run)
{
    shell::StandardSource source;
    source.seed(shell::SeedsOfRun(seed, run).standard);
    return SimulateWarehouse(
        input, [&source](std::int32_t n) { return shell::RandomBelow(n, source); }, [](std::int32_t) {});
}

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

WarehouseSeries::WarehouseSeries(TWarehouseInput input, std::uint64_t seed, std::optional<shell::Sweep> sweep)
    : SeriesModel(seed, std::move(sweep))
    , input_(input)
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

void WarehouseSeries::run(int point, std::uint64_t run, shell::SeriesWorkspace*, std::span<double> out) const
{
    out[0] = RunOfSeries(inputAt(point), seed(), run);
}

std::vector<double> WarehouseSeries::extras(const shell::RunTable& runs) const
{
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
    }
    return csv.text();
}

}  // namespace kestrin
