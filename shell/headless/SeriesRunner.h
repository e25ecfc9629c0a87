// Runs the runs of a series on worker threads of its own so that neither the
// number of threads nor the order in which runs finish changes a number: every
// run writes its own row, and a point is summarised from its rows in run order
// once they are all written.
#pragma once

#include "shell/core/SeriesModel.h"

#include <QFuture>
#include <QFutureInterface>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

namespace shell {

// How many runs a series makes of each point.
struct SeriesPlan {
    // Every point's runs; with a precision, their ceiling.
    int runs;
    // A point's runs grow in stages of FirstStage, then doubling, until every
    // statistic's half-width is at most `precision` · |mean| (see Precise).
    std::optional<double> precision = std::nullopt;
    // Keep every point's rows once it is summarised, for paired comparisons.
    bool keepRows = false;
};

// The threads a series runs on: how many, and whether they take only the time
// that other threads leave.
struct SeriesThreads {
    int count;
    bool idle = false;
};

// A point of a finished series as the runner made it.
struct PointOutcome {
    PointSummary summary;
    // It reached the plan's precision (always, without one).
    bool precise;
    // Its rows, runs × statistics, when the plan keeps them.
    std::vector<double> rows;
};

// Its rules:
// - A worker takes chunks of runs in the order of (point, first run) and keeps
//   one workspace of the model's for all the chunks it makes.
// - A point is summarised by the worker that writes the last run of its stage,
//   from its runs in run order; with a precision it then either ends or goes on
//   to its next stage, which begins and ends at fixed runs, so that when it
//   ends depends on the seed and the settings alone.
// - A run that throws, or a summary that does, is a failure; the one reported is
//   the first by point and run (a summary's counting after its stage's runs).
//   Runs after it are skipped, runs before it are all made, so the failure is
//   the same whatever the threads did.
// - A stop skips the chunks not begun. A point keeps the longest run of written
//   runs from run 0 when that is two runs or more, and is summarised from them:
//   what it reports equals a whole series of that many runs.
class SeriesRunner {
public:
    SeriesRunner(std::shared_ptr<const SeriesModel> model, SeriesPlan plan);
    ~SeriesRunner();
    SeriesRunner(const SeriesRunner&) = delete;
    SeriesRunner& operator=(const SeriesRunner&) = delete;

    const SeriesModel& model() const { return *model_; }
    const SeriesPlan& plan() const { return plan_; }

    // Starts the workers; the future finishes once every chunk has been made
    // or skipped. Call once.
    QFuture<void> start(SeriesThreads threads);
    void stop();
    bool stopped() const;

    std::int64_t runsDone() const;
    // The runs planned so far: with a precision, the ceiling of every point
    // still running.
    std::int64_t runsTotal() const;

    // Once the future has finished: the first failure, if any.
    std::optional<SeriesFailure> failure() const;
    // Once the future has finished: every point's outcome, none for a point
    // that kept fewer than two runs.
    std::vector<std::optional<PointOutcome>> outcomes() const;
    // The kept points with their values, in sweep order.
    std::vector<SeriesPoint> keptPoints() const;

private:
    struct Chunk {
        int point;
        int first;
        int count;
        bool operator<(const Chunk& other) const
        {
            return point != other.point ? point < other.point : first < other.first;
        }
    };
    struct PointState {
        std::vector<double> rows;           // runs × statistics, freed once summarised unless kept
        std::vector<std::uint8_t> written;  // a flag a run
        int planned = 0;                    // the end of its stage
        int target = 0;                     // the runs it makes, once it is known; until then the ceiling
        int remaining = 0;                  // runs of its stage not yet written
        std::optional<PointOutcome> outcome;
    };

    void schedule(int point, int from, int to);
    void work();
    std::optional<Chunk> next();
    void makeChunk(const Chunk& chunk, SeriesWorkspace* workspace);
    // Summarises a point's first `runs` runs; ends it or schedules its next
    // stage. Called without the lock, by the only thread that touches the point.
    void summarize(int point, int runs, bool last);
    void fail(int point, std::uint64_t run, std::exception_ptr error);
    bool beforeFailure(int point, std::uint64_t run) const;
    void keepPrefixes();

    std::shared_ptr<const SeriesModel> model_;
    SeriesPlan plan_;
    int statistics_;
    std::vector<PointState> points_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::set<Chunk> queue_;
    int inFlight_ = 0;
    int workers_ = 0;
    bool stopped_ = false;
    std::int64_t runsDone_ = 0;
    std::optional<SeriesFailure> failure_;
    QFutureInterface<void> finished_;
    std::vector<std::thread> threads_;
};

// A precision series' first stage, in runs; later stages double the runs.
inline constexpr int FirstStage = 10;

// Every estimate's half-width is at most precision · |mean|; one whose runs
// were all equal has none.
bool Precise(const std::vector<Estimate>& estimates, double precision);

}  // namespace shell
