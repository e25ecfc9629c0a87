// Each run holds its own standard source; the process-wide one is never touched.
#include "Series.h"

#include "shell/Csv.h"
#include "shell/Random.h"

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

std::string SeriesCsv(std::span<const SeriesPoint> points, int runs)
{
    shell::Csv csv{"value", "statistic", "mean", "ci_low", "ci_high", "runs"};
    for (const SeriesPoint& point : points) {
        const auto row = [&](std::string_view statistic, double mean) -> shell::Csv& {
            if (point.value)
                csv << *point.value;
            else
                csv.skip();
            return csv << statistic << mean;
        };
        row("L", point.l.mean.mean).row(point.l.mean.low, point.l.mean.high, runs);
        for (const auto& [statistic, value] : {std::pair<std::string_view, double>{"L_median", point.l.median},
                                               {"L_p95", point.l.percentile95},
                                               {"L_min", point.l.min},
                                               {"L_max", point.l.max}})
            row(statistic, value).skip().skip().row(runs);
    }
    return csv.text();
}

}  // namespace kestrin
