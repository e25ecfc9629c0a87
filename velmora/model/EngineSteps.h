// The stages of a run of the queueing network, for code that looks inside a run
// or runs many of them: the tables of one run, each step on them, and a run
// whose draws are any callables, so that a series inlines its own sources, in a
// workspace whose tables a window can read afterwards.
#pragma once

#include "Engine.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>

namespace velmora {

// One stream of tasks at one server, a row per task in the stream's order; the
// final server's stream holds every task, and one row more is never used.
struct TTaskTable {
    static constexpr int Capacity = TaskCount + 1;
    std::array<Tick, Capacity> Arrival;
    std::array<Tick, Capacity> Departure;
    std::array<Tick, Capacity> Service;
    std::array<std::int32_t, Capacity> Flow;  // the task's flow: 1, 2 or 3
    std::array<Tick, Capacity> Wait;
    std::array<Tick, Capacity> NextService;  // processing time at the next server
    std::array<Tick, Capacity> NextWait;     // wait at the next server
};

// The tables of one run. Every row a run reads it writes first, so one
// workspace serves run after run without clearing.
struct TRunWorkspace {
    TTaskTable Flow1, Flow2, Flow3, Merged12, MergedAll;
};

using FlowValues = std::span<std::int32_t, TasksPerFlow>;

// First-come-first-served waits of one server, in row order.
void SingleServerWaits(std::span<const Tick> arrival, std::span<const Tick> service, std::span<Tick> wait);

// Order of service where `high` has priority and `low` is fitted into its idle
// periods. Writes rows 0..highCount+lowCount-1 of `out` and low.NextWait.
// highTag tags every high row; without it each high row keeps its own Flow.
void MergeByPriority(const TTaskTable& high, int highCount, std::optional<std::int32_t> highTag, TTaskTable& low,
                     int lowCount, std::int32_t lowTag, TTaskTable& out);

// Response time of every task, from its arrival in its flow's table to its end
// at the final server, in each flow's task order.
void ComputeFlowResults(const TRunWorkspace& workspace, TResultArrays& results);

void SortAscending(FlowValues values);

// A draw below 0 counts as 0 wherever it becomes a time.
inline std::int32_t NotBelowZero(std::int32_t draw)
{
    return draw < 0 ? 0 : draw;
}

namespace detail {

inline constexpr std::int64_t tickMin = std::numeric_limits<Tick>::min();
inline constexpr std::int64_t tickMax = std::numeric_limits<Tick>::max();

// Throws TimeRangeError for a time made of an arrival part and a part of waits
// and processing, blaming the side whose part alone reaches half the range.
[[noreturn]] [[gnu::cold]] void TimeOutOfRange(std::int64_t arrivalPart, std::int64_t processingPart);

inline Tick arrivalTime(std::int64_t time)
{
    if (time > tickMax) [[unlikely]]
        TimeOutOfRange(time, 0);
    return static_cast<Tick>(time);
}

inline Tick processingTime(std::int32_t draw)
{
    const std::int64_t time = std::int64_t{NotBelowZero(draw)} + 1;
    if (time > tickMax) [[unlikely]]
        TimeOutOfRange(0, time);
    return static_cast<Tick>(time);
}

// The waits of a flow at its entry server, and those of all three flows.
void serveAtEntry(TTaskTable& table, int count);
void serveAtEntries(std::array<TTaskTable*, FlowCount> tables, int count);
void fillDepartures(TTaskTable& table, int count);
// The waits of a stream at the next server, as if it were served there alone.
void serveAlone(TTaskTable& table, int count);

}  // namespace detail

// Arrival and Service of one flow's rows: the first task arrives at the first
// draw x, every next one m*x + 1 ticks after its predecessor; processing is a
// draw + 1. Draws alternate: arrival, processing, arrival, processing, ...
template <typename Arrival, typename Processing>
void GenerateFlow(TTaskTable& table, int multiplier, Arrival&& nextArrivalInterval, Processing&& nextProcessingTime)
{
    // The last arrival stays in a register rather than coming back from memory.
    Tick arrival = NotBelowZero(nextArrivalInterval());
    table.Arrival[0] = arrival;
    table.Service[0] = detail::processingTime(nextProcessingTime());
    for (int i = 1; i < TasksPerFlow; ++i) {
        const std::int64_t interval = std::int64_t{multiplier} * NotBelowZero(nextArrivalInterval()) + 1;
        arrival = detail::arrivalTime(arrival + interval);
        table.Arrival[i] = arrival;
        table.Service[i] = detail::processingTime(nextProcessingTime());
    }
}

// Generates the three flows and serves them at every server: afterwards
// MergedAll holds the order of service at the final server.
template <typename Arrival, typename Processing>
void SimulateNetwork(TRunWorkspace& workspace, Arrival&& nextArrivalInterval, Processing&& nextProcessingTime)
{
    TTaskTable& flow1 = workspace.Flow1;
    TTaskTable& flow2 = workspace.Flow2;
    TTaskTable& flow3 = workspace.Flow3;
    TTaskTable& merged12 = workspace.Merged12;
    constexpr int n = TasksPerFlow;

    GenerateFlow(flow1, 4, nextArrivalInterval, nextProcessingTime);
    GenerateFlow(flow2, 2, nextArrivalInterval, nextProcessingTime);
    GenerateFlow(flow3, 1, nextArrivalInterval, nextProcessingTime);
    detail::serveAtEntries({&flow1, &flow2, &flow3}, n);

    // Shared server: flow 1 is served as if flow 2 did not exist.
    for (int k = 0; k < n; ++k) {
        flow1.NextService[k] = detail::processingTime(nextProcessingTime());
        flow2.NextService[k] = detail::processingTime(nextProcessingTime());
    }
    detail::fillDepartures(flow1, n);
    detail::fillDepartures(flow2, n);
    detail::serveAlone(flow1, n);
    MergeByPriority(flow1, n, 1, flow2, n, 2, merged12);

    // Final server: the stream of flows 1 and 2 is served as if flow 3 did not exist.
    for (int k = 0; k < n; ++k)
        flow3.NextService[k] = detail::processingTime(nextProcessingTime());
    detail::fillDepartures(flow3, n);
    for (int k = 0; k < 2 * n; ++k)
        merged12.NextService[k] = detail::processingTime(nextProcessingTime());
    detail::fillDepartures(merged12, 2 * n);
    detail::serveAlone(merged12, 2 * n);
    MergeByPriority(merged12, 2 * n, std::nullopt, flow3, n, 3, workspace.MergedAll);
}

// A whole run in a workspace the caller keeps.
template <typename Arrival, typename Processing>
void RunModel(TRunWorkspace& workspace, TResultArrays& results, Arrival&& nextArrivalInterval,
              Processing&& nextProcessingTime)
{
    SimulateNetwork(workspace, nextArrivalInterval, nextProcessingTime);
    ComputeFlowResults(workspace, results);
    SortAscending(results.Result1);
    SortAscending(results.Result2);
    SortAscending(results.Result3);
}

}  // namespace velmora
