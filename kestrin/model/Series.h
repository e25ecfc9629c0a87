// A series of warehouse runs: run after run with the same orders, thresholds and
// day count, each run from a standard source of its own, and L summarised over
// the runs.
#pragma once

#include "Warehouse.h"

#include "shell/Series.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kestrin {

// L of run `run` of the series with seed `seed`: its source is seeded from the
// pair (shell::SeedsOfRun), so run r meets the same demand at every point of a
// sweep. Throws what SimulateWarehouse throws.
double RunOfSeries(const TWarehouseInput& input, std::uint64_t seed, std::uint64_t run);

// L over the runs of one point.
struct LSummary {
    shell::Estimate mean;  // with its 95 % Student t interval
    double median;         // the mean of the two middle values for an even count
    double percentile95;   // by nearest rank
    double min;
    double max;
};

// Needs at least two values, taken in run order.
LSummary SummarizeL(std::span<const double> values);

// What a sweep varies: every good's order or threshold, or one good's.
struct WarehouseSweep {
    enum class Quantity { Order, Threshold };
    Quantity quantity;
    int good;  // 1 to GoodsCount, or 0 for all goods
};

TWarehouseInput WithQuantity(TWarehouseInput input, WarehouseSweep varied, double value);

// One point of a finished series: the varied quantity's value (none without a
// sweep) and L's summary.
struct SeriesPoint {
    std::optional<double> value;
    LSummary l;
};

// Header "value,statistic,mean,ci_low,ci_high,runs", then for each point the
// rows L, L_median, L_p95, L_min and L_max; only L has an interval.
std::string SeriesCsv(std::span<const SeriesPoint> points, int runs);

}  // namespace kestrin
