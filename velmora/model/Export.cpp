// CSV rows are built with std::to_chars, which never looks at a locale.
#include "Export.h"

#include <charconv>

namespace velmora {
namespace {

template <typename Number>
void append(std::string& text, Number value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

constexpr const char* lineEnd = "\r\n";

}  // namespace

std::string ResponseTimesCsv(const TResultArrays& results)
{
    std::string text = "flow,response_time";
    text += lineEnd;
    int flow = 1;
    for (const auto* values : {&results.Result1, &results.Result2, &results.Result3}) {
        for (const std::int32_t value : *values) {
            append(text, flow);
            text += ',';
            append(text, value);
            text += lineEnd;
        }
        ++flow;
    }
    return text;
}

std::string HistogramCsv(std::span<const FlowHistogram> flows)
{
    std::string text = "flow,x,y";
    text += lineEnd;
    for (const FlowHistogram& histogram : flows) {
        for (const HistogramPoint& point : histogram.points) {
            append(text, histogram.flow);
            text += ',';
            append(text, point.X);
            text += ',';
            append(text, point.Y);
            text += lineEnd;
        }
    }
    return text;
}

}  // namespace velmora
