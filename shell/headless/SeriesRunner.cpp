// Workers are threads of the runner's own (standard threads, so that a checker
// of the memory model sees them start) that take chunks from one ordered queue
// until it is empty and nothing in flight can add to it; the last worker out
// summarises what a stop left unfinished and finishes the future. Only the
// queue and the counters are locked: a run writes rows no other run writes, and
// a point's rows are read, grown or freed only once all of its stage's runs
// have been written.
#include "SeriesRunner.h"

#include <algorithm>
#include <cmath>

#include <pthread.h>
#include <sched.h>

namespace shell {

bool Precise(const std::vector<Estimate>& estimates, double precision)
{
    return std::all_of(estimates.begin(), estimates.end(), [precision](const Estimate& estimate) {
        return (estimate.high - estimate.low) / 2 <= precision * std::abs(estimate.mean);
    });
}

SeriesRunner::SeriesRunner(std::shared_ptr<const SeriesModel> model, SeriesPlan plan)
    : model_(std::move(model))
    , plan_(plan)
    , statistics_(model_->statisticCount())
    , points_(static_cast<std::size_t>(model_->pointCount()))
{
    const int firstStage = plan_.precision ? std::min(plan_.runs, FirstStage) : plan_.runs;
    for (int point = 0; point < model_->pointCount(); ++point) {
        points_[static_cast<std::size_t>(point)].target = plan_.runs;
        schedule(point, 0, firstStage);
    }
}

SeriesRunner::~SeriesRunner()
{
    stop();
    for (std::thread& thread : threads_)
        thread.join();
}

void SeriesRunner::schedule(int point, int from, int to)
{
    PointState& state = points_[static_cast<std::size_t>(point)];
    state.planned = to;
    state.remaining = to - from;
    // Chunks small enough to balance the workers and to stop soon, large enough
    // that taking one costs little beside its runs.
    const int chunk = std::clamp((to - from) / 16, 1, 64);
    for (int first = from; first < to; first += chunk)
        queue_.insert({point, first, std::min(chunk, to - first)});
}

QFuture<void> SeriesRunner::start(SeriesThreads threads)
{
    finished_.reportStarted();
    const QFuture<void> future = finished_.future();
    const int workers = std::max(1, threads.count);
    {
        std::lock_guard lock(mutex_);
        workers_ = workers;
    }
    for (int i = 0; i < workers; ++i) {
        threads_.emplace_back([this] { work(); });
        if (threads.idle) {
            // The scheduler runs such a thread only when nothing else wants the core.
            const sched_param none{};
            pthread_setschedparam(threads_.back().native_handle(), SCHED_IDLE, &none);
        }
    }
    return future;
}

void SeriesRunner::stop()
{
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

bool SeriesRunner::stopped() const
{
    std::lock_guard lock(mutex_);
    return stopped_;
}

std::int64_t SeriesRunner::runsDone() const
{
    std::lock_guard lock(mutex_);
    return runsDone_;
}

std::int64_t SeriesRunner::runsTotal() const
{
    std::lock_guard lock(mutex_);
    std::int64_t total = 0;
    for (const PointState& state : points_)
        total += state.target;
    return total;
}

std::optional<SeriesFailure> SeriesRunner::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

std::vector<std::optional<PointOutcome>> SeriesRunner::outcomes() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::optional<PointOutcome>> all;
    for (const PointState& state : points_)
        all.push_back(state.outcome);
    return all;
}

std::vector<SeriesPoint> SeriesRunner::keptPoints() const
{
    std::vector<SeriesPoint> kept;
    const auto all = outcomes();
    for (std::size_t point = 0; point < all.size(); ++point) {
        if (all[point])
            kept.push_back({model_->valueAt(static_cast<int>(point)), all[point]->summary, all[point]->rows});
    }
    return kept;
}

void SeriesRunner::work()
{
    const std::unique_ptr<SeriesWorkspace> workspace = model_->makeWorkspace();
    while (const std::optional<Chunk> chunk = next())
        makeChunk(*chunk, workspace.get());

    std::unique_lock lock(mutex_);
    if (workers_ > 1) {
        --workers_;
        return;
    }
    lock.unlock();
    keepPrefixes();
    finished_.reportFinished();
}

std::optional<SeriesRunner::Chunk> SeriesRunner::next()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopped_)
            return std::nullopt;
        while (!queue_.empty()) {
            const Chunk chunk = *queue_.begin();
            queue_.erase(queue_.begin());
            if (beforeFailure(chunk.point, static_cast<std::uint64_t>(chunk.first))) {
                ++inFlight_;
                return chunk;
            }
        }
        // A chunk in flight may end its stage and add the next; none in flight, none to come.
        if (inFlight_ == 0)
            return std::nullopt;
        changed_.wait(lock);
    }
}

void SeriesRunner::makeChunk(const Chunk& chunk, SeriesWorkspace* workspace)
{
    PointState& state = points_[static_cast<std::size_t>(chunk.point)];
    const auto statistics = static_cast<std::size_t>(statistics_);
    {
        // A point's rows grow when the first chunk of a stage begins, before any
        // run of the stage writes them.
        std::lock_guard lock(mutex_);
        const auto planned = static_cast<std::size_t>(state.planned);
        if (state.written.size() < planned) {
            state.rows.resize(planned * statistics);
            state.written.resize(planned);
        }
    }
    int done = 0;
    std::exception_ptr error;
    try {
        model_->runChunk(chunk.point, static_cast<std::uint64_t>(chunk.first), chunk.count, workspace,
                         std::span(state.rows)
                             .subspan(static_cast<std::size_t>(chunk.first) * statistics,
                                      static_cast<std::size_t>(chunk.count) * statistics),
                         done);
    } catch (...) {
        error = std::current_exception();
    }
    std::fill_n(state.written.begin() + chunk.first, done, std::uint8_t{1});

    std::unique_lock lock(mutex_);
    runsDone_ += done;
    if (error)
        fail(chunk.point, static_cast<std::uint64_t>(chunk.first + done), error);
    state.remaining -= done;
    const bool stageDone = state.remaining == 0 && !error;
    const int planned = state.planned;
    lock.unlock();
    if (stageDone)
        summarize(chunk.point, planned, false);
    lock.lock();
    --inFlight_;
    changed_.notify_all();
}

void SeriesRunner::summarize(int point, int runs, bool last)
{
    PointState& state = points_[static_cast<std::size_t>(point)];
    try {
        const RunTable table{std::span<const double>(state.rows)
                                 .first(static_cast<std::size_t>(runs) * static_cast<std::size_t>(statistics_)),
                             statistics_};
        PointSummary summary = Summarize(*model_, table);
        const bool precise = !plan_.precision || Precise(summary.estimates, *plan_.precision);
        std::lock_guard lock(mutex_);
        if (!last && !precise && runs < plan_.runs) {
            schedule(point, runs, std::min(plan_.runs, 2 * runs));
            return;
        }
        if (!last)
            state.target = runs;
        state.rows.resize(table.values.size());
        state.outcome = PointOutcome{std::move(summary), precise, {}};
        if (plan_.keepRows)
            state.outcome->rows = std::move(state.rows);
        std::vector<double>().swap(state.rows);
        std::vector<std::uint8_t>().swap(state.written);
    } catch (...) {
        std::lock_guard lock(mutex_);
        fail(point, static_cast<std::uint64_t>(runs), std::current_exception());
    }
}

void SeriesRunner::fail(int point, std::uint64_t run, std::exception_ptr error)
{
    if (beforeFailure(point, run))
        failure_ = SeriesFailure{point, run, std::move(error)};
}

bool SeriesRunner::beforeFailure(int point, std::uint64_t run) const
{
    return !failure_ || point < failure_->point || (point == failure_->point && run < *failure_->run);
}

void SeriesRunner::keepPrefixes()
{
    if (failure())
        return;
    for (std::size_t point = 0; point < points_.size(); ++point) {
        const PointState& state = points_[point];
        if (state.outcome || state.written.empty())
            continue;
        const auto kept = std::find(state.written.begin(), state.written.end(), std::uint8_t{0});
        const auto runs = static_cast<int>(kept - state.written.begin());
        if (runs >= 2)
            summarize(static_cast<int>(point), runs, true);
    }
}

}  // namespace shell
