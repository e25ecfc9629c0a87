// The stages of a run of the queueing network, for tests and benchmarks that
// look inside a run: the tables of one run, each step on them, and a run with
// its sort passed in. The programs need only Engine.h.
#pragma once

#include "Engine.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora {

// One stream of tasks at one server, a row per task in the stream's order.
struct TTaskTable {
    static constexpr int Capacity = 3001;
    std::array<Tick, Capacity> Arrival;
    std::array<Tick, Capacity> Departure;
    std::array<Tick, Capacity> Service;
    std::array<Tick, Capacity> Flow;
    std::array<Tick, Capacity> Wait;
    std::array<Tick, Capacity> NextService;  // processing time at the next server
    std::array<Tick, Capacity> NextWait;     // wait at the next server
};

// The tables of one run.
struct TRunWorkspace {
    TTaskTable Flow1, Flow2, Flow3, Merged12, MergedAll;
};

// Generates the three flows and serves them at every server: afterwards MergedAll
// holds the order of service at the final server. Draws exactly as RunModel does.
void SimulateNetwork(TRunWorkspace& workspace, const Generator& nextArrivalInterval,
                     const Generator& nextProcessingTime);

// The same run with the sort passed in, so that sorts can be compared on identical runs.
using ResultSorter = void (*)(std::span<std::int32_t, 1000>);
TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime, ResultSorter sort);

// Arrival and Service of rows 0..999: the first task arrives at the first draw x,
// every next one m*x + 1 ticks after its predecessor; processing is a draw + 1.
void GenerateFlow(TTaskTable& table, int multiplier, const Generator& nextArrivalInterval,
                  const Generator& nextProcessingTime);

// First-come-first-served waits of one server, in row order.
void SingleServerWaits(std::span<const Tick> arrival, std::span<const Tick> service, std::span<Tick> wait);

// Order of service where `high` has priority and `low` is fitted into its idle
// periods. Writes rows 0..highCount+lowCount-1 of `out` and low.NextWait.
// highTag tags every high row; without it each high row keeps its own Flow.
void MergeByPriority(const TTaskTable& high, int highCount, std::optional<std::int32_t> highTag, TTaskTable& low,
                     int lowCount, std::int32_t lowTag, TTaskTable& out);

// Response time of every task, in each flow's task order.
TResultArrays ComputeFlowResults(const TTaskTable& mergedAll, std::span<const Tick> arrival1,
                                 std::span<const Tick> arrival2, std::span<const Tick> arrival3);

void SortAscending(std::span<std::int32_t, 1000> values);

}  // namespace velmora
