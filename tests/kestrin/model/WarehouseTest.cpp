// The warehouse model with scripted demand.
#include "kestrin/model/Warehouse.h"

#include "shell/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kestrin {
namespace {

TWarehouseInput uniformInput(float order, float threshold, std::int32_t days)
{
    TWarehouseInput input;
    input.Order.fill(order);
    input.Threshold.fill(threshold);
    input.DayCount = days;
    return input;
}

auto constantDraw(std::int32_t value)
{
    return [value](std::int32_t) { return value; };
}

const auto ignoreDay = [](std::int32_t) {};

TEST(SimulateWarehouseTest, ObserverSeesEveryDayUpTo250)
{
    for (const auto& [dayCount, expectedDays] : {std::pair{300, 250}, {1, 1}, {250, 250}}) {
        std::vector<std::int32_t> days;
        SimulateWarehouse(uniformInput(100, 100, dayCount), constantDraw(500),
                          [&days](std::int32_t day) { days.push_back(day); });
        ASSERT_EQ(days.size(), static_cast<std::size_t>(expectedDays)) << dayCount;
        for (std::size_t i = 0; i < days.size(); ++i)
            ASSERT_EQ(days[i], static_cast<std::int32_t>(i + 1));
    }
}

TEST(SimulateWarehouseTest, DrawsAHundredDemandsBelow1000PerDay)
{
    std::vector<std::int32_t> bounds;
    int observedDays = 0;
    SimulateWarehouse(
        uniformInput(100, 100, 3),
        [&bounds](std::int32_t n) {
            bounds.push_back(n);
            return 1;
        },
        [&](std::int32_t) { EXPECT_EQ(bounds.size(), 100u * observedDays++); });
    EXPECT_EQ(bounds, std::vector<std::int32_t>(300, 1000));
}

// Without demand there is no share to report: neither without days nor with
// every draw 0, and the observer never hears of a day that was not simulated.
TEST(SimulateWarehouseTest, NoDemandIsAnError)
{
    for (const auto& [dayCount, draw] : {std::pair{0, 500}, {-5, 500}, {10, 0}}) {
        int days = 0;
        EXPECT_THROW(
            SimulateWarehouse(uniformInput(1, 1, dayCount), constantDraw(draw), [&days](std::int32_t) { ++days; }),
            shell::Exception);
        EXPECT_EQ(days, std::max(dayCount, 0));
    }
}

TEST(SimulateWarehouseTest, AmpleStockLosesNothing)
{
    EXPECT_EQ(SimulateWarehouse(uniformInput(100, 100, 100), constantDraw(999), ignoreDay), 0.0);
}

TEST(SimulateWarehouseTest, ShortGoodLosesTheWholePartOfItsDeficit)
{
    // Demand 5 a day against a stock of 3: 2 lost every day.
    EXPECT_DOUBLE_EQ(SimulateWarehouse(uniformInput(3, 0, 7), constantDraw(500), ignoreDay), 0.4);
    // A deficit of 0.5 every day has no whole part.
    EXPECT_EQ(SimulateWarehouse(uniformInput(4.5f, 0, 7), constantDraw(500), ignoreDay), 0.0);
}

TEST(SimulateWarehouseTest, RemainderOfExactlyZeroIsNoShortage)
{
    EXPECT_EQ(SimulateWarehouse(uniformInput(5, 1, 4), constantDraw(500), ignoreDay), 0.0);
    // Without a reorder the empty good runs short every other day, losing 5.
    EXPECT_DOUBLE_EQ(SimulateWarehouse(uniformInput(5, 0, 4), constantDraw(500), ignoreDay), 0.5);
}

TEST(SimulateWarehouseTest, NegativeOrdersAreUsedUnchanged)
{
    EXPECT_DOUBLE_EQ(SimulateWarehouse(uniformInput(-1, 0, 3), constantDraw(500), ignoreDay), 1.2);
}

TEST(SimulateWarehouseTest, QuantitiesBeyondTheirRangeAreErrors)
{
    EXPECT_THROW(SimulateWarehouse(uniformInput(2e38f, 3e38f, 1), constantDraw(500), ignoreDay), shell::Exception);
    EXPECT_THROW(SimulateWarehouse(uniformInput(-3e9f, 0, 1), constantDraw(500), ignoreDay), shell::Exception);
    EXPECT_THROW(
        SimulateWarehouse(uniformInput(std::numeric_limits<float>::infinity(), 0, 1), constantDraw(500), ignoreDay),
        shell::Exception);
}

}  // namespace
}  // namespace kestrin
