// The defaults every model's series shares: a point a swept value, runs made one
// after another, failures named after the parameter they came from.
#include "SeriesModel.h"

#include "Convert.h"
#include "Exception.h"

#include <algorithm>

namespace shell {

std::vector<double> RunTable::column(int statistic) const
{
    std::vector<double> ofRuns(static_cast<std::size_t>(runs()));
    for (int run = 0; run < runs(); ++run)
        ofRuns[static_cast<std::size_t>(run)] = at(run, statistic);
    return ofRuns;
}

SeriesModel::SeriesModel(std::uint64_t seed, std::optional<Sweep> sweep)
    : seed_(seed)
    , sweep_(std::move(sweep))
{
}

int SeriesModel::pointCount() const
{
    return sweep_ ? static_cast<int>(sweep_->values.size()) : 1;
}

std::optional<double> SeriesModel::valueAt(int point) const
{
    if (!sweep_)
        return std::nullopt;
    return sweep_->values[static_cast<std::size_t>(point)];
}

std::unique_ptr<SeriesWorkspace> SeriesModel::makeWorkspace() const
{
    return nullptr;
}

void SeriesModel::runChunk(int point, std::uint64_t first, int count, SeriesWorkspace* workspace, std::span<double> out,
                           int& done) const
{
    const auto statistics = static_cast<std::size_t>(statisticCount());
    for (; done < count; ++done)
        run(point, first + static_cast<std::uint64_t>(done), workspace,
            out.subspan(static_cast<std::size_t>(done) * statistics, statistics));
}

std::vector<double> SeriesModel::extras(const RunTable&) const
{
    return {};
}

std::optional<SeriesFailure> SeriesModel::refusedPoint() const
{
    return std::nullopt;
}

std::string SeriesModel::nameAt(int point, const std::string& key, const ParameterNamer& name) const
{
    std::string named = name(key);
    if (sweep_ && sweep_->key == key)
        named += " = " + FloatToStr(*valueAt(point), ".");
    return named;
}

NamedError SeriesModel::describe(const SeriesFailure& failure, const ParameterNamer& name) const
{
    try {
        std::rethrow_exception(failure.error);
    } catch (const KeyedError& error) {
        return {nameAt(failure.point, error.key(), name) + ": " + error.message(), error.key()};
    } catch (const std::exception& error) {
        if (!sweep_)
            return {error.what(), {}};
        return {nameAt(failure.point, sweep_->key, name) + ": " + error.what(), sweep_->key};
    }
}

PointSummary Summarize(const SeriesModel& model, const RunTable& runs)
{
    PointSummary summary{runs.runs(), {}, model.extras(runs)};
    for (int statistic = 0; statistic < runs.statistics; ++statistic)
        summary.estimates.push_back(MeanWithInterval(runs.column(statistic)));
    return summary;
}

}  // namespace shell

namespace shell {

SeriesPoint PairedDifferences(const SeriesPoint& point, const SeriesPoint& baseline, int statistics)
{
    const RunTable here{point.rows, statistics};
    const RunTable there{baseline.rows, statistics};
    const int pairs = std::min(here.runs(), there.runs());
    SeriesPoint difference{point.value, {pairs, {}, {}}};
    std::vector<double> values(static_cast<std::size_t>(pairs));
    for (int statistic = 0; statistic < statistics; ++statistic) {
        for (int run = 0; run < pairs; ++run)
            values[static_cast<std::size_t>(run)] = here.at(run, statistic) - there.at(run, statistic);
        difference.summary.estimates.push_back(MeanWithInterval(values));
    }
    return difference;
}

std::size_t Cheapest(const std::vector<SeriesPoint>& points, int statistic)
{
    const auto mean = [statistic](const SeriesPoint& point) {
        return point.summary.estimates[static_cast<std::size_t>(statistic)].mean;
    };
    return static_cast<std::size_t>(
        std::min_element(points.begin(), points.end(),
                         [&mean](const SeriesPoint& a, const SeriesPoint& b) { return mean(a) < mean(b); })
        - points.begin());
}

}  // namespace shell
