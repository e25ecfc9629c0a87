// A series as the windows and the command lines run it, whatever its model:
// what the series window asks of it, and the part every model's series shares,
// its points on worker threads.
#pragma once

#include "ParallelSeries.h"
#include "Series.h"

#include <QColor>
#include <QFuture>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLocale;
class QThreadPool;

namespace shell {

// One line of a sweep's chart: a statistic's mean and interval at each value.
struct SweepLine {
    QString name;
    QColor color;
    std::vector<double> values;
    std::vector<Estimate> estimates;
};

// A series as the window runs and shows it, whatever the model.
class SeriesJob {
public:
    virtual ~SeriesJob() = default;
    virtual QFuture<void> start(QThreadPool* pool) = 0;
    virtual void stop() = 0;
    virtual std::int64_t runsDone() const = 0;
    virtual std::int64_t runsTotal() const = 0;
    // Once finished:
    virtual void rethrowFailure() const = 0;
    virtual int pointsKept() const = 0;
    virtual int pointsTotal() const = 0;
    virtual QStringList tableHeader() const = 0;
    virtual std::vector<QStringList> tableRows(const QLocale& locale) const = 0;
    // The chart of a sweep for one of the program's chart statistics.
    virtual std::vector<SweepLine> sweepLines(int statistic) const = 0;
    // What the command line prints for the same series.
    virtual std::string csv() const = 0;
};

// What every model's series shares: its points, the one series or the values of
// a sweep, run on worker threads, and those whose runs all finished.
template <typename Run, typename Point, typename Workspace>
class SweptSeries : public SeriesJob {
public:
    using Runner = ParallelSeries<Run, Point, Workspace>;

    // values: the sweep's values, none without a sweep.
    SweptSeries(std::vector<double> values, int runs, typename Runner::RunFunction run,
                typename Runner::SummarizeFunction summarize)
        : values_(std::move(values))
        , runs_(runs)
        , series_(pointCount(), runs, std::move(run), std::move(summarize))
    {
    }

    QFuture<void> start(QThreadPool* pool) override { return series_.start(pool); }
    void stop() override { series_.stop(); }
    std::int64_t runsDone() const override { return series_.runsDone(); }
    std::int64_t runsTotal() const override { return series_.runsTotal(); }
    int pointsKept() const override
    {
        const auto results = series_.results();
        return static_cast<int>(
            std::count_if(results.begin(), results.end(), [](const auto& point) { return point.has_value(); }));
    }
    int pointsTotal() const override { return pointCount(); }

protected:
    // The points whose runs all finished, in the sweep's order, each made a Kept
    // from its value (none without a sweep) and its summary.
    template <typename Kept>
    std::vector<Kept> keptPoints() const
    {
        std::vector<Kept> points;
        const auto results = series_.results();
        for (std::size_t point = 0; point < results.size(); ++point) {
            if (results[point])
                points.push_back({swept() ? std::optional(values_[point]) : std::nullopt, *results[point]});
        }
        return points;
    }

    int pointCount() const { return std::max<int>(1, static_cast<int>(values_.size())); }
    bool swept() const { return !values_.empty(); }
    double valueAt(int point) const { return values_[static_cast<std::size_t>(point)]; }
    int runs() const { return runs_; }
    std::optional<SeriesFailure> failure() const { return series_.failure(); }

private:
    std::vector<double> values_;
    int runs_;
    Runner series_;
};

}  // namespace shell
