// Whole runs whose generators return arbitrary 32-bit values taken from the input,
// which repeats as often as the run needs.
#include "FuzzInput.h"

#include "shell/core/Exception.h"
#include "velmora/model/Engine.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    std::vector<std::int32_t> values;
    while (!input.exhausted())
        values.push_back(input.take<std::int32_t>());
    if (values.empty())
        return 0;
    // Arrival draws come from the front of the values, processing draws from the back.
    std::size_t arrivals = 0;
    std::size_t processing = 0;
    const velmora::Generator arrival = [&] { return values[arrivals++ % values.size()]; };
    const velmora::Generator process = [&] { return values[values.size() - 1 - processing++ % values.size()]; };
    try {
        const velmora::TResultArrays results = velmora::RunModel(arrival, process);
        for (const auto* result : {&results.Result1, &results.Result2, &results.Result3}) {
            if (!std::is_sorted(result->begin(), result->end()))
                __builtin_trap();
        }
    } catch (const shell::Exception&) {
    }
    return 0;
}
