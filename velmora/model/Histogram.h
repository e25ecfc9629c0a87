// Histograms of response times: equal bins over a range, drawn as stepped points,
// one more point than bins.
#pragma once

#include "Engine.h"

#include <array>
#include <cstdint>
#include <span>

namespace velmora {

// X: lower edge of a bin; Y: share of the flow's results in it.
struct HistogramPoint {
    double X;
    double Y;
};

// Lower bound L and bin width h, the upper bound being L + HistogramBins h.
struct HistogramRange {
    double L;
    double h;
};

inline constexpr int HistogramBins = 30;
// Point k stands at the lower edge of bin k; the last one, at the upper bound.
inline constexpr int HistogramPointCount = HistogramBins + 1;

using SortedFlow = std::span<const std::int32_t, TasksPerFlow>;
using Histogram = std::array<HistogramPoint, HistogramPointCount>;

// x lies strictly within 0.00009 of y.
bool AlmostEqual(double x, double y);

HistogramRange FlowRange(SortedFlow values);
HistogramRange CommonRange(SortedFlow values1, SortedFlow values2, SortedFlow values3);

// values must be sorted ascending; a result on a bin edge counts in the lower bin.
Histogram BuildHistogram(SortedFlow values, double L, double h);

// One flow's summary from its sorted results. Percentiles by nearest rank: the
// p-th is the value at rank ceil(p / 100 * n), counted from 1; the median is the
// mean of the two middle values.
struct FlowSummary {
    double mean;
    double median;
    std::int32_t percentile90;
    std::int32_t percentile95;
    std::int32_t min;
    std::int32_t max;
};
FlowSummary SummarizeFlow(SortedFlow sorted);

// The whole ticks that a bin from `lower` to `upper` can hold, as BuildHistogram
// counts them: the first bin of a range includes its lower edge, the others do
// not, and every bin includes its upper edge. Empty when first > last.
struct TickSpan {
    std::int64_t first;
    std::int64_t last;
};
TickSpan BinTicks(double lower, double upper, bool firstBin);

}  // namespace velmora
