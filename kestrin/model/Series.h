// A series of warehouse runs: run after run with the same orders, thresholds and
// day count, each run from a standard source of its own, and L summarised over
// the runs.
#pragma once

#include "Warehouse.h"

#include "shell/core/SeriesModel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    bool operator==(const WarehouseSweep&) const = default;
};

// How sweeps, messages and the command line's --vary name what varies:
// "order:J" or "threshold:J", J a good's number or "all".
std::string QuantityKey(WarehouseSweep varied);
std::optional<WarehouseSweep> ParseQuantityKey(std::string_view key);

TWarehouseInput WithQuantity(TWarehouseInput input, WarehouseSweep varied, double value);

// The series of one input, or of a sweep of a quantity (keyed as QuantityKey
// gives it): a run yields its L.
class WarehouseSeries : public shell::SeriesModel {
public:
    WarehouseSeries(TWarehouseInput input, std::uint64_t seed, std::optional<shell::Sweep> sweep);

    TWarehouseInput inputAt(int point) const;

    int statisticCount() const override { return 1; }
    void run(int point, std::uint64_t run, shell::SeriesWorkspace* workspace, std::span<double> out) const override;
    // L's median, 95th percentile, smallest and largest value over the runs.
    std::vector<double> extras(const shell::RunTable& runs) const override;

private:
    TWarehouseInput input_;
    std::optional<WarehouseSweep> varied_;
};

// A point's L as its summary holds it.
LSummary PointL(const shell::PointSummary& summary);

// Header "value,statistic,mean,ci_low,ci_high,runs", then for each point the
// rows L, L_median, L_p95, L_min and L_max; only L has an interval.
std::string SeriesCsv(std::span<const shell::SeriesPoint> points);

}  // namespace kestrin
