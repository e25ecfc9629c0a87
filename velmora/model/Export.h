// Results as CSV for other programs (see shell::Csv).
#pragma once

#include "Engine.h"
#include "Histogram.h"

#include <array>
#include <span>
#include <string>

namespace velmora {

// Header "flow,response_time", then a row per task (TaskCount of them): flow 1,
// then 2, then 3, each in the ascending order of its results.
std::string ResponseTimesCsv(const TResultArrays& results);

// The points of one shown flow's histogram.
struct FlowHistogram {
    int flow;
    Histogram points;
};

// Header "flow,x,y", then a row per point of each flow in the order given.
std::string HistogramCsv(std::span<const FlowHistogram> flows);

}  // namespace velmora
