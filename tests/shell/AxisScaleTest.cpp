// Round axis scales over ranges that need few or many decimals, negative
// values, an empty range and very large values.
#include "shell/ui/AxisScale.h"

#include <gtest/gtest.h>

#include <vector>

namespace shell {
namespace {

TEST(NiceScaleTest, TicksOnRoundValuesCoveringTheRange)
{
    struct Case {
        double low, high, minStep;
        AxisScale expected;
    };
    const std::vector<Case> cases{
        {11720, 12710, 1, {11600, 12800, 200, 0}},
        {0, 15500, 1, {0, 16000, 2000, 0}},
        {-35, 120, 1, {-40, 120, 20, 0}},
        {7, 7, 1, {7, 8, 1, 0}},  // all results equal: one unit wide, not zero
        {0, 1, 0, {0, 1, 0.2, 1}},
        {0, 0.36, 0, {0, 0.4, 0.1, 1}},
        {0, 0.08, 0, {0, 0.08, 0.02, 2}},
        {0, 3e9, 1, {0, 3e9, 5e8, 0}},
    };
    for (const Case& c : cases) {
        const AxisScale scale = NiceScale(c.low, c.high, 4, 8, c.minStep);
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        EXPECT_NEAR(scale.min, c.expected.min, 1e-9);
        EXPECT_NEAR(scale.max, c.expected.max, 1e-9);
        EXPECT_NEAR(scale.step, c.expected.step, 1e-12);
        EXPECT_EQ(scale.decimals, c.expected.decimals);
    }
}

}  // namespace
}  // namespace shell
