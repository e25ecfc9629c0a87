// Whole runs of the queueing network with scripted generators.
#include "velmora/model/EngineSteps.h"

#include "shell/core/Exception.h"
#include "shell/core/Random.h"
#include "velmora/model/Variates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace velmora {
namespace {

Generator constant(std::int32_t value)
{
    return [value] { return value; };
}

TEST(RunModelTest, ZeroDrawsServeFlowsOneAfterAnother)
{
    const TResultArrays results = RunModel(constant(0), constant(0));
    EXPECT_TRUE(std::all_of(results.Result1.begin(), results.Result1.end(), [](int v) { return v == 3; }));
    EXPECT_TRUE(std::all_of(results.Result2.begin(), results.Result2.end(), [](int v) { return v == 1003; }));
    EXPECT_TRUE(std::all_of(results.Result3.begin(), results.Result3.end(), [](int v) { return v == 2003; }));
}

// Every draw is distinct (its call number), so each value in the tables shows
// which draw it came from: the order of the draws, where each goes, each flow's
// multiplier and each "+1" are all pinned by closed forms.
TEST(RunModelTest, EveryDrawGoesWhereItsPlaceInTheOrderSays)
{
    int arrivals = 0;
    int processing = 0;
    const Generator arrival = [&arrivals] { return arrivals++; };
    const Generator process = [&processing] { return 100'000 + processing++; };
    auto ws = std::make_unique<TRunWorkspace>();
    SimulateNetwork(*ws, arrival, process);
    EXPECT_EQ(arrivals, 3000);
    EXPECT_EQ(processing, 8000);

    const TTaskTable* flows[] = {&ws->Flow1, &ws->Flow2, &ws->Flow3};
    const int multipliers[] = {4, 2, 1};
    for (int f = 0; f < 3; ++f) {
        const TTaskTable& flow = *flows[f];
        // Flow f's draws come in pairs (arrival, processing) numbered 1000 f + i.
        Tick expectedArrival = 1000 * f;
        for (int i = 0; i < 1000; ++i) {
            if (i > 0)
                expectedArrival += multipliers[f] * (1000 * f + i) + 1;
            ASSERT_EQ(flow.Arrival[i], expectedArrival) << "flow " << f + 1 << " task " << i;
            ASSERT_EQ(flow.Service[i], 100'000 + 1000 * f + i + 1) << "flow " << f + 1 << " task " << i;
        }
    }
    // Then the shared server's draws in pairs, flow 3's at the final server, and
    // the shared server's stream's at the final server in its order of service.
    for (int k = 0; k < 1000; ++k) {
        ASSERT_EQ(ws->Flow1.NextService[k], 100'000 + 3000 + 2 * k + 1) << k;
        ASSERT_EQ(ws->Flow2.NextService[k], 100'000 + 3000 + 2 * k + 2) << k;
        ASSERT_EQ(ws->Flow3.NextService[k], 100'000 + 5000 + k + 1) << k;
    }
    for (int k = 0; k < 2000; ++k)
        ASSERT_EQ(ws->Merged12.NextService[k], 100'000 + 6000 + k + 1) << k;
}

TEST(RunModelTest, ResultsAreSortedAndComplete)
{
    shell::SRand(99);
    const auto arrival = [] { return DrawVariate({DistributionKind::Uniform, 100, 0}, shell::ProcessRandomSources()); };
    const auto processing = [] {
        return DrawVariate({DistributionKind::Uniform, 50, 0}, shell::ProcessRandomSources());
    };
    const TResultArrays results = RunModel(arrival, processing);
    for (const auto* result : {&results.Result1, &results.Result2, &results.Result3}) {
        EXPECT_TRUE(std::is_sorted(result->begin(), result->end()));
        EXPECT_GE(result->front(), 2);
    }
    // Flows 1 and 2 pass three servers of at least one tick each.
    EXPECT_GE(results.Result1.front(), 3);
    EXPECT_GE(results.Result2.front(), 3);
}

// A draw below 0 counts as 0 wherever it becomes a time, so negative draws run
// exactly as zeros do.
TEST(RunModelTest, DrawsBelowZeroCountAsZero)
{
    const TResultArrays zeros = RunModel(constant(0), constant(0));
    for (const std::int32_t draw : {-1, -1000, INT_MIN}) {
        const TResultArrays results = RunModel(constant(draw), constant(draw));
        EXPECT_EQ(results.Result1, zeros.Result1) << draw;
        EXPECT_EQ(results.Result2, zeros.Result2) << draw;
        EXPECT_EQ(results.Result3, zeros.Result3) << draw;
    }
    // Only the negative draws are changed: a mix of both is the mix with zeros,
    // here with flows 1 and 2 drawing their first arrival below 0 and flow 3 not.
    int calls = 0;
    const Generator alternating = [&calls] { return ++calls % 3 ? -7 : 7; };
    int again = 0;
    const Generator clamped = [&again] { return ++again % 3 ? 0 : 7; };
    EXPECT_EQ(RunModel(alternating, constant(3)).Result3, RunModel(clamped, constant(3)).Result3);
}

// Times beyond the signed 32-bit range are errors that blame the side whose
// draws drove them there.
TEST(RunModelTest, TimesBeyondThe32BitRangeBlameTheirSide)
{
    // Flow 1's last task arrives near 1.2e9 and only its processing is long:
    // its end leaves the range with both parts above half of it.
    int calls = 0;
    const Generator lastLong = [&calls] { return calls++ == TasksPerFlow - 1 ? 1'200'000'000 : 0; };
    // Flow 1's first task arrives at half the range and is served for as long.
    int draws = 0;
    const Generator firstHalf = [&draws] { return draws++ == 0 ? 1 << 30 : 0; };
    struct Case {
        const char* what;
        Generator arrival;
        Generator processing;
        bool arrivalBlamed;
        bool processingBlamed;
    };
    const std::vector<Case> cases{
        {"an arrival", constant(INT_MAX), constant(0), true, false},
        {"a processing time", constant(0), constant(INT_MAX), false, true},
        {"waits piling up", constant(0), constant(INT_MAX / 3), false, true},
        {"a late arrival with a long service", constant(300'000), lastLong, true, true},
        {"both parts of exactly half the range", firstHalf, constant((1 << 30) - 1), true, true},
    };
    for (const Case& c : cases) {
        try {
            RunModel(c.arrival, c.processing);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const TimeRangeError& error) {
            EXPECT_EQ(error.arrival(), c.arrivalBlamed) << c.what;
            EXPECT_EQ(error.processing(), c.processingBlamed) << c.what;
        }
    }
}

TEST(SortAscendingTest, AgreesWithAComparisonSortOnAnyValues)
{
    std::mt19937 engine(5);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<std::int32_t> narrow(-300, 300);
    for (int round = 0; round < 50; ++round) {
        std::array<std::int32_t, 1000> values;
        for (auto& value : values)
            value = round % 2 ? any(engine) : narrow(engine);
        values[round % 1000] = INT_MIN;
        values[(round * 7) % 1000] = INT_MAX;
        auto expected = values;
        std::sort(expected.begin(), expected.end());
        SortAscending(values);
        ASSERT_EQ(values, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace velmora
