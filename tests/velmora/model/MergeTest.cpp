// Single-server waits and the priority merge, on worked examples.
#include "velmora/model/EngineSteps.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

namespace velmora {
namespace {

using Row = std::tuple<Tick, Tick, Tick, Tick>;  // arrival, service, flow, wait

constexpr Tick H = 1;
constexpr Tick L = 2;

struct Stream {
    std::vector<Tick> arrival;
    std::vector<Tick> service;
    std::vector<Tick> wait{};  // stand-alone waits of a priority stream
};

void load(TTaskTable& table, const Stream& stream)
{
    for (std::size_t i = 0; i < stream.arrival.size(); ++i) {
        table.Departure[i] = stream.arrival[i];
        table.NextService[i] = stream.service[i];
        table.NextWait[i] = stream.wait.empty() ? 0 : stream.wait[i];
    }
}

// The rows of the merge; the wait of each low row is also the low task's own.
std::vector<Row> merge(const Stream& high, const Stream& low)
{
    auto h = std::make_unique<TTaskTable>();
    auto l = std::make_unique<TTaskTable>();
    auto out = std::make_unique<TTaskTable>();
    load(*h, high);
    load(*l, low);
    const int nH = static_cast<int>(high.arrival.size());
    const int nL = static_cast<int>(low.arrival.size());
    MergeByPriority(*h, nH, H, *l, nL, L, *out);
    std::vector<Row> rows;
    for (int k = 0, j = 0; k < nH + nL; ++k) {
        rows.emplace_back(out->Arrival[k], out->Service[k], out->Flow[k], out->Wait[k]);
        if (out->Flow[k] == L) {
            EXPECT_EQ(l->NextWait[j++], out->Wait[k]) << "row " << k;
        }
    }
    return rows;
}

std::vector<Tick> waits(const std::vector<Tick>& arrival, const std::vector<Tick>& service)
{
    std::vector<Tick> w(arrival.size());
    SingleServerWaits(arrival, service, w);
    return w;
}

TEST(SingleServerWaitsTest, WaitsForThePreviousTaskToLeaveInRowOrder)
{
    EXPECT_EQ(waits({0, 2, 3, 10}, {5, 1, 4, 2}), (std::vector<Tick>{0, 3, 3, 0}));
    EXPECT_EQ(waits({0, 5}, {5, 1}), (std::vector<Tick>{0, 0}));
    EXPECT_EQ(waits({10, 0, 0}, {5, 2, 2}), (std::vector<Tick>{0, 15, 17}));
    // A task may end at the largest tick.
    EXPECT_EQ(waits({2147483640, 2147483647}, {7, 1}), (std::vector<Tick>{0, 0}));
}

// Worked merges: each tie of the priority rules, and the waits given to low tasks.
TEST(MergeByPriorityTest, WorkedExamples)
{
    struct Case {
        const char* what;
        Stream high;
        Stream low;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases{
        {"low tasks fit into gaps",
         {{10, 20, 30}, {5, 5, 5}, {0, 0, 0}},
         {{0, 12, 13}, {3, 4, 4}},
         {{0, 3, L, 0}, {10, 5, H, 0}, {12, 4, L, 3}, {20, 5, H, 0}, {13, 4, L, 12}, {30, 5, H, 0}}},
        {"the first low task must end strictly before the first high one",
         {{10, 100}, {5, 5}, {0, 0}},
         {{0, 5}, {10, 5}},
         {{10, 5, H, 0}, {0, 10, L, 15}, {5, 5, L, 20}, {100, 5, H, 0}}},
        {"a later low task may end exactly at the first high one",
         {{10, 100}, {5, 5}, {0, 0}},
         {{0, 2}, {3, 7}},
         {{0, 3, L, 0}, {2, 7, L, 1}, {10, 5, H, 0}, {100, 5, H, 0}}},
        {"a low task arriving with a high one goes after it, one arriving after all high ones waits for nothing",
         {{10, 20}, {5, 5}, {0, 0}},
         {{20, 40}, {1, 1}},
         {{10, 5, H, 0}, {20, 5, H, 0}, {20, 1, L, 5}, {40, 1, L, 0}}},
        {"... even when its processing time is negative",
         {{10, 20}, {5, 5}, {0, 0}},
         {{20}, {-1}},
         {{10, 5, H, 0}, {20, 5, H, 0}, {20, -1, L, 5}}},
        {"a low task as long as the gap from the last high end to the next high arrival waits behind it",
         {{0, 20}, {5, 5}, {0, 0}},
         {{3}, {15}},
         {{0, 5, H, 0}, {20, 5, H, 0}, {3, 15, L, 22}}},
        {"a low task that would end, started on its arrival, just as the next high one arrives waits behind it",
         {{0, 20}, {5, 5}, {0, 0}},
         {{10}, {10}},
         {{0, 5, H, 0}, {20, 5, H, 0}, {10, 10, L, 15}}},
        {"a low task that would end just after the running low one as the next high one arrives waits behind it",
         {{0, 20}, {5, 5}, {0, 0}},
         {{6, 7}, {4, 10}},
         {{0, 5, H, 0}, {6, 4, L, 0}, {20, 5, H, 0}, {7, 10, L, 18}}},
        {"a low task arriving as the low one before it ends starts no earlier than the last high end, "
         "even when that low one ended earlier through a negative processing time",
         {{0, 100}, {10, 10}, {0, 0}},
         {{5, 7}, {-3, 1}},
         {{0, 10, H, 0}, {5, -3, L, 5}, {7, 1, L, 3}, {100, 10, H, 0}}},
        {"high tasks keep their stand-alone waits, and a low task waits for the high one before it",
         {{10, 12}, {5, 5}, {0, 3}},
         {{13}, {2}},
         {{10, 5, H, 0}, {12, 5, H, 3}, {13, 2, L, 7}}},
        {"all low tasks fitting before the first high one come first",
         {{100, 200}, {5, 5}, {0, 0}},
         {{0, 1, 2}, {2, 2, 2}},
         {{0, 2, L, 0}, {1, 2, L, 1}, {2, 2, L, 2}, {100, 5, H, 0}, {200, 5, H, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(merge(c.high, c.low), c.rows) << c.what;
}

}  // namespace
}  // namespace velmora
