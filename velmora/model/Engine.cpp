// The steps of a run of the queueing network. Times are computed in 64 bits and
// checked before they are stored or used as the end of a service, so no draw can
// make the run overflow silently.
#include "EngineSteps.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <memory>

namespace velmora {

TimeRangeError::TimeRangeError(bool arrival, bool processing)
    : shell::Exception("Моделируемые времена выходят за допустимый диапазон")
    , arrival_(arrival)
    , processing_(processing)
{
}

namespace detail {

void TimeOutOfRange(std::int64_t arrivalPart, std::int64_t processingPart)
{
    // A sum that leaves the range has a part of at least half the range.
    constexpr std::int64_t half = std::int64_t{1} << 30;
    throw TimeRangeError(std::llabs(arrivalPart) >= half, std::llabs(processingPart) >= half);
}

}  // namespace detail

namespace {

// Kept small so that it inlines into every stage; the throw lives out of line.
Tick checkedTick(std::int64_t time, std::int64_t arrivalPart, std::int64_t processingPart)
{
    // One unsigned comparison tells both ends of the range.
    if (static_cast<std::uint64_t>(time - detail::tickMin) > std::uint64_t{detail::tickMax - detail::tickMin})
        [[unlikely]]
        detail::TimeOutOfRange(arrivalPart, processingPart);
    return static_cast<Tick>(time);
}

// When a task that arrives at `arrival`, waits `wait` and is served for `service` leaves.
Tick endOf(Tick arrival, Tick wait, Tick service)
{
    const std::int64_t busy = std::int64_t{wait} + service;
    return checkedTick(arrival + busy, arrival, busy);
}

// A wait or a response time: a duration of waiting and processing.
Tick duration(std::int64_t time)
{
    return checkedTick(time, 0, time);
}

// max(0, time) without a branch: the sign of a wait is as hard to predict as
// the merge's choices.
std::int64_t positivePart(std::int64_t time)
{
    return time & ~(time >> 63);
}

std::span<Tick> rows(std::array<Tick, TTaskTable::Capacity>& column, int count)
{
    return std::span<Tick>(column.data(), static_cast<std::size_t>(count));
}

}  // namespace

namespace detail {

void serveAtEntry(TTaskTable& table, int count)
{
    SingleServerWaits(rows(table.Arrival, count), rows(table.Service, count), rows(table.Wait, count));
}

// The three entry servers' waits in one loop: each wait waits on the one before
// at its own server, and three independent chains keep the core busy where
// one leaves it waiting (the waits of a run take about a fifth less time). A
// time out of range is found again server by server, so that the error is
// the one the servers taken in order meet first.
void serveAtEntries(std::array<TTaskTable*, FlowCount> tables, int count)
{
    try {
        std::array<Tick, FlowCount> previousWait{};
        for (TTaskTable* table : tables)
            table->Wait[0] = 0;
        for (int i = 1; i < count; ++i) {
            for (std::size_t flow = 0; flow < FlowCount; ++flow) {
                TTaskTable& table = *tables[flow];
                const Tick previousEnd = endOf(table.Arrival[i - 1], previousWait[flow], table.Service[i - 1]);
                previousWait[flow] = duration(positivePart(std::int64_t{previousEnd} - table.Arrival[i]));
                table.Wait[i] = previousWait[flow];
            }
        }
    } catch (const TimeRangeError&) {
        for (TTaskTable* table : tables)
            serveAtEntry(*table, count);
        throw;
    }
}

void fillDepartures(TTaskTable& table, int count)
{
    for (int k = 0; k < count; ++k)
        table.Departure[k] = endOf(table.Arrival[k], table.Wait[k], table.Service[k]);
}

void serveAlone(TTaskTable& table, int count)
{
    SingleServerWaits(rows(table.Departure, count), rows(table.NextService, count), rows(table.NextWait, count));
}

}  // namespace detail

void SingleServerWaits(std::span<const Tick> arrival, std::span<const Tick> service, std::span<Tick> wait)
{
    if (arrival.empty())
        return;
    // The previous wait stays in a register rather than coming back from memory.
    Tick previousWait = 0;
    wait[0] = 0;
    for (std::size_t i = 1; i < arrival.size(); ++i) {
        const Tick previousEnd = endOf(arrival[i - 1], previousWait, service[i - 1]);
        previousWait = duration(positivePart(std::int64_t{previousEnd} - arrival[i]));
        wait[i] = previousWait;
    }
}

// The order of service at a server where the high stream has priority: high
// tasks are served as if alone, with their stand-alone waits, and low tasks are
// fitted, in their own order, into the idle periods of the high stream. Each
// step emits one task by the first rule that applies:
//
//   1. Before any task, the first low task goes first when it would end
//      strictly before the first high task arrives.
//   2. Before the first high task, a later low task goes when, started as
//      the previous low task ends or on its own arrival, it ends by the time
//      the first high task arrives.
//   3. Between high tasks:
//      3.1 the next high task goes when the low task arrives with it or after
//          it, when the idle gap before it from the end of the previous high
//          task is no longer than the low task's service, or when the low
//          task, started on its arrival, would not end before it;
//      3.2 otherwise, when the low task is the first one or the previous low
//          task has ended by its arrival, the low task goes, starting as the
//          previous high task ends or on its arrival;
//      3.3 otherwise the low task also has to fit between the end of the
//          previous low task and the next high arrival, and then goes,
//          starting as the last task served ends; if it does not fit, the
//          high task goes.
//   4. Once one stream is exhausted the other follows: the rest of the high
//      stream as it is (4.1), or the low tasks one after another, each as the
//      last task served ends or on its arrival (4.2).
//
// End times are summed in 64 bits and checked where a rule reads them; only the
// sums are kept, so that everything the rules read stays in registers.
void MergeByPriority(const TTaskTable& high, int highCount, std::optional<std::int32_t> highTag, TTaskTable& low,
                     int lowCount, std::int32_t lowTag, TTaskTable& out)
{
    // A stream arrives at this server when it leaves the one before.
    const Tick* highArrival = high.Departure.data();
    const Tick* highService = high.NextService.data();
    const Tick* highWait = high.NextWait.data();
    const Tick* lowArrival = low.Departure.data();
    const Tick* lowService = low.NextService.data();
    Tick* lowWait = low.NextWait.data();

    int nextHigh = 0;
    int nextLow = 0;
    int row = 0;
    std::int64_t highEnd = 0;  // when the last high task served ends
    std::int64_t lowEnd = 0;   // when the last low task served ends
    bool lastWasHigh = false;
    const auto lastHighEnd = [&] {
        const int last = nextHigh - 1;
        return checkedTick(highEnd, highArrival[last], std::int64_t{highWait[last]} + highService[last]);
    };
    const auto lastLowEnd = [&] {
        const int last = nextLow - 1;
        return checkedTick(lowEnd, lowArrival[last], std::int64_t{lowWait[last]} + lowService[last]);
    };
    const auto lastRowEnd = [&] { return lastWasHigh ? lastHighEnd() : lastLowEnd(); };

    const auto emitHigh = [&] {
        out.Arrival[row] = highArrival[nextHigh];
        out.Service[row] = highService[nextHigh];
        out.Flow[row] = highTag ? *highTag : high.Flow[nextHigh];
        out.Wait[row] = highWait[nextHigh];
        highEnd = std::int64_t{highArrival[nextHigh]} + highWait[nextHigh] + highService[nextHigh];
        lastWasHigh = true;
        ++nextHigh;
        ++row;
    };
    const auto emitLow = [&](std::int64_t wait) {
        const Tick checkedWait = duration(wait);
        out.Arrival[row] = lowArrival[nextLow];
        out.Service[row] = lowService[nextLow];
        out.Flow[row] = lowTag;
        out.Wait[row] = checkedWait;
        lowWait[nextLow] = checkedWait;
        lowEnd = std::int64_t{lowArrival[nextLow]} + checkedWait + lowService[nextLow];
        lastWasHigh = false;
        ++nextLow;
        ++row;
    };

    // Rule 1.
    const auto firstLowEndsBeforeFirstHigh = [&] {
        return std::int64_t{lowArrival[0]} + lowService[0] < highArrival[0];
    };
    // Rule 2: the wait it would have, and whether it then ends in time.
    const auto waitBeforeFirstHigh = [&] { return positivePart(lastLowEnd() - lowArrival[nextLow]); };
    const auto endsByFirstHigh = [&](std::int64_t wait) {
        return lowArrival[nextLow] + wait + lowService[nextLow] <= highArrival[0];
    };
    // Rule 3.1.
    const auto highGoesFirst = [&] {
        const Tick arrival = lowArrival[nextLow];
        const Tick service = lowService[nextLow];
        const Tick highNext = highArrival[nextHigh];
        return arrival >= highNext || highNext - lastHighEnd() <= service
            || std::int64_t{highNext} - arrival <= service;
    };
    // Rule 3.2.
    const auto lowServerFree = [&] { return nextLow == 0 || lastLowEnd() <= lowArrival[nextLow]; };
    // Rule 3.3.
    const auto fitsAfterLastLow = [&] { return highArrival[nextHigh] - lastLowEnd() > lowService[nextLow]; };

    // Rules 1 and 2: low tasks that go before the first high task.
    while (nextHigh == 0 && nextHigh < highCount && nextLow < lowCount) {
        if (nextLow == 0) {
            if (firstLowEndsBeforeFirstHigh())
                emitLow(0);
            else
                emitHigh();
        } else if (const std::int64_t wait = waitBeforeFirstHigh(); endsByFirstHigh(wait)) {
            emitLow(wait);
        } else {
            emitHigh();
        }
    }

    // Rule 3: both streams have tasks left, and a high task has been served.
    while (nextHigh < highCount && nextLow < lowCount) {
        if (highGoesFirst())
            emitHigh();
        else if (lowServerFree())
            emitLow(positivePart(lastHighEnd() - lowArrival[nextLow]));
        else if (fitsAfterLastLow())
            emitLow(lastRowEnd() - lowArrival[nextLow]);
        else
            emitHigh();
    }

    // Rule 4.1.
    while (nextHigh < highCount)
        emitHigh();
    // Rule 4.2; with no high task at all, the first low task starts on its arrival.
    while (nextLow < lowCount)
        emitLow(row == 0 ? 0 : positivePart(lastRowEnd() - lowArrival[nextLow]));
}

void ComputeFlowResults(const TRunWorkspace& workspace, TResultArrays& results)
{
    const std::array<const Tick*, FlowCount> arrivals{workspace.Flow1.Arrival.data(), workspace.Flow2.Arrival.data(),
                                                      workspace.Flow3.Arrival.data()};
    const std::array<std::int32_t*, FlowCount> responses{results.Result1.data(), results.Result2.data(),
                                                         results.Result3.data()};
    std::array<std::size_t, FlowCount> next{};
    const TTaskTable& served = workspace.MergedAll;
    for (int m = 0; m < TaskCount; ++m) {
        const std::int64_t end = endOf(served.Arrival[m], served.Wait[m], served.Service[m]);
        // Tags other than 1 and 2 are flow 3's.
        const std::size_t flow = std::min(static_cast<std::uint32_t>(served.Flow[m]) - 1u, 2u);
        responses[flow][next[flow]] = duration(end - arrivals[flow][next[flow]]);
        ++next[flow];
    }
}

// LSD radix sort on bytes of the distance from the smallest value: comparison
// sorts spend most of their time on mispredicted branches with arrays this
// small, and response times of one run seldom span more than two bytes, so
// two passes mostly do.
void SortAscending(FlowValues values)
{
    constexpr std::size_t n = FlowValues::extent;
    static_assert(n <= std::numeric_limits<std::uint16_t>::max(), "bucket counts are 16 bits");
    std::array<std::uint32_t, n> keys;
    std::array<std::uint32_t, n> scratch;
    // Flipping the sign bit makes unsigned order agree with signed order.
    std::uint32_t lowest = ~0u;
    std::uint32_t highest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] = static_cast<std::uint32_t>(values[i]) ^ 0x8000'0000u;
        lowest = std::min(lowest, keys[i]);
        highest = std::max(highest, keys[i]);
    }
    int passes = 0;
    for (std::uint32_t range = highest - lowest; range != 0; range >>= 8)
        ++passes;
    std::array<std::array<std::uint16_t, 256>, 4> counts{};
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] -= lowest;
        ++counts[0][keys[i] & 0xFF];
        ++counts[1][(keys[i] >> 8) & 0xFF];
    }
    if (passes > 2) {
        for (std::size_t i = 0; i < n; ++i) {
            ++counts[2][(keys[i] >> 16) & 0xFF];
            ++counts[3][keys[i] >> 24];
        }
    }
    std::uint32_t* from = keys.data();
    std::uint32_t* to = scratch.data();
    for (int pass = 0; pass < passes; ++pass) {
        std::array<std::uint16_t, 256> start;
        std::uint16_t offset = 0;
        for (int digit = 0; digit < 256; ++digit) {
            start[digit] = offset;
            offset = static_cast<std::uint16_t>(offset + counts[pass][digit]);
        }
        for (std::size_t i = 0; i < n; ++i)
            to[start[(from[i] >> (8 * pass)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    for (std::size_t i = 0; i < n; ++i)
        values[i] = static_cast<std::int32_t>((from[i] + lowest) ^ 0x8000'0000u);
}

TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime)
{
    const auto workspace = std::make_unique_for_overwrite<TRunWorkspace>();
    TResultArrays results;
    RunModel(*workspace, results, nextArrivalInterval, nextProcessingTime);
    return results;
}

}  // namespace velmora
