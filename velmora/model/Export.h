// Results as text for other programs: CSV after RFC 4180 (comma separator, CRLF
// line ends, a header row first), numbers in the C locale whatever the user's
// locale, so that scripts and spreadsheets read them alike.
#pragma once

#include "Engine.h"
#include "Histogram.h"

#include <array>
#include <span>
#include <string>

namespace velmora {

// Header "flow,response_time", then 3000 rows: flow 1, then 2, then 3, each in
// the ascending order of its results.
std::string ResponseTimesCsv(const TResultArrays& results);

// The points of one shown flow's histogram.
struct FlowHistogram {
    int flow;
    std::array<HistogramPoint, 31> points;
};

// Header "flow,x,y", then 31 rows per flow in the order given; x and y in the
// shortest form that reads back as the same double.
std::string HistogramCsv(std::span<const FlowHistogram> flows);

}  // namespace velmora
