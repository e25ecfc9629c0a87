// Properties of whole runs over many random streams, from light loads to beyond
// saturation: each server serves every task of its streams once, in each
// stream's order, priority tasks keep their stand-alone waits, and no server
// serves two tasks at once.
#include "velmora/model/EngineSteps.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace velmora {
namespace {

class NetworkTest : public testing::TestWithParam<int> { };

TEST_P(NetworkTest, ServersServeEveryTaskOnceInOrderWithoutOverlap)
{
    std::mt19937 engine(static_cast<std::uint32_t>(GetParam()));
    std::uniform_int_distribution<int> arrivalDraw(0, 1 + GetParam() % 120);
    std::uniform_int_distribution<int> processingDraw(0, GetParam() % 70);
    auto ws = std::make_unique<TRunWorkspace>();
    SimulateNetwork(
        *ws, [&] { return arrivalDraw(engine); }, [&] { return processingDraw(engine); });

    const auto end = [](const TTaskTable& t, int k) { return std::int64_t{t.Arrival[k]} + t.Wait[k] + t.Service[k]; };
    for (const auto& [table, count] : {std::pair{&ws->Flow1, 1000},
                                       {&ws->Flow2, 1000},
                                       {&ws->Flow3, 1000},
                                       {&ws->Merged12, 2000},
                                       {&ws->MergedAll, 3000}}) {
        for (int k = 1; k < count; ++k) {
            ASSERT_GE(table->Wait[k], 0) << count << " row " << k;
            ASSERT_GE(std::int64_t{table->Arrival[k]} + table->Wait[k], end(*table, k - 1)) << count << " row " << k;
        }
    }
    // At each shared server, the rows of each stream come in the stream's order,
    // and the priority stream's rows carry the waits it would have alone.
    const auto check = [](const TTaskTable& out, int rows, const TTaskTable& high, const TTaskTable& low, int lowTag,
                          bool highOwnTags) {
        int i = 0;
        int j = 0;
        for (int k = 0; k < rows; ++k) {
            if (out.Flow[k] == lowTag) {
                ASSERT_EQ(out.Arrival[k], low.Departure[j++]) << k;
            } else {
                ASSERT_EQ(out.Arrival[k], high.Departure[i]) << k;
                ASSERT_EQ(out.Wait[k], high.NextWait[i]) << k;
                ASSERT_EQ(out.Flow[k], highOwnTags ? high.Flow[i] : 1) << k;
                ++i;
            }
        }
        EXPECT_EQ(j, 1000);
        EXPECT_EQ(i, rows - 1000);
    };
    check(ws->Merged12, 2000, ws->Flow1, ws->Flow2, 2, false);
    check(ws->MergedAll, 3000, ws->Merged12, ws->Flow3, 3, true);
}

INSTANTIATE_TEST_SUITE_P(Seeds, NetworkTest, testing::Range(1, 201, 7));

}  // namespace
}  // namespace velmora
