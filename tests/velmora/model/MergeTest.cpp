// Single-server waits and the priority merge, on worked examples and random streams.
#include "velmora/model/EngineSteps.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
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

struct MergeResult {
    std::vector<Row> rows;
    std::vector<Tick> lowWaits;
};

void load(TTaskTable& table, const Stream& stream)
{
    for (std::size_t i = 0; i < stream.arrival.size(); ++i) {
        table.Departure[i] = stream.arrival[i];
        table.NextService[i] = stream.service[i];
        table.NextWait[i] = stream.wait.empty() ? 0 : stream.wait[i];
    }
}

MergeResult merge(const Stream& high, const Stream& low)
{
    auto h = std::make_unique<TTaskTable>();
    auto l = std::make_unique<TTaskTable>();
    auto out = std::make_unique<TTaskTable>();
    load(*h, high);
    load(*l, low);
    const int nH = static_cast<int>(high.arrival.size());
    const int nL = static_cast<int>(low.arrival.size());
    MergeByPriority(*h, nH, H, *l, nL, L, *out);
    MergeResult result;
    for (int k = 0; k < nH + nL; ++k)
        result.rows.emplace_back(out->Arrival[k], out->Service[k], out->Flow[k], out->Wait[k]);
    result.lowWaits.assign(l->NextWait.begin(), l->NextWait.begin() + nL);
    return result;
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
        {"a low task arriving with a high one goes after it",
         {{10, 20}, {5, 5}, {0, 0}},
         {{20}, {1}},
         {{10, 5, H, 0}, {20, 5, H, 0}, {20, 1, L, 5}}},
        {"... even when its processing time is negative",
         {{10, 20}, {5, 5}, {0, 0}},
         {{20}, {-1}},
         {{10, 5, H, 0}, {20, 5, H, 0}, {20, -1, L, 5}}},
        {"all low tasks fitting before the first high one come first",
         {{100, 200}, {5, 5}, {0, 0}},
         {{0, 1, 2}, {2, 2, 2}},
         {{0, 2, L, 0}, {1, 2, L, 1}, {2, 2, L, 2}, {100, 5, H, 0}, {200, 5, H, 0}}},
    };
    for (const Case& c : cases) {
        const auto result = merge(c.high, c.low);
        EXPECT_EQ(result.rows, c.rows) << c.what;
        std::vector<Tick> lowWaits;
        for (const auto& [arrival, service, flow, wait] : c.rows) {
            if (flow == L)
                lowWaits.push_back(wait);
        }
        EXPECT_EQ(result.lowWaits, lowWaits) << c.what;
    }
}

TEST(MergeByPriorityTest, HighRowsMayKeepTheirOwnTags)
{
    auto h = std::make_unique<TTaskTable>();
    auto l = std::make_unique<TTaskTable>();
    auto out = std::make_unique<TTaskTable>();
    load(*h, {{10, 20}, {5, 5}, {0, 0}});
    h->Flow[0] = 2;
    h->Flow[1] = 1;
    load(*l, {{50}, {1}});
    MergeByPriority(*h, 2, std::nullopt, *l, 1, 3, *out);
    EXPECT_EQ(out->Flow[0], 2);
    EXPECT_EQ(out->Flow[1], 1);
    EXPECT_EQ(out->Flow[2], 3);
}

Stream randomStream(std::mt19937& engine, int count, int maxGap, int maxService, bool priority)
{
    Stream stream;
    std::uniform_int_distribution<int> gap(0, maxGap);
    std::uniform_int_distribution<int> service(1, maxService);
    Tick time = gap(engine);
    for (int i = 0; i < count; ++i) {
        stream.arrival.push_back(time);
        stream.service.push_back(service(engine));
        time += gap(engine);
    }
    if (priority)
        stream.wait = waits(stream.arrival, stream.service);
    return stream;
}

TEST(MergeByPriorityTest, KeepsInvariantsOverRandomStreams)
{
    std::mt19937 engine(12345);
    for (int round = 0; round < 300; ++round) {
        const int nH = 1 + round % 40;
        const int nL = 1 + (round * 7) % 40;
        const Stream high = randomStream(engine, nH, 1 + round % 25, 1 + round % 9, true);
        const Stream low = randomStream(engine, nL, 1 + round % 13, 1 + round % 6, false);
        const auto result = merge(high, low);

        std::size_t i = 0;
        std::size_t j = 0;
        std::int64_t previousEnd = INT64_MIN;
        for (const auto& [arrival, service, flow, wait] : result.rows) {
            ASSERT_GE(wait, 0);
            const std::int64_t end = std::int64_t{arrival} + wait + service;
            ASSERT_GE(end, previousEnd) << "round " << round;
            previousEnd = end;
            if (flow == H) {
                // Each stream keeps its order; high tasks keep their stand-alone waits.
                ASSERT_EQ(arrival, high.arrival[i]);
                ASSERT_EQ(wait, high.wait[i]);
                ++i;
            } else {
                ASSERT_EQ(arrival, low.arrival[j]);
                ASSERT_EQ(service, low.service[j]);
                ASSERT_EQ(wait, result.lowWaits[j]);
                if (i > 0 && i < high.arrival.size()) {
                    ASSERT_LT(end, high.arrival[i]) << "low task between high tasks overruns, round " << round;
                }
                ++j;
            }
        }
        EXPECT_EQ(i, high.arrival.size());
        EXPECT_EQ(j, low.arrival.size());
    }
}

}  // namespace
}  // namespace velmora
