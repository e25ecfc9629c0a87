// Whole runs of the queueing network with scripted generators.
#include "velmora/model/EngineSteps.h"

#include "shell/Exception.h"
#include "shell/Random.h"
#include "velmora/model/Variates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>

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

TEST(RunModelTest, DrawsInTheFixedOrder)
{
    std::string calls;
    const Generator arrival = [&calls] {
        calls += 'a';
        return 5;
    };
    const Generator processing = [&calls] {
        calls += 'p';
        return 3;
    };
    RunModel(arrival, processing);

    std::string expected;
    for (int i = 0; i < 3000; ++i)
        expected += "ap";
    expected += std::string(5000, 'p');
    EXPECT_EQ(calls, expected);
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

TEST(RunModelTest, NegativeDrawsAreUsedAsTheyCome)
{
    const TResultArrays results = RunModel(constant(-1), constant(-1));
    // Every processing time is 0 and every flow arrives at -1, -1-(m-1), ...: all wait 0.
    EXPECT_EQ(results.Result1.front(), 0);
    EXPECT_EQ(results.Result3.back(), 0);
}

TEST(RunModelTest, TimesBeyondThe32BitRangeAreErrors)
{
    EXPECT_THROW(RunModel(constant(INT_MAX), constant(0)), shell::Exception);
    EXPECT_THROW(RunModel(constant(0), constant(INT_MAX)), shell::Exception);
    EXPECT_THROW(RunModel(constant(INT_MIN), constant(0)), shell::Exception);
    EXPECT_THROW(RunModel(constant(0), constant(INT_MAX / 3)), shell::Exception);
}

TEST(RunModelTest, GeneratorErrorsEndTheRun)
{
    int calls = 0;
    const Generator failing = [&calls]() -> std::int32_t {
        if (++calls == 10)
            throw shell::Exception("bad field");
        return 1;
    };
    EXPECT_THROW(RunModel(constant(1), failing), shell::Exception);
    EXPECT_EQ(calls, 10);
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
