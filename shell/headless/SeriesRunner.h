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
    int runs;
};

// The threads a series runs on: how many, and whether they take only the time
// that other threads leave.
struct SeriesThreads {
    int count;
    bool idle = false;
};

// Its rules:
// - A worker takes chunks of runs in the order of (point, first run) and keeps
//   one workspace of the model's for all the chunks it makes.
// - A point is summarised by the worker that writes its last run, from its runs
//   in run order; its rows are then freed.
// - A run that throws, or a summary that does, is a failure; the one reported is
//   the first by point and run (a summary's counting after its point's runs).
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

    // Starts the workers; the future finishes once every chunk has been made
    // or skipped. Call once.
    QFuture<void> start(SeriesThreads threads);
    void stop();
    bool stopped() const;

    std::int64_t runsDone() const;
    std::int64_t runsTotal() const;

    // Once the future has finished: the first failure, if any.
    std::optional<SeriesFailure> failure() const;
    // Once the future has finished: every point's summary, none for a point
    // that kept fewer than two runs.
    std::vector<std::optional<PointSummary>> results() const;
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
        std::vector<double> rows;           // runs × statistics, freed once summarised
        std::vector<std::uint8_t> written;  // a flag a run
        int remaining = 0;                  // runs not yet written
        std::optional<PointSummary> summary;
    };

    void work();
    std::optional<Chunk> next();
    void makeChunk(const Chunk& chunk, SeriesWorkspace* workspace);
    void summarize(int point, int runs);
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

}  // namespace shell
