// Both files are written row by row through shell::Csv.
#include "Export.h"

#include "shell/core/Csv.h"

namespace velmora {

std::string ResponseTimesCsv(const TResultArrays& results)
{
    shell::Csv csv{"flow", "response_time"};
    int flow = 1;
    for (const auto* values : {&results.Result1, &results.Result2, &results.Result3}) {
        for (const std::int32_t value : *values)
            csv.row(flow, value);
        ++flow;
    }
    return csv.text();
}

std::string HistogramCsv(std::span<const FlowHistogram> flows)
{
    shell::Csv csv{"flow", "x", "y"};
    for (const FlowHistogram& histogram : flows) {
        for (const HistogramPoint& point : histogram.points)
            csv.row(histogram.flow, point.X, point.Y);
    }
    return csv.text();
}

}  // namespace velmora
