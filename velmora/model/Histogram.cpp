// One forward sweep over sorted results fills all bins.
#include "Histogram.h"

#include "shell/core/Series.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velmora {

bool AlmostEqual(double x, double y)
{
    return (y - 0.0001) < (x - 0.00001) && (y + 0.0001) > (x + 0.00001);
}

HistogramRange FlowRange(SortedFlow values)
{
    const double lower = values.front();
    return {lower, (static_cast<double>(values.back()) - lower) / HistogramBins};
}

HistogramRange CommonRange(SortedFlow values1, SortedFlow values2, SortedFlow values3)
{
    const double lower = std::min({values1.front(), values2.front(), values3.front()});
    const double upper = std::max({values1.back(), values2.back(), values3.back()});
    return {lower, (upper - lower) / HistogramBins};
}

Histogram BuildHistogram(SortedFlow values, double L, double h)
{
    Histogram points;
    std::size_t cursor = 0;
    for (int k = 1; k <= HistogramPointCount; ++k) {
        // Each edge from L and k, so that rounding does not accumulate over the bins.
        const double edge = L + k * h;
        int count = 0;
        while (cursor < values.size() && (values[cursor] < edge || AlmostEqual(values[cursor], edge))) {
            ++count;
            ++cursor;
        }
        points[k - 1] = {L + (k - 1) * h, count * (1.0 / TasksPerFlow)};
    }
    return points;
}

FlowSummary SummarizeFlow(SortedFlow sorted)
{
    const std::int64_t sum = std::accumulate(sorted.begin(), sorted.end(), std::int64_t{0});
    const std::span<const std::int32_t> values = sorted;
    return {static_cast<double>(sum) / TasksPerFlow, shell::Median(values), shell::NearestRank(values, 90),
            shell::NearestRank(values, 95),          sorted.front(),        sorted.back()};
}

namespace {

// The largest whole tick that a sweep counts at or below `edge`.
std::int64_t lastTickAt(double edge)
{
    auto tick = static_cast<std::int64_t>(std::floor(edge));
    if (AlmostEqual(static_cast<double>(tick + 1), edge))
        ++tick;
    return tick;
}

}  // namespace

TickSpan BinTicks(double lower, double upper, bool firstBin)
{
    const std::int64_t first = firstBin ? static_cast<std::int64_t>(std::ceil(lower)) : lastTickAt(lower) + 1;
    return {first, lastTickAt(upper)};
}

}  // namespace velmora
