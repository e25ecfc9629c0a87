// The queueing network of velmora: three flows of 1000 tasks through their entry
// servers, a shared server (flow 1 has priority over flow 2) and a final server
// (flows 1 and 2 have priority over flow 3). Times are whole ticks.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace velmora {

using Tick = std::int32_t;
using Generator = std::function<std::int32_t()>;

inline constexpr int TasksPerFlow = 1000;

struct TResultArrays {
    std::array<std::int32_t, 1000> Result1, Result2, Result3;
};

// Response times of the three flows, each sorted ascending. Draws 3000 arrival
// intervals and 8000 processing times. Throws shell::Exception when a time leaves
// the signed 32-bit range, and lets any exception of a generator through.
TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime);

}  // namespace velmora
