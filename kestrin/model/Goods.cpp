// The meter sees each good's day once the day is done; a day ends with good 10.
#include "Goods.h"

#include "shell/core/Csv.h"

#include <algorithm>

namespace kestrin {

std::string_view ActionName(DayAction action)
{
    switch (action) {
    case DayAction::Reorder:
        return "reorder";
    case DayAction::Shortage:
        return "shortage";
    case DayAction::None:
        break;
    }
    return "none";
}

std::string_view StatisticName(GoodStatistic statistic)
{
    switch (statistic) {
    case GoodStatistic::Demand:
        return "demand";
    case GoodStatistic::Lost:
        return "lost";
    case GoodStatistic::FillRate:
        return "fill_rate";
    case GoodStatistic::ReadyRate:
        return "ready_rate";
    case GoodStatistic::Deliveries:
        return "deliveries";
    case GoodStatistic::StockMean:
        return "stock_mean";
    case GoodStatistic::StockMin:
        break;
    }
    return "stock_min";
}

double StatisticValue(const GoodMeasures& measures, GoodStatistic statistic)
{
    switch (statistic) {
    case GoodStatistic::Demand:
        return measures.demand;
    case GoodStatistic::Lost:
        return measures.lost;
    case GoodStatistic::FillRate:
        return measures.fillRate;
    case GoodStatistic::ReadyRate:
        return measures.readyRate;
    case GoodStatistic::Deliveries:
        return measures.deliveries;
    case GoodStatistic::StockMean:
        return measures.stockMean;
    case GoodStatistic::StockMin:
        break;
    }
    return measures.stockMin;
}

std::array<GoodMeasures, GoodsCount + 1> GoodsMeter::measures() const
{
    std::array<GoodMeasures, GoodsCount + 1> all{};
    const auto days = static_cast<double>(days_);
    float totalLost = 0.0f;
    for (std::size_t good = 0; good < goods_.size(); ++good) {
        const Sums& sums = goods_[good];
        totalLost += sums.lost;
        all[good] = {sums.demand,
                     sums.lost,
                     1.0 - static_cast<double>(sums.lost) / static_cast<double>(sums.demand),
                     1.0 - sums.shortageDays / days,
                     sums.deliveries,
                     sums.stock / days,
                     sums.stockMin};
    }
    int deliveries = 0;
    for (const Sums& sums : goods_)
        deliveries += sums.deliveries;
    all.back() = {totalDemand_,
                  totalLost,
                  1.0 - static_cast<double>(totalLost) / static_cast<double>(totalDemand_),
                  1.0 - shortageDays_ / days,
                  deliveries,
                  stockSum_ / days,
                  stockMin_};
    return all;
}

std::string GoodMeasuresCsv(const std::array<GoodMeasures, GoodsCount + 1>& measures)
{
    shell::Csv csv{"good", "demand", "lost", "fill_rate", "ready_rate", "deliveries", "stock_mean", "stock_min"};
    for (std::size_t row = 0; row < measures.size(); ++row) {
        const GoodMeasures& m = measures[row];
        if (row < GoodsCount)
            csv << static_cast<int>(row + 1);
        else
            csv << std::string_view("all");
        csv.row(m.demand, m.lost, m.fillRate, m.readyRate, m.deliveries, m.stockMean, m.stockMin);
    }
    return csv.text();
}

std::string DayRecordsCsv(std::span<const GoodDay> days)
{
    shell::Csv csv{"day", "good", "stock", "demand", "remainder", "action", "lost", "stock_next"};
    for (const GoodDay& day : days) {
        csv.row(day.day, day.good, day.stock, day.demand, day.remainder, ActionName(day.action), day.lost,
                day.stockNext);
    }
    return csv.text();
}

}  // namespace kestrin
