// Runs the runs of a series on worker threads (Qt Concurrent) so that neither
// the number of threads nor the order in which runs finish changes a number:
// every run writes its own slot, and a point is summarised from its slots in run
// order once all of them are filled.
#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace shell {

// The run of a series that failed first, counted by point and then by run.
struct SeriesFailure {
    int point;
    std::exception_ptr error;
};

// `points` points of `runs` runs each. run(point, run, workspace) gives a run's
// result; summarize(point, results) a point's, from its runs' results in run
// order. Each worker keeps a Workspace of its own for the runs it makes in a row.
template <typename Run, typename Point, typename Workspace>
class ParallelSeries {
public:
    using RunFunction = std::function<Run(int point, int run, Workspace& workspace)>;
    using SummarizeFunction = std::function<Point(int point, std::span<const Run> runs)>;

    ParallelSeries(int points, int runs, RunFunction run, SummarizeFunction summarize)
        : runs_(runs)
        , run_(std::move(run))
        , summarize_(std::move(summarize))
    {
        // Chunks small enough to balance the workers, and large enough that
        // each worker's workspace serves many runs.
        const int chunk = std::clamp(runs / 16, 1, 64);
        for (int point = 0; point < points; ++point) {
            states_.push_back(std::make_unique<PointState>(runs));
            for (int first = 0; first < runs; first += chunk)
                chunks_.push_back({point, first, std::min(chunk, runs - first)});
        }
    }

    ParallelSeries(const ParallelSeries&) = delete;
    ParallelSeries& operator=(const ParallelSeries&) = delete;

    // Starts the runs on `pool`; the future finishes once every run has been
    // made, skipped after stop(), or skipped after a failure before it.
    QFuture<void> start(QThreadPool* pool)
    {
        return QtConcurrent::map(pool, chunks_.begin(), chunks_.end(), [this](const Chunk& chunk) { runChunk(chunk); });
    }

    // Runs that have not begun are skipped; a point that misses any is dropped.
    void stop() { stopped_.store(true, std::memory_order_relaxed); }
    bool stopped() const { return stopped_.load(std::memory_order_relaxed); }

    std::int64_t runsDone() const { return runsDone_.load(std::memory_order_relaxed); }
    std::int64_t runsTotal() const { return static_cast<std::int64_t>(runs_) * std::ssize(states_); }

    // Once the future has finished: each point's summary, or none for a point
    // whose runs did not all finish.
    std::vector<std::optional<Point>> results() const
    {
        std::vector<std::optional<Point>> points;
        for (const auto& state : states_)
            points.push_back(state->summary);
        return points;
    }

    // Once the future has finished: the first run that threw, if any. Every run
    // before it was made, so it is the same failure whatever the threads did.
    std::optional<SeriesFailure> failure() const
    {
        std::lock_guard lock(failureMutex_);
        return failure_;
    }

private:
    struct Chunk {
        int point;
        int first;
        int count;
    };
    struct PointState {
        explicit PointState(int runCount)
            : remaining(runCount)
        {
        }
        std::mutex mutex;  // guards the first allocation of `runs`
        std::vector<Run> runs;
        std::atomic<int> remaining;
        std::optional<Point> summary;
    };

    void runChunk(const Chunk& chunk)
    {
        PointState& state = *states_[static_cast<std::size_t>(chunk.point)];
        {
            // A point's results are held only while its runs are being made.
            std::lock_guard lock(state.mutex);
            if (state.runs.empty())
                state.runs.resize(static_cast<std::size_t>(runs_));
        }
        const auto workspace = std::make_unique_for_overwrite<Workspace>();
        int done = 0;
        for (int run = chunk.first; run < chunk.first + chunk.count; ++run) {
            const std::int64_t index = static_cast<std::int64_t>(chunk.point) * runs_ + run;
            if (stopped() || index > firstFailure_.load(std::memory_order_relaxed))
                break;
            try {
                state.runs[static_cast<std::size_t>(run)] = run_(chunk.point, run, *workspace);
            } catch (...) {
                fail(index, chunk.point, std::current_exception());
                break;
            }
            ++done;
            runsDone_.fetch_add(1, std::memory_order_relaxed);
        }
        // The last chunk to finish a point sees every run's result.
        if (done > 0 && state.remaining.fetch_sub(done, std::memory_order_acq_rel) == done) {
            state.summary = summarize_(chunk.point, state.runs);
            std::vector<Run>().swap(state.runs);
        }
    }

    void fail(std::int64_t index, int point, std::exception_ptr error)
    {
        std::lock_guard lock(failureMutex_);
        if (index < firstFailure_.load(std::memory_order_relaxed)) {
            firstFailure_.store(index, std::memory_order_relaxed);
            failure_ = SeriesFailure{point, std::move(error)};
        }
    }

    int runs_;
    RunFunction run_;
    SummarizeFunction summarize_;
    std::vector<std::unique_ptr<PointState>> states_;
    std::vector<Chunk> chunks_;
    std::atomic<bool> stopped_{false};
    std::atomic<std::int64_t> runsDone_{0};
    std::atomic<std::int64_t> firstFailure_{std::numeric_limits<std::int64_t>::max()};
    mutable std::mutex failureMutex_;
    std::optional<SeriesFailure> failure_;
};

}  // namespace shell
