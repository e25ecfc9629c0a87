// Each point's input is made once per run from the request, which never changes
// while the series runs.
#include "WarehouseSeries.h"

#include "shell/Convert.h"
#include "shell/Exception.h"

namespace kestrin {
namespace {

std::string valueText(double value)
{
    return shell::FloatToStr(value, ".");
}

}  // namespace

WarehouseSeries::WarehouseSeries(SeriesRequest request)
    : request_(std::move(request))
    , values_(request_.sweep ? shell::SweepValues(request_.sweep->from, request_.sweep->to, request_.sweep->points)
                             : std::vector<double>{})
    , series_(
          std::max<int>(1, static_cast<int>(values_.size())), request_.runs,
          [this](int point, int run, NoWorkspace&) {
              return RunOfSeries(inputAt(point), request_.seed, static_cast<std::uint64_t>(run));
          },
          [](int, std::span<const double> runs) { return SummarizeL(runs); })
{
}

TWarehouseInput WarehouseSeries::inputAt(int point) const
{
    if (!request_.sweep)
        return request_.input;
    return WithQuantity(request_.input, request_.sweep->varied, values_[static_cast<std::size_t>(point)]);
}

void WarehouseSeries::rethrowFailure() const
{
    const auto failure = series_.failure();
    if (!failure)
        return;
    if (!request_.sweep)
        std::rethrow_exception(failure->error);
    try {
        std::rethrow_exception(failure->error);
    } catch (const shell::Exception& error) {
        throw shell::Exception(request_.sweep->name + " = "
                               + valueText(values_[static_cast<std::size_t>(failure->point)]) + ": " + error.message());
    }
}

std::vector<SeriesPoint> WarehouseSeries::points() const
{
    std::vector<SeriesPoint> points;
    const auto results = series_.results();
    for (std::size_t point = 0; point < results.size(); ++point) {
        if (!results[point])
            continue;
        std::optional<double> value;
        if (request_.sweep)
            value = values_[point];
        points.push_back({value, *results[point]});
    }
    return points;
}

}  // namespace kestrin
