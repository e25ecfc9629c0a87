// One forward sweep over sorted results fills all bins.
#include "Histogram.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velmora {

bool AlmostEqual(double x, double y)
{
    return (y - 0.0001) < (x - 0.00001) && (y + 0.0001) > (x + 0.00001);
}

HistogramRange FlowRange(std::span<const std::int32_t, 1000> values)
{
    const double lower = values[0];
    return {lower, (static_cast<double>(values[999]) - lower) / 30.0};
}

HistogramRange CommonRange(std::span<const std::int32_t, 1000> values1, std::span<const std::int32_t, 1000> values2,
                           std::span<const std::int32_t, 1000> values3)
{
    const double lower = std::min({values1[0], values2[0], values3[0]});
    const double upper = std::max({values1[999], values2[999], values3[999]});
    return {lower, (upper - lower) / 30.0};
}

std::array<HistogramPoint, 31> BuildHistogram(std::span<const std::int32_t, 1000> values, double L, double h)
{
    std::array<HistogramPoint, 31> points;
    std::size_t cursor = 0;
    for (int k = 1; k <= HistogramPointCount; ++k) {
        // Each edge from L and k, so that rounding does not accumulate over the bins.
        const double edge = L + k * h;
        int count = 0;
        while (cursor < values.size() && (values[cursor] < edge || AlmostEqual(values[cursor], edge))) {
            ++count;
            ++cursor;
        }
        points[k - 1] = {L + (k - 1) * h, count * 0.001};
    }
    return points;
}

FlowSummary SummarizeFlow(std::span<const std::int32_t, 1000> sorted)
{
    const std::int64_t sum = std::accumulate(sorted.begin(), sorted.end(), std::int64_t{0});
    // Rank ceil(p / 100 * 1000) is 10 p for whole percentages.
    const auto percentile = [&sorted](int p) { return sorted[static_cast<std::size_t>(10 * p - 1)]; };
    return {static_cast<double>(sum) / 1000.0,
            (static_cast<double>(sorted[499]) + sorted[500]) / 2.0,
            percentile(90),
            percentile(95),
            sorted[0],
            sorted[999]};
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
