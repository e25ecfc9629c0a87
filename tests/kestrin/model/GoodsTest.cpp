// Inside a warehouse run: each good's days and measures, on cases worked by
// hand and by identities that hold for any run.
#include "kestrin/model/Goods.h"

#include "kestrin/model/Series.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrin {
namespace {

TWarehouseInput everyGood(float order, float threshold, std::int32_t days)
{
    TWarehouseInput input;
    input.Order.fill(order);
    input.Threshold.fill(threshold);
    input.DayCount = days;
    return input;
}

// A source that always gives 500 makes each good's demand 5 a day.
template <typename Observer>
double constantDemand(const TWarehouseInput& input, Observer& observer)
{
    return SimulateWarehouse(
        input, [](std::int32_t) { return 500; }, observer, observer);
}

// Order 3 and threshold 0: short every day from the first, 2 places lost a day;
// order 4.5: short every day but nothing lost; a high threshold: a reorder a day.
TEST(GoodsTest, ConstantDemandWorkedByHand)
{
    struct Case {
        float order;
        float threshold;
        DayAction action;
        double lostADay;
        double fillRate;
        double readyRate;
    };
    for (const Case& c : {Case{3, 0, DayAction::Shortage, 2, 0.6, 0}, Case{4.5f, 0, DayAction::Shortage, 0, 1, 0},
                          Case{20, 1000, DayAction::Reorder, 0, 1, 1}}) {
        GoodsMeter meter;
        DayRecorder recorder;
        constantDemand(everyGood(c.order, c.threshold, 7), meter);
        constantDemand(everyGood(c.order, c.threshold, 7), recorder);
        ASSERT_EQ(recorder.days.size(), 7u * GoodsCount);
        const GoodDay& third = recorder.days[2 * GoodsCount + 4];
        EXPECT_EQ(third.day, 3);
        EXPECT_EQ(third.good, 5);
        EXPECT_EQ(third.demand, 5.0f);
        EXPECT_EQ(third.remainder, third.stock - 5.0f);
        EXPECT_EQ(third.action, c.action) << c.order;
        EXPECT_EQ(third.lost, c.lostADay) << c.order;
        const auto measures = meter.measures();
        for (std::size_t row = 0; row < measures.size(); ++row) {
            const GoodMeasures& good = measures[row];
            const double goods = row == GoodsCount ? GoodsCount : 1;
            EXPECT_EQ(good.demand, 35 * goods) << c.order;
            EXPECT_EQ(good.lost, 7 * c.lostADay * goods) << c.order;
            EXPECT_DOUBLE_EQ(good.fillRate, c.fillRate) << c.order;
            EXPECT_EQ(good.readyRate, c.readyRate) << c.order;
            EXPECT_EQ(good.deliveries, 7 * goods) << c.order;
        }
    }
    // With order 3 every day starts with 3 in stock; with order 20 the first
    // starts with 20 and the next with 35, reordered below 100 each day.
    GoodsMeter meter;
    constantDemand(everyGood(20, 100, 3), meter);
    const GoodMeasures first = meter.measures().front();
    EXPECT_DOUBLE_EQ(first.stockMean, (20 + 35 + 50) / 3.0);
    EXPECT_EQ(first.stockMin, 20);
    EXPECT_DOUBLE_EQ(meter.measures().back().stockMin, 200);
}

// For any run: the lost places of all goods over all days, summed as the run
// sums them, are L's numerator, so the warehouse's fill rate is 1 - L; each
// day's stock_next is the stock of that good's next day; a good's days add up
// to its measures.
TEST(GoodsTest, IdentitiesOfAnyRun)
{
    for (std::uint64_t run = 0; run < 5; ++run) {
        GoodsMeter meter;
        DayRecorder recorder;
        const TWarehouseInput input = everyGood(5, 2, 250);
        const double l = RunOfSeries(input, 9, run, meter);
        EXPECT_EQ(RunOfSeries(input, 9, run, recorder), l);
        const auto measures = meter.measures();
        EXPECT_EQ(measures.back().fillRate, 1 - l);
        std::array<int, GoodsCount> shortages{};
        for (std::size_t i = 0; i < recorder.days.size(); ++i) {
            const GoodDay& day = recorder.days[i];
            if (i + GoodsCount < recorder.days.size()) {
                ASSERT_EQ(recorder.days[i + GoodsCount].stock, day.stockNext);
            }
            ASSERT_EQ(day.lost > 0, day.action == DayAction::Shortage && day.remainder <= -1);
            shortages[static_cast<std::size_t>(day.good - 1)] += day.action == DayAction::Shortage;
        }
        for (int good = 0; good < GoodsCount; ++good)
            EXPECT_DOUBLE_EQ(measures[static_cast<std::size_t>(good)].readyRate, 1 - shortages[good] / 250.0);
    }
}

TEST(GoodsTest, DayRecordsAndMeasuresAsCsv)
{
    DayRecorder recorder;
    constantDemand(everyGood(4.5f, 0, 2), recorder);
    const std::string csv = DayRecordsCsv(recorder.days);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n", 60) + 2),
              "day,good,stock,demand,remainder,action,lost,stock_next\r\n"
              "1,1,4.5,5,-0.5,shortage,0,4.5\r\n");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 2 * GoodsCount);

    // Good 1 runs short every day, the others are reordered every day.
    TWarehouseInput input = everyGood(20, 100, 3);
    input.Order[0] = 3;
    input.Threshold[0] = 0;
    GoodsMeter meter;
    constantDemand(input, meter);
    std::string expected = "good,demand,lost,fill_rate,ready_rate,deliveries,stock_mean,stock_min\r\n"
                           "1,15,6,0.6,0,3,3,3\r\n";
    for (int good = 2; good <= GoodsCount; ++good)
        expected += std::to_string(good) + ",15,0,1,1,3,35,20\r\n";
    EXPECT_EQ(GoodMeasuresCsv(meter.measures()), expected + "all,150,6,0.96,0,30,318,183\r\n");
}

}  // namespace
}  // namespace kestrin
