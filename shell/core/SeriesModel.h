// What a series of runs repeats, whatever its model: the points it makes, the
// statistics each run yields and how a run is made, as plain values and
// functions without threads or windows; and what a finished point reports.
#pragma once

#include "Series.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace shell {

// A worker's scratch space, kept for every run it makes.
class SeriesWorkspace {
public:
    virtual ~SeriesWorkspace() = default;
};

// The statistics of a point's runs, a row of `statistics` values per run, in
// run order from run 0.
struct RunTable {
    std::span<const double> values;
    int statistics;

    int runs() const { return statistics == 0 ? 0 : static_cast<int>(values.size()) / statistics; }
    double at(int run, int statistic) const
    {
        return values[static_cast<std::size_t>(run) * static_cast<std::size_t>(statistics)
                      + static_cast<std::size_t>(statistic)];
    }
    // One statistic over the runs, in run order.
    std::vector<double> column(int statistic) const;
    // The first `runs` runs.
    RunTable first(int runs) const
    {
        return {values.first(static_cast<std::size_t>(runs) * static_cast<std::size_t>(statistics)), statistics};
    }
};

// What a point of a finished series reports.
struct PointSummary {
    int runs = 0;                     // it rests on runs 0 ... runs - 1
    std::vector<Estimate> estimates;  // each statistic's mean with its 95 % interval
    std::vector<double> extras;       // whatever else the model reports of the runs
};

// A finished point: the swept value (none without a sweep), its summary, and
// its runs' rows (runs × statistics) when the series kept them.
struct SeriesPoint {
    std::optional<double> value;
    PointSummary summary;
    std::vector<double> rows = {};
};

// A run of a series that failed, or a point whose settings the model refused
// before any run (then `run` is none).
struct SeriesFailure {
    int point;
    std::optional<std::uint64_t> run;
    std::exception_ptr error;
};

// A failure as a front end reports it: the message, naming parameters the front
// end's way, and the key of the parameter to correct (empty when none is to blame).
struct NamedError {
    std::string message;
    std::string key;
};

// How a front end names the parameter of a key in its messages.
using ParameterNamer = std::function<std::string(const std::string& key)>;

// One parameter varied over values, a point each.
struct Sweep {
    std::string key;
    std::vector<double> values;
};

// What a series repeats. Implementations are immutable once made, so that any
// number of workers may call them at once.
class SeriesModel {
public:
    explicit SeriesModel(std::uint64_t seed, std::optional<Sweep> sweep);
    virtual ~SeriesModel() = default;

    std::uint64_t seed() const { return seed_; }
    const std::optional<Sweep>& sweep() const { return sweep_; }
    // One point without a sweep, else one a value.
    int pointCount() const;
    // The swept value of a point; none without a sweep.
    std::optional<double> valueAt(int point) const;

    // The values a run yields, and how messages name each ("flow 3 p95").
    virtual int statisticCount() const = 0;
    virtual std::string statisticLabel(int statistic) const = 0;
    // None by default: a model whose runs need scratch space makes it here.
    virtual std::unique_ptr<SeriesWorkspace> makeWorkspace() const;
    // Makes run `run` of `point`, writing its statisticCount() values to `out`.
    virtual void run(int point, std::uint64_t run, SeriesWorkspace* workspace, std::span<double> out) const = 0;
    // Makes runs first ... first + count - 1 of `point`, run first + i writing to
    // its row of `out`, and counts each in `done` as it is written; a failing run
    // throws with `done` at its index in the chunk. By default run by run.
    virtual void runChunk(int point, std::uint64_t first, int count, SeriesWorkspace* workspace, std::span<double> out,
                          int& done) const;
    // What a point reports of its runs beyond each statistic's estimate.
    virtual std::vector<double> extras(const RunTable& runs) const;

    // The first point whose settings the model refuses, checked before any run.
    virtual std::optional<SeriesFailure> refusedPoint() const;
    // A failure's message. By default a KeyedError names its parameter, a swept
    // one with the point's value ("name = value: message"); any other error at a
    // swept point is put down to the swept parameter; without a sweep it keeps
    // its own message.
    virtual NamedError describe(const SeriesFailure& failure, const ParameterNamer& name) const;

protected:
    // The name of `key` at `point`: with " = value" when the sweep varies it.
    std::string nameAt(int point, const std::string& key, const ParameterNamer& name) const;

private:
    std::uint64_t seed_;
    std::optional<Sweep> sweep_;
};

// The summary of a point's runs: every statistic's mean and interval over the
// runs in run order, and the model's extras. Needs at least two runs.
PointSummary Summarize(const SeriesModel& model, const RunTable& runs);

// Paired differences: every statistic of `point` less that of `baseline`, run
// by run over the runs both made (run r here less run r there, which drew the
// same numbers), with the mean and 95 % interval of those differences; `runs`
// counts the pairs. Both points' rows must have been kept.
SeriesPoint PairedDifferences(const SeriesPoint& point, const SeriesPoint& baseline, int statistics);

// The point whose mean of `statistic` is the smallest (the first of equals).
std::size_t Cheapest(const std::vector<SeriesPoint>& points, int statistic);

}  // namespace shell
