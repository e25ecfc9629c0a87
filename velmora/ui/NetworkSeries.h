// A series of runs of the queueing network on worker threads, as the command
// line and the series window both run it: every point's settings checked before
// anything runs, failures turned into messages that name what to change.
#pragma once

#include "velmora/model/Series.h"

#include "shell/ParallelSeries.h"

#include <QFuture>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QThreadPool;

namespace velmora {

// One parameter varied over `points` evenly spaced values from `from` to `to`.
struct SweepRequest {
    SweepParameter parameter;
    double from;
    double to;
    int points;
};

struct SeriesRequest {
    SeriesSettings settings;
    int runs;
    std::uint64_t seed;
    std::optional<SweepRequest> sweep;
};

// How a front end names a parameter of a side in its messages.
using ParameterNames = std::function<std::string(Side side, int parameter)>;

class NetworkSeries {
public:
    // Throws shell::Exception, naming the parameter, when a point's settings
    // cannot be drawn from.
    NetworkSeries(SeriesRequest request, ParameterNames names);

    QFuture<void> start(QThreadPool* pool) { return series_.start(pool); }
    void stop() { series_.stop(); }
    bool stopped() const { return series_.stopped(); }
    std::int64_t runsDone() const { return series_.runsDone(); }
    std::int64_t runsTotal() const { return series_.runsTotal(); }
    const SeriesRequest& request() const { return request_; }

    // Once finished: throws the first run's failure, if any, as a message that
    // names what to change.
    void rethrowFailure() const;
    // Once finished: the points whose runs all finished, in sweep order.
    std::vector<SeriesPoint> points() const;

private:
    SeriesSettings settingsAt(int point) const;
    [[noreturn]] void rethrowNamed(int point, const std::exception_ptr& error) const;

    SeriesRequest request_;
    ParameterNames names_;
    std::vector<double> values_;
    std::vector<SeriesDraws> draws_;
    shell::ParallelSeries<RunStatistics, PointEstimates, TRunWorkspace> series_;
};

}  // namespace velmora
