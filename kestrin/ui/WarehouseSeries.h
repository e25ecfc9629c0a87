// A series of warehouse runs on worker threads, as the command line and the
// series window both run it.
#pragma once

#include "kestrin/model/Series.h"

#include "shell/ParallelSeries.h"

#include <QFuture>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QThreadPool;

namespace kestrin {

// One quantity varied over `points` evenly spaced values from `from` to `to`;
// `name` is how messages name it.
struct SweepRequest {
    WarehouseSweep varied;
    double from;
    double to;
    int points;
    std::string name;
};

struct SeriesRequest {
    TWarehouseInput input;
    int runs;
    std::uint64_t seed;
    std::optional<SweepRequest> sweep;
};

class WarehouseSeries {
public:
    explicit WarehouseSeries(SeriesRequest request);

    QFuture<void> start(QThreadPool* pool) { return series_.start(pool); }
    void stop() { series_.stop(); }
    bool stopped() const { return series_.stopped(); }
    std::int64_t runsDone() const { return series_.runsDone(); }
    std::int64_t runsTotal() const { return series_.runsTotal(); }
    const SeriesRequest& request() const { return request_; }

    // Once finished: throws the first run's failure, if any; in a sweep its
    // message names the value it failed at.
    void rethrowFailure() const;
    // Once finished: the points whose runs all finished, in sweep order.
    std::vector<SeriesPoint> points() const;

private:
    struct NoWorkspace { };

    TWarehouseInput inputAt(int point) const;

    SeriesRequest request_;
    std::vector<double> values_;
    shell::ParallelSeries<double, LSummary, NoWorkspace> series_;
};

}  // namespace kestrin
