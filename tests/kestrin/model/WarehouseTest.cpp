// The warehouse model with scripted demand.
#include "kestrin/model/Warehouse.h"

#include "shell/core/Exception.h"

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

// The observer hears of each day before its hundred draws, each below 1000.
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

// With every draw 500, each good's demand is exactly 5 a day.
TEST(SimulateWarehouseTest, LosesTheWholePartOfEachDeficit)
{
    struct Case {
        const char* what;
        float order, threshold;
        std::int32_t days, draw;
        double lost;
    };
    for (const Case& c :
         std::vector<Case>{{"ample stock loses nothing", 100, 100, 100, 999, 0},
                           {"a stock of 3 loses 2 a day", 3, 0, 7, 500, 0.4},
                           {"a deficit of 0.5 has no whole part", 4.5f, 0, 7, 500, 0},
                           {"a remainder of exactly 0 is no shortage, and is reordered", 5, 1, 4, 500, 0},
                           {"without a reorder the empty good runs short every other day", 5, 0, 4, 500, 0.5},
                           {"negative orders are used unchanged", -1, 0, 3, 500, 1.2},
                           {"a deficit of 2^31 places still counts", -2147483648.0f, 0, 1, 500, 429496729.6}}) {
        EXPECT_DOUBLE_EQ(SimulateWarehouse(uniformInput(c.order, c.threshold, c.days), constantDraw(c.draw), ignoreDay),
                         c.lost)
            << c.what;
    }
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
