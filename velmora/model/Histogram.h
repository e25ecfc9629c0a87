// Histograms of response times: 30 equal bins over a range, drawn as 31 stepped points.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmora {

// X: lower edge of a bin; Y: share of the 1000 results in it.
struct HistogramPoint {
    double X;
    double Y;
};

// Lower bound L and bin width h, the upper bound being L + 30 h.
struct HistogramRange {
    double L;
    double h;
};

inline constexpr int HistogramPointCount = 31;

// x lies strictly within 0.00009 of y.
bool AlmostEqual(double x, double y);

HistogramRange FlowRange(std::span<const std::int32_t, 1000> values);
HistogramRange CommonRange(std::span<const std::int32_t, 1000> values1, std::span<const std::int32_t, 1000> values2,
                           std::span<const std::int32_t, 1000> values3);

// values must be sorted ascending; a result on a bin edge counts in the lower bin.
std::array<HistogramPoint, 31> BuildHistogram(std::span<const std::int32_t, 1000> values, double L, double h);

// One flow's summary from its 1000 sorted results. Percentiles by nearest rank:
// the p-th is the value at rank ceil(p / 100 * 1000), counted from 1; the median
// is the mean of the two middle values.
struct FlowSummary {
    double mean;
    double median;
    std::int32_t percentile90;
    std::int32_t percentile95;
    std::int32_t min;
    std::int32_t max;
};
FlowSummary SummarizeFlow(std::span<const std::int32_t, 1000> sorted);

// The whole ticks that a bin from `lower` to `upper` can hold, as BuildHistogram
// counts them: the first bin of a range includes its lower edge, the others do
// not, and every bin includes its upper edge. Empty when first > last.
struct TickSpan {
    std::int64_t first;
    std::int64_t last;
};
TickSpan BinTicks(double lower, double upper, bool firstBin);

}  // namespace velmora
