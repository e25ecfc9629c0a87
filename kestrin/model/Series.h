// A series of warehouse runs: run after run with the same orders, thresholds and
// day count, each run from a standard source of its own, and L summarised over
// the runs.
#pragma once

#include "Goods.h"
#include "Warehouse.h"

#include "shell/core/Random.h"

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
// sweep; `observer` watches its days as SimulateWarehouse's observers do.
// Throws what SimulateWarehouse throws.
template <typename Observer = const IgnoreDays&>
double RunOfSeries(const TWarehouseInput& input, std::uint64_t seed, std::uint64_t run,
                   Observer&& observer = IgnoreDays{})
{
    shell::StandardSource source;
    source.seed(shell::SeedsOfRun(seed, run).standard);
    return SimulateWarehouse(
        input, [&source](std::int32_t n) { return shell::RandomBelow(n, source); }, observer, observer);
}

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
// ParseQuantityKey's quantity; throws shell::Exception quoting a key that names none.
WarehouseSweep ReadQuantityKey(std::string_view key);

TWarehouseInput WithQuantity(TWarehouseInput input, WarehouseSweep varied, double value);

// What a series measures of each run: L, or each good's measures.
enum class WarehouseMeasure { L, Goods };

// The series of one input, or of a sweep of a quantity (keyed as QuantityKey
// gives it): a run yields its L, and its cost a day when any cost is set; or
// the measures of goods 1 to 10 and of the whole warehouse, GoodStatisticCount
// each.
class WarehouseSeries : public shell::SeriesModel {
public:
    WarehouseSeries(TWarehouseInput input, std::uint64_t seed, std::optional<shell::Sweep> sweep,
                    WarehouseMeasure measure = WarehouseMeasure::L, Costs costs = {});

    TWarehouseInput inputAt(int point) const;
    WarehouseMeasure measure() const { return measure_; }

    int statisticCount() const override;
    std::string statisticLabel(int statistic) const override;
    void run(int point, std::uint64_t run, shell::SeriesWorkspace* workspace, std::span<double> out) const override;
    // Eight runs at a time where the processor can (SimulateWarehouseLanes).
    void runChunk(int point, std::uint64_t first, int count, shell::SeriesWorkspace* workspace, std::span<double> out,
                  int& done) const override;
    // L's median, 95th percentile, smallest and largest value over the runs.
    std::vector<double> extras(const shell::RunTable& runs) const override;

private:
    TWarehouseInput input_;
    std::optional<WarehouseSweep> varied_;
    WarehouseMeasure measure_;
    Costs costs_;
};

// The statistic of a run's cost a day, after L, in a series with costs.
inline constexpr int CostStatistic = 1;

// A point's L as its summary holds it.
LSummary PointL(const shell::PointSummary& summary);

// Header "value,statistic,mean,ci_low,ci_high,runs", then for each point the
// rows L, L_median, L_p95, L_min and L_max, and cost when the series has
// costs; only L and cost have an interval.
std::string SeriesCsv(std::span<const shell::SeriesPoint> points);

// Header "value,statistic,diff_mean,diff_low,diff_high,runs", then for each
// point its paired differences from the baseline: L, and cost with costs.
std::string DifferencesCsv(std::span<const shell::SeriesPoint> differences);

// The estimate of a good's statistic (good 1 to 10, or 0 for the warehouse) in
// a point's summary of goods.
const shell::Estimate& GoodEstimate(const shell::PointSummary& summary, int good, GoodStatistic statistic);

// Header "value,good,statistic,mean,ci_low,ci_high,runs", then a row per point,
// good (1 to 10, then "all") and statistic; the estimates of paired
// differences are headed "diff_mean,diff_low,diff_high".
std::string GoodsSeriesCsv(std::span<const shell::SeriesPoint> points, bool differences = false);

}  // namespace kestrin
