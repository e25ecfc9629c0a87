// Draw formulas of the four distributions, with scripted random sources.
#include "velmora/model/Variates.h"

#include "shell/core/Exception.h"

#include <gtest/gtest.h>

#include <cmath>

#include <deque>
#include <vector>

namespace velmora {
namespace {

class ScriptedSources : public shell::RandomSources {
public:
    std::deque<std::int32_t> rands;
    std::deque<std::int32_t> lrands;
    std::deque<double> normals;
    std::vector<std::pair<double, double>> normalArguments;
    int draws = 0;

    std::int32_t Rand() override { return next(rands); }
    std::int32_t LRand() override { return next(lrands); }
    double RandG(double mean, double stdDev) override
    {
        normalArguments.emplace_back(mean, stdDev);
        return next(normals);
    }

private:
    template <typename T>
    T next(std::deque<T>& script)
    {
        ++draws;
        if (script.empty())
            throw std::logic_error("unscripted draw");
        const T value = script.front();
        script.pop_front();
        return value;
    }
};

std::int32_t draw(DistributionKind kind, double p1, double p2, ScriptedSources& sources)
{
    return DrawVariate({kind, p1, p2}, sources);
}

// The whole part of MAX bounds one LRand, up to the ends of the 32-bit range;
// below 1 in magnitude there is no draw.
TEST(UniformDrawTest, UsesTheWholePartOfMaxAsBound)
{
    ScriptedSources sources;
    sources.lrands = {12345, 12345, 12345, 12345, 12345, 12345};
    EXPECT_EQ(draw(DistributionKind::Uniform, 100, 0, sources), 45);
    EXPECT_EQ(draw(DistributionKind::Uniform, 100.9, 0, sources), 45);
    EXPECT_EQ(draw(DistributionKind::Uniform, -10, 0, sources), 5);
    EXPECT_EQ(draw(DistributionKind::Uniform, 1, 0, sources), 0);
    EXPECT_EQ(draw(DistributionKind::Uniform, 0.9, 0, sources), 0);
    EXPECT_EQ(draw(DistributionKind::Uniform, -0.9, 0, sources), 0);
    EXPECT_EQ(draw(DistributionKind::Uniform, 2147483647, 0, sources), 12345);
    EXPECT_EQ(draw(DistributionKind::Uniform, -2147483648.0, 0, sources), 12345);
    EXPECT_EQ(sources.draws, 6);
}

// The unit draw is never 0 and reaches 1, so the draw spans 0 to ln 32768 / rate.
TEST(ExponentialDrawTest, SpansZeroToLn32768OverRate)
{
    ScriptedSources sources;
    sources.rands = {0, 32767, 0, 32767, 0, 0};
    EXPECT_EQ(UnitDraw(sources), 1.0 / 32768.0);
    EXPECT_EQ(UnitDraw(sources), 1.0);
    EXPECT_EQ(draw(DistributionKind::Exponential, 1, 0, sources), 10);
    EXPECT_EQ(draw(DistributionKind::Exponential, 1, 0, sources), 0);
    EXPECT_EQ(draw(DistributionKind::Exponential, 0.1, 0, sources), 103);
    EXPECT_EQ(draw(DistributionKind::Exponential, 100, 0, sources), 0);
}

TEST(ErlangDrawTest, AddsTwoPhasesDrawnInOrder)
{
    ScriptedSources sources;
    sources.rands = {0, 0, 0, 32767, 32767, 0, 0, 0};
    EXPECT_EQ(draw(DistributionKind::Erlang2, 1, 1, sources), 20);
    // The second rate halves the second term: its draw is the one that comes second.
    EXPECT_EQ(draw(DistributionKind::Erlang2, 1, 0.5, sources), 10);
    EXPECT_EQ(draw(DistributionKind::Erlang2, 1, 0.5, sources), 20);
    EXPECT_EQ(draw(DistributionKind::Erlang2, 100, 20, sources), 0);
}

TEST(NormalDrawTest, PassesParametersUnchangedAndTruncatesTowardZero)
{
    ScriptedSources sources;
    sources.normals = {-0.7, -1.5, 99.9};
    EXPECT_EQ(draw(DistributionKind::Normal, 100, 20, sources), 0);
    EXPECT_EQ(draw(DistributionKind::Normal, 5, -3, sources), -1);
    EXPECT_EQ(draw(DistributionKind::Normal, 0, 0, sources), 99);
    const std::vector<std::pair<double, double>> expected{{100, 20}, {5, -3}, {0, 0}};
    EXPECT_EQ(sources.normalArguments, expected);
}

// Each impossible draw blames the parameter to change, and rates of 0 or below
// or a MAX beyond 32 bits are refused before any draw.
TEST(ParameterErrorTest, BlamesTheParameterToChange)
{
    struct Case {
        DistributionKind kind;
        double p1, p2;
        std::deque<std::int32_t> rands;
        std::deque<double> normals;
        int parameter;
        int draws;
        const char* advice;
    };
    const double nan = std::nan("");
    const std::vector<Case> cases{
        {DistributionKind::Uniform, 3e9, 0, {}, {}, 1, 0, "2147483647"},
        {DistributionKind::Uniform, nan, 0, {}, {}, 1, 0, "2147483647"},
        {DistributionKind::Exponential, 0, 0, {}, {}, 1, 0, "больше 0"},
        {DistributionKind::Exponential, -0.02, 0, {}, {}, 1, 0, "больше 0"},
        {DistributionKind::Erlang2, 1, 0, {}, {}, 2, 0, "больше 0"},
        {DistributionKind::Erlang2, 1, -1, {}, {}, 2, 0, "больше 0"},
        {DistributionKind::Erlang2, 0, 0, {}, {}, 1, 0, "больше 0"},
        {DistributionKind::Erlang2, -5, 1, {}, {}, 1, 0, "больше 0"},
        {DistributionKind::Exponential, 1e-12, 0, {0}, {}, 1, 1, "увеличьте"},
        {DistributionKind::Erlang2, 1e-12, 1, {0, 0}, {}, 1, 2, "увеличьте"},
        {DistributionKind::Erlang2, 1, 1e-12, {0, 0}, {}, 2, 2, "увеличьте"},
        {DistributionKind::Erlang2, 1e-12, 1e-12, {0, 0}, {}, 1, 2, "увеличьте"},  // equal terms blame λ1
        {DistributionKind::Normal, 0, 1e12, {}, {3e9}, 2, 1, "разброс"},
        {DistributionKind::Normal, 100, 1, {}, {nan}, 2, 1, "разброс"},
        {DistributionKind::Normal, -3e9, 1, {}, {-3e9}, 1, 1, "матожидание"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind) << " " << c.p1 << " " << c.p2);
        ScriptedSources sources;
        sources.rands = c.rands;
        sources.normals = c.normals;
        try {
            draw(c.kind, c.p1, c.p2, sources);
            ADD_FAILURE() << "no error";
        } catch (const ParameterError& error) {
            EXPECT_EQ(error.parameter(), c.parameter);
            EXPECT_NE(error.message().find(c.advice), std::string::npos) << error.message();
        }
        EXPECT_EQ(sources.draws, c.draws);
    }
}

// The message names, on each blamed side, what brings times back: smaller
// bounds, means and spreads, larger rates.
TEST(TimeRangeMessageTest, NamesWhatToChangeOnEachBlamedSide)
{
    struct Case {
        bool arrival, processing;
        DistributionKind arrivalKind, processingKind;
        std::string advice;
    };
    const std::vector<Case> cases{
        {true, false, DistributionKind::Uniform, DistributionKind::Erlang2, ": уменьшите «A1»"},
        {false, true, DistributionKind::Uniform, DistributionKind::Erlang2, ": увеличьте «P1» или «P2»"},
        {true, true, DistributionKind::Exponential, DistributionKind::Normal,
         ": увеличьте «A1»; уменьшите «P1» или «P2»"},
    };
    const auto name = [](Side side, int parameter) {
        return (side == Side::Arrival ? "A" : "P") + std::to_string(parameter);
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeRangeMessage(TimeRangeError(c.arrival, c.processing), c.arrivalKind, c.processingKind, name),
                  "Моделируемые времена выходят за допустимый диапазон" + c.advice);
    }
}

}  // namespace
}  // namespace velmora
