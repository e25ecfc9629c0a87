// Properties of whole runs over many random streams: every task is served exactly
// once, priority tasks keep their stand-alone waits, and no server serves two
// tasks at once when arrivals never go back in time and service takes time.
#include "velmora/model/EngineSteps.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace velmora {
namespace {

struct Row {
    Tick arrival;
    Tick wait;
    Tick service;
    Tick flow;
};

Row row(const TTaskTable& table, int k)
{
    return {table.Arrival[k], table.Wait[k], table.Service[k], table.Flow[k]};
}

std::int64_t start(const Row& r)
{
    return std::int64_t{r.arrival} + r.wait;
}
std::int64_t end(const Row& r)
{
    return start(r) + r.service;
}

class NetworkTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        std::mt19937 engine(static_cast<std::uint32_t>(GetParam()));
        // Loads from light to beyond saturation, chosen by the seed.
        const int maxArrival = 1 + GetParam() % 120;
        const int maxProcessing = GetParam() % 70;
        auto arrival = [engine, maxArrival]() mutable {
            return std::uniform_int_distribution<int>(0, maxArrival)(engine);
        };
        auto processing = [engine, maxProcessing]() mutable {
            return std::uniform_int_distribution<int>(0, maxProcessing)(engine);
        };
        SimulateNetwork(*ws, arrival, processing);
    }

    std::unique_ptr<TRunWorkspace> ws = std::make_unique<TRunWorkspace>();
};

TEST_P(NetworkTest, EveryTaskIsServedOnceInItsFlowsOrder)
{
    // Rows of the final order, by stream: the shared server's order, then flow 3.
    int high = 0;
    int flow3 = 0;
    for (int k = 0; k < 3 * TasksPerFlow; ++k) {
        const Row r = row(ws->MergedAll, k);
        if (r.flow == 3) {
            ASSERT_EQ(r.arrival, ws->Flow3.Departure[flow3++]);
        } else {
            ASSERT_EQ(r.arrival, ws->Merged12.Departure[high]);
            ASSERT_EQ(r.flow, ws->Merged12.Flow[high++]);
        }
    }
    EXPECT_EQ(high, 2 * TasksPerFlow);
    EXPECT_EQ(flow3, TasksPerFlow);

    int next[3] = {0, 0, 0};
    const TTaskTable* flows[2] = {&ws->Flow1, &ws->Flow2};
    for (int k = 0; k < 2 * TasksPerFlow; ++k) {
        const int f = ws->Merged12.Flow[k] - 1;
        ASSERT_TRUE(f == 0 || f == 1);
        ASSERT_EQ(ws->Merged12.Arrival[k], flows[f]->Departure[next[f]++]);
    }
    EXPECT_EQ(next[0], TasksPerFlow);
    EXPECT_EQ(next[1], TasksPerFlow);
}

TEST_P(NetworkTest, PriorityTasksKeepTheirStandAloneWaits)
{
    int i = 0;
    for (int k = 0; k < 2 * TasksPerFlow; ++k) {
        if (ws->Merged12.Flow[k] == 1) {
            ASSERT_EQ(ws->Merged12.Wait[k], ws->Flow1.NextWait[i++]);
        }
    }
    i = 0;
    for (int k = 0; k < 3 * TasksPerFlow; ++k) {
        if (ws->MergedAll.Flow[k] != 3) {
            ASSERT_EQ(ws->MergedAll.Wait[k], ws->Merged12.NextWait[i++]);
        }
    }
}

TEST_P(NetworkTest, NoServerServesTwoTasksAtOnce)
{
    auto checkServer = [](const TTaskTable& table, int count, const char* server) {
        for (int k = 1; k < count; ++k) {
            const Row previous = row(table, k - 1);
            const Row current = row(table, k);
            ASSERT_GE(current.wait, 0) << server << " row " << k;
            ASSERT_GE(start(current), end(previous)) << server << " row " << k;
        }
    };
    checkServer(ws->Flow1, TasksPerFlow, "entry 1");
    checkServer(ws->Flow2, TasksPerFlow, "entry 2");
    checkServer(ws->Flow3, TasksPerFlow, "entry 3");
    checkServer(ws->Merged12, 2 * TasksPerFlow, "shared");
    checkServer(ws->MergedAll, 3 * TasksPerFlow, "final");
}

INSTANTIATE_TEST_SUITE_P(Seeds, NetworkTest, testing::Range(1, 201, 7));

}  // namespace
}  // namespace velmora
