// What happens inside one warehouse run, observed from the run that computes L:
// each good's days as records, and each good's measures over the days.
#pragma once

#include "Warehouse.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// "none", "reorder" or "shortage".
std::string_view ActionName(DayAction action);

// Keeps every good's every day, day by day, goods in order within a day.
struct DayRecorder {
    std::vector<GoodDay> days;
    void operator()(std::int32_t) const { }
    void operator()(const GoodDay& day) { days.push_back(day); }
};

// A good's measures over a run, or the whole warehouse's.
struct GoodMeasures {
    double demand;     // the total demand
    double lost;       // the places lost, as the run counts them
    double fillRate;   // 1 − lost / demand: the share of the demand met
    double readyRate;  // the share of days without a shortage (of any good, for the warehouse)
    int deliveries;    // the days a delivery came: a shortage or a reorder
    double stockMean;  // of the stock at the start of a day (the sum of the goods', for the warehouse)
    double stockMin;
};

enum class GoodStatistic { Demand, Lost, FillRate, ReadyRate, Deliveries, StockMean, StockMin };
inline constexpr int GoodStatisticCount = 7;
// "demand", "lost", "fill_rate", "ready_rate", "deliveries", "stock_mean" or "stock_min".
std::string_view StatisticName(GoodStatistic statistic);
double StatisticValue(const GoodMeasures& measures, GoodStatistic statistic);

// Counts as the days go, with the run's own arithmetic where it matters: each
// good's lost places are summed in 32-bit floats day by day, the goods' totals
// in good order, and the demand a day at a time, so that the warehouse's
// lost / demand is the run's L exactly.
class GoodsMeter {
public:
    void operator()(std::int32_t) const { }
    void operator()(const GoodDay& day);

    // The goods' measures in good order, then the warehouse's.
    std::array<GoodMeasures, GoodsCount + 1> measures() const;

private:
    struct Sums {
        float demand = 0.0f;
        float lost = 0.0f;
        int shortageDays = 0;
        int deliveries = 0;
        double stock = 0;
        float stockMin = 0.0f;
    };
    std::array<Sums, GoodsCount> goods_{};
    int days_ = 0;
    int shortageDays_ = 0;  // days on which some good ran short
    float totalDemand_ = 0.0f;
    float daySum_ = 0.0f;
    float dayStock_ = 0.0f;
    bool dayShort_ = false;
    double stockSum_ = 0;
    float stockMin_ = 0.0f;
};

// What keeping the warehouse costs: a place held for a day (on the stock at the
// start of the day, none for a stock below 0), a place lost, a delivery (a
// shortage or a reorder).
struct Costs {
    double holding = 0;
    double shortage = 0;
    double delivery = 0;
    bool any() const { return holding > 0 || shortage > 0 || delivery > 0; }
};

// The cost of a run: the sum over its days and goods, divided by its days.
class CostMeter {
public:
    explicit CostMeter(const Costs& costs)
        : costs_(costs)
    {
    }
    void operator()(std::int32_t) { ++days_; }
    void operator()(const GoodDay& day);
    double perDay() const { return sum_ / days_; }

private:
    Costs costs_;
    double sum_ = 0;
    int days_ = 0;
};

// The meters are inline so that a run's loop over the days takes them in.
inline void GoodsMeter::operator()(const GoodDay& day)
{
    Sums& good = goods_[static_cast<std::size_t>(day.good - 1)];
    const bool first = day.day == 1;
    good.demand += day.demand;
    good.lost += day.lost;
    good.shortageDays += day.action == DayAction::Shortage;
    good.deliveries += day.action != DayAction::None;
    good.stock += day.stock;
    good.stockMin = first ? day.stock : std::min(good.stockMin, day.stock);
    daySum_ = day.good == 1 ? day.demand : daySum_ + day.demand;
    dayStock_ = day.good == 1 ? day.stock : dayStock_ + day.stock;
    dayShort_ = (day.good != 1 && dayShort_) || day.action == DayAction::Shortage;
    if (day.good == GoodsCount) {
        totalDemand_ += daySum_;
        shortageDays_ += dayShort_;
        stockSum_ += dayStock_;
        stockMin_ = first ? dayStock_ : std::min(stockMin_, dayStock_);
        ++days_;
    }
}

inline void CostMeter::operator()(const GoodDay& day)
{
    sum_ += costs_.holding * std::max(0.0, double{day.stock}) + costs_.shortage * day.lost
        + costs_.delivery * (day.action != DayAction::None);
}

// Header "good,demand,lost,fill_rate,ready_rate,deliveries,stock_mean,stock_min",
// then a row for each of goods 1 to 10 and one for "all", as measures() gives them.
std::string GoodMeasuresCsv(const std::array<GoodMeasures, GoodsCount + 1>& measures);

// Header "day,good,stock,demand,remainder,action,lost,stock_next", then a row
// a good's day, in the order given.
std::string DayRecordsCsv(std::span<const GoodDay> days);

}  // namespace kestrin
