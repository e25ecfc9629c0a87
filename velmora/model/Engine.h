// The queueing network of velmora: three flows of tasks through their entry
// servers, a shared server (flow 1 has priority over flow 2) and a final server
// (flows 1 and 2 have priority over flow 3). Times are whole ticks.
#pragma once

#include "shell/core/Exception.h"

#include <array>
#include <cstdint>
#include <functional>

namespace velmora {

using Tick = std::int32_t;
using Generator = std::function<std::int32_t()>;

inline constexpr int TasksPerFlow = 1000;
inline constexpr int FlowCount = 3;
// Every task of every flow passes the final server once.
inline constexpr int TaskCount = FlowCount * TasksPerFlow;

struct TResultArrays {
    std::array<std::int32_t, TasksPerFlow> Result1, Result2, Result3;
};

// Times that left the signed 32-bit range. It tells which side's draws drove
// them there, so that the caller can name the settings that bring them back.
class TimeRangeError : public shell::Exception {
public:
    TimeRangeError(bool arrival, bool processing);
    bool arrival() const noexcept { return arrival_; }
    bool processing() const noexcept { return processing_; }

private:
    bool arrival_;
    bool processing_;
};

// Response times of the three flows, each sorted ascending. Draws an arrival
// interval for every task and a processing time for every task at every server
// it passes; a draw below 0 counts as 0, so no time is ever negative. Throws TimeRangeError when a time leaves the
// signed 32-bit range, and lets any exception of a generator through.
TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime);

}  // namespace velmora
