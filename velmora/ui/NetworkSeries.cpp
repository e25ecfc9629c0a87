// A failure is named after the point it happened at: in a sweep, the varied
// parameter's name carries the value that failed.
#include "NetworkSeries.h"

#include "shell/Controls.h"
#include "shell/Convert.h"

namespace velmora {

NetworkSeries::NetworkSeries(SeriesRequest request, ParameterNames names)
    : request_(std::move(request))
    , names_(std::move(names))
    , values_(request_.sweep ? shell::SweepValues(request_.sweep->from, request_.sweep->to, request_.sweep->points)
                             : std::vector<double>{})
    , series_(
          std::max<int>(1, static_cast<int>(values_.size())), request_.runs,
          [this](int point, int run, TRunWorkspace& workspace) {
              return RunOfSeries(draws_[static_cast<std::size_t>(point)], request_.seed,
                                 static_cast<std::uint64_t>(run), workspace);
          },
          [](int, std::span<const RunStatistics> runs) { return EstimatePoint(runs); })
{
    const int points = std::max<int>(1, static_cast<int>(values_.size()));
    for (int point = 0; point < points; ++point) {
        try {
            draws_.push_back(CheckedDraws(settingsAt(point)));
        } catch (...) {
            rethrowNamed(point, std::current_exception());
        }
    }
}

SeriesSettings NetworkSeries::settingsAt(int point) const
{
    if (!request_.sweep)
        return request_.settings;
    return WithParameter(request_.settings, request_.sweep->parameter, values_[static_cast<std::size_t>(point)]);
}

void NetworkSeries::rethrowFailure() const
{
    if (const auto failure = series_.failure())
        rethrowNamed(failure->point, failure->error);
}

void NetworkSeries::rethrowNamed(int point, const std::exception_ptr& error) const
{
    const auto name = [this, point](Side side, int parameter) {
        std::string named = names_(side, parameter);
        const std::optional<SweepRequest>& sweep = request_.sweep;
        if (sweep && sweep->parameter.side == side && sweep->parameter.parameter == parameter)
            named += " = " + shell::FloatToStr(values_[static_cast<std::size_t>(point)], ".");
        return named;
    };
    try {
        std::rethrow_exception(error);
    } catch (const TimeRangeError& failure) {
        const SeriesSettings settings = settingsAt(point);
        throw shell::Exception(TimeRangeMessage(failure, settings.arrival.kind, settings.processing.kind, name));
    } catch (const SettingError& failure) {
        throw shell::fieldError(QString::fromStdString(name(failure.side(), failure.parameter())), failure.message());
    }
}

std::vector<SeriesPoint> NetworkSeries::points() const
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

}  // namespace velmora
