// The runner of series on worker threads: the same numbers whatever the
// threads do, points kept or dropped on a stop, the first failure by index.
#include "shell/ParallelSeries.h"

#include "shell/Exception.h"

#include <QThreadPool>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

struct Workspace { };

using Series = shell::ParallelSeries<double, std::string, Workspace>;

// A run's value comes from (point, run) alone; runs sleep unevenly, so that they
// finish out of order with more than one thread.
double slowRun(int point, int run, Workspace&)
{
    std::this_thread::sleep_for(std::chrono::microseconds((point * 7 + run * 13) % 11 * 50));
    return point * 1000 + run + 0.5;
}

// A summary that shows the order it saw the runs in.
std::string inOrder(int point, std::span<const double> runs)
{
    std::string seen = std::to_string(point) + ":";
    for (const double value : runs)
        seen += std::to_string(static_cast<int>(value)) + " ";
    return seen;
}

std::vector<std::optional<std::string>> runWith(int threads, Series& series)
{
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    series.start(&pool).waitForFinished();
    return series.results();
}

TEST(ParallelSeriesTest, ThreadsAndFinishingOrderChangeNoResult)
{
    // 41 runs: the last chunk of each point is shorter than the others.
    Series one(3, 41, slowRun, inOrder);
    const auto expected = runWith(1, one);
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(expected[1]->substr(0, 12), "1:1000 1001 ");
    for (const int threads : {2, 4}) {
        Series many(3, 41, slowRun, inOrder);
        EXPECT_EQ(runWith(threads, many), expected) << threads;
        EXPECT_EQ(many.runsDone(), 123);
        EXPECT_FALSE(many.failure());
    }
}

// A stop during point 1 keeps point 0, whose runs all finished, and drops the rest.
TEST(ParallelSeriesTest, StopKeepsOnlyPointsWhoseRunsAllFinished)
{
    Series* self = nullptr;
    Series series(
        3, 10,
        [&self](int point, int run, Workspace&) {
            if (point == 1 && run == 4)
                self->stop();
            return 1.0;
        },
        inOrder);
    self = &series;
    const auto results = runWith(1, series);
    EXPECT_TRUE(results[0].has_value());
    EXPECT_FALSE(results[1].has_value());
    EXPECT_FALSE(results[2].has_value());
    EXPECT_TRUE(series.stopped());
    EXPECT_EQ(series.runsDone(), 15);
    EXPECT_EQ(series.runsTotal(), 30);
}

// Of several failing runs, the one first by point and run is reported, however
// the workers happen to meet them: run 1:15 fails slowly, so that the other
// worker, already on run 1:16, fails after it.
TEST(ParallelSeriesTest, ReportsTheFirstFailureByPointAndRun)
{
    for (int repeat = 0; repeat < 10; ++repeat) {
        Series series(
            4, 20,
            [](int point, int run, Workspace& workspace) {
                if (point == 1 && (run == 15 || run == 16))
                    std::this_thread::sleep_for(std::chrono::milliseconds(run == 15 ? 20 : 40));
                if ((point == 3 && run == 0) || (point == 2 && run == 5) || (point == 1 && run >= 15))
                    throw shell::Exception(std::to_string(point) + ":" + std::to_string(run));
                return slowRun(point, run, workspace);
            },
            inOrder);
        const auto results = runWith(2, series);
        const auto failure = series.failure();
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->point, 1);
        try {
            std::rethrow_exception(failure->error);
        } catch (const shell::Exception& error) {
            EXPECT_EQ(error.message(), "1:15");
        }
        EXPECT_TRUE(results[0].has_value());
    }
}

}  // namespace
