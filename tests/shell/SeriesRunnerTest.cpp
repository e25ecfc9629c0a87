// The runner of series on worker threads: the same numbers whatever the
// threads do, what a stop keeps, the first failure by point and run, and one
// workspace a worker.
#include "shell/headless/SeriesRunner.h"

#include "shell/core/Exception.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

// Counts the workspaces made, so that a test can see each worker keeps its own.
struct Counted : shell::SeriesWorkspace {
    explicit Counted(std::atomic<int>& made) { ++made; }
};

// A model whose run `run` of `point` yields point * 1000 + run and
// run * run, after a wait that makes runs finish out of order, and that
// hands every run to `hook` first.
class TestModel : public shell::SeriesModel {
public:
    explicit TestModel(int points, std::function<void(int, std::uint64_t)> hook = {})
        : SeriesModel(1, points > 1 ? std::optional(shell::Sweep{"x", std::vector<double>(points, 0.5)}) : std::nullopt)
        , hook_(std::move(hook))
    {
    }
    int statisticCount() const override { return 2; }
    std::string statisticLabel(int statistic) const override { return std::to_string(statistic); }
    std::unique_ptr<shell::SeriesWorkspace> makeWorkspace() const override { return std::make_unique<Counted>(made); }
    void run(int point, std::uint64_t run, shell::SeriesWorkspace* workspace, std::span<double> out) const override
    {
        EXPECT_NE(workspace, nullptr);
        std::this_thread::sleep_for(std::chrono::microseconds((point * 7 + static_cast<int>(run) * 13) % 11 * 50));
        if (hook_)
            hook_(point, run);
        out[0] = point * 1000 + static_cast<double>(run);
        out[1] = static_cast<double>(run * run);
    }
    mutable std::atomic<int> made{0};

private:
    std::function<void(int, std::uint64_t)> hook_;
};

void runWith(int threads, shell::SeriesRunner& runner)
{
    runner.start({threads}).waitForFinished();
}

// 41 runs: the last chunk of each point is shorter than the others.
TEST(SeriesRunnerTest, ThreadsAndFinishingOrderChangeNoResult)
{
    const auto one = std::make_shared<TestModel>(3);
    shell::SeriesRunner single(one, {41});
    runWith(1, single);
    const auto expected = single.keptPoints();
    ASSERT_EQ(expected.size(), 3u);
    const shell::Estimate& point1 = expected[1].summary.estimates[0];
    EXPECT_EQ(point1.mean, 1020);
    EXPECT_EQ(expected[1].summary.runs, 41);
    EXPECT_EQ(one->made, 1);
    for (const int threads : {2, 4}) {
        const auto many = std::make_shared<TestModel>(3);
        shell::SeriesRunner runner(many, {41});
        runWith(threads, runner);
        const auto points = runner.keptPoints();
        ASSERT_EQ(points.size(), 3u);
        for (std::size_t point = 0; point < 3; ++point) {
            for (std::size_t statistic = 0; statistic < 2; ++statistic) {
                const shell::Estimate& a = points[point].summary.estimates[statistic];
                const shell::Estimate& b = expected[point].summary.estimates[statistic];
                EXPECT_TRUE(a.mean == b.mean && a.low == b.low && a.high == b.high) << threads;
            }
        }
        EXPECT_EQ(runner.runsDone(), 123);
        EXPECT_FALSE(runner.failure());
        EXPECT_EQ(many->made, threads);
    }
}

// A stop during point 1 keeps point 0 whole and point 1's runs up to the
// first that was not made, and nothing of point 2: what is kept of point 1 is
// a whole series of that many runs.
TEST(SeriesRunnerTest, StopKeepsTheRunsMadeFromRunZero)
{
    shell::SeriesRunner* self = nullptr;
    const auto model = std::make_shared<TestModel>(3, [&self](int point, std::uint64_t run) {
        if (point == 1 && run == 4)
            self->stop();
    });
    shell::SeriesRunner runner(model, {10});
    self = &runner;
    runWith(1, runner);
    const auto results = runner.outcomes();
    ASSERT_TRUE(results[0] && results[1]);
    EXPECT_EQ(results[0]->summary.runs, 10);
    EXPECT_EQ(results[1]->summary.runs, 5);
    EXPECT_EQ(results[1]->summary.estimates[0].mean, 1002);
    EXPECT_FALSE(results[2]);
    EXPECT_TRUE(runner.stopped());
    EXPECT_EQ(runner.runsDone(), 15);
    EXPECT_EQ(runner.runsTotal(), 30);
}

// Of several failing runs, the one first by point and run is reported, however
// the workers happen to meet them: run 1:15 fails slowly, so that the other
// worker, already on run 1:16, fails before it.
TEST(SeriesRunnerTest, ReportsTheFirstFailureByPointAndRun)
{
    for (int repeat = 0; repeat < 10; ++repeat) {
        const auto model = std::make_shared<TestModel>(4, [](int point, std::uint64_t run) {
            if (point == 1 && (run == 15 || run == 16))
                std::this_thread::sleep_for(std::chrono::milliseconds(run == 15 ? 20 : 5));
            if ((point == 3 && run == 0) || (point == 2 && run == 5) || (point == 1 && run >= 15))
                throw shell::Exception(std::to_string(point) + ":" + std::to_string(run));
        });
        shell::SeriesRunner runner(model, {20});
        runWith(2, runner);
        const auto failure = runner.failure();
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->point, 1);
        EXPECT_EQ(failure->run, 15u);
        try {
            std::rethrow_exception(failure->error);
        } catch (const shell::Exception& error) {
            EXPECT_EQ(error.message(), "1:15");
        }
        EXPECT_TRUE(runner.outcomes()[0].has_value());
    }
}

// A summary that throws fails its point, after all of its runs.
TEST(SeriesRunnerTest, ASummaryThatThrowsIsTheFailureOfItsPoint)
{
    class Throwing : public TestModel {
    public:
        Throwing()
            : TestModel(2)
        {
        }
        std::vector<double> extras(const shell::RunTable& runs) const override
        {
            if (runs.at(0, 0) >= 1000)
                throw shell::Exception("summary");
            return {};
        }
    };
    shell::SeriesRunner runner(std::make_shared<Throwing>(), {4});
    runWith(2, runner);
    const auto failure = runner.failure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->point, 1);
    EXPECT_EQ(failure->run, 4u);
}

// Point p's runs alternate about 100 by p² · 0.5: equal at point 0, wider
// at each next point.
class Alternating : public shell::SeriesModel {
public:
    Alternating()
        : SeriesModel(1, shell::Sweep{"x", {0, 1, 2, 3}})
    {
    }
    int statisticCount() const override { return 1; }
    std::string statisticLabel(int statistic) const override { return std::to_string(statistic); }
    void run(int point, std::uint64_t run, shell::SeriesWorkspace*, std::span<double> out) const override
    {
        out[0] = 100 + (run % 2 == 0 ? 0.5 : -0.5) * point * point;
    }
};

// A precise series grows each point in stages of 10, 20, 40, ... runs and stops
// it at the first stage whose interval is narrow enough, with the numbers of a
// fixed series of that many runs; a point that never gets there stops at the
// ceiling, not precise. On any number of threads, with its rows kept if asked.
TEST(SeriesRunnerTest, APreciseSeriesStopsEachPointAtItsFirstPreciseStage)
{
    const auto model = std::make_shared<Alternating>();
    const double precision = 0.002;
    std::vector<int> expected;
    for (int point = 0; point < 4; ++point) {
        int runs = shell::FirstStage;
        for (;; runs = std::min(2 * runs, 700)) {
            std::vector<double> values(static_cast<std::size_t>(runs));
            for (int run = 0; run < runs; ++run)
                model->run(point, static_cast<std::uint64_t>(run), nullptr, std::span(values).subspan(run, 1));
            if (shell::Precise({shell::MeanWithInterval(values)}, precision) || runs == 700)
                break;
        }
        expected.push_back(runs);
    }
    EXPECT_EQ(expected, std::vector<int>({10, 40, 640, 700}));
    for (const int threads : {1, 2, 3}) {
        shell::SeriesRunner runner(model, {700, precision, true});
        runWith(threads, runner);
        const auto outcomes = runner.outcomes();
        for (int point = 0; point < 4; ++point) {
            const auto& outcome = outcomes[static_cast<std::size_t>(point)];
            ASSERT_TRUE(outcome);
            EXPECT_EQ(outcome->summary.runs, expected[static_cast<std::size_t>(point)]) << threads;
            EXPECT_EQ(outcome->precise, point < 3);
            EXPECT_EQ(outcome->rows.size(), static_cast<std::size_t>(outcome->summary.runs));
            shell::SeriesRunner fixed(model, {outcome->summary.runs});
            runWith(1, fixed);
            const auto fixedOutcomes = fixed.outcomes();
            const shell::Estimate& a = outcome->summary.estimates[0];
            const shell::Estimate& b = fixedOutcomes[static_cast<std::size_t>(point)]->summary.estimates[0];
            EXPECT_TRUE(a.mean == b.mean && a.low == b.low && a.high == b.high) << point;
        }
        EXPECT_EQ(runner.runsDone(), 10 + 40 + 640 + 700);
        EXPECT_EQ(runner.runsTotal(), 10 + 40 + 640 + 700);
    }
}

}  // namespace
