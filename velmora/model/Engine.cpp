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

// A wait or a response time: a span of waiting and processing.
Tick span(std::int64_t time)
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
        previousWait = span(positivePart(std::int64_t{previousEnd} - arrival[i]));
        wait[i] = previousWait;
    }
}

namespace {

// The end of a served task as its arrival and its busy time (wait and service),
// summed in 64 bits and checked only where a priority rule reads it.
}  // namespace

// The rules, in the order they are tried:
//   the very first low task goes first if it ends strictly before the first
//   high task arrives; a later low task before the first high task goes if it
//   ends by then;
//   a high task goes first if the low one arrives with or after it, or if the
//   gap before it, from the end of the previous high task or from the low
//   task's arrival, is no longer than the low task's service;
//   otherwise the low task goes, after the previous high task, when it is the
//   first low task or the previous low one ended by its arrival; else the high
//   task goes if the gap after the previous low task is too short, and the low
//   task goes after the last row if it is not.
// Each end is checked where a rule reads it.
void MergeByPriority(const TTaskTable& high, int highCount, std::optional<std::int32_t> highTag, TTaskTable& low,
                     int lowCount, std::int32_t lowTag, TTaskTable& out)
{
    // Arrival at this server is the Departure column of each stream's table.
    const Tick* aH = high.Departure.data();
    const Tick* pH = high.NextService.data();
    const Tick* vH = high.NextWait.data();
    const Tick* aL = low.Departure.data();
    const Tick* pL = low.NextService.data();
    Tick* wL = low.NextWait.data();

    int i = 0;
    int j = 0;
    int k = 0;
    // The ends of the last high task and of the last low task, summed in 64 bits
    // and checked where a rule reads them; the last row's end is one of the two.
    // Only the sums are kept, so that everything the rules read stays in registers.
    std::int64_t highEnd = 0;
    std::int64_t lowEnd = 0;
    bool lastWasHigh = false;
    const auto g = [&] { return checkedTick(highEnd, aH[i - 1], std::int64_t{vH[i - 1]} + pH[i - 1]); };
    const auto e = [&] { return checkedTick(lowEnd, aL[j - 1], std::int64_t{wL[j - 1]} + pL[j - 1]); };
    const auto f = [&] { return lastWasHigh ? g() : e(); };

    const auto emitHigh = [&] {
        out.Arrival[k] = aH[i];
        out.Service[k] = pH[i];
        out.Flow[k] = highTag ? *highTag : high.Flow[i];
        out.Wait[k] = vH[i];
        highEnd = std::int64_t{aH[i]} + vH[i] + pH[i];
        lastWasHigh = true;
        ++i;
        ++k;
    };
    const auto emitLow = [&](std::int64_t wait) {
        const Tick w = span(wait);
        out.Arrival[k] = aL[j];
        out.Service[k] = pL[j];
        out.Flow[k] = lowTag;
        out.Wait[k] = w;
        wL[j] = w;
        lowEnd = std::int64_t{aL[j]} + w + pL[j];
        lastWasHigh = false;
        ++j;
        ++k;
    };

    // Low tasks that fit before the first high task.
    while (i == 0 && i < highCount && j < lowCount) {
        if (j == 0) {
            if (std::int64_t{aL[0]} + pL[0] < aH[0])
                emitLow(0);
            else
                emitHigh();
        } else {
            const std::int64_t w = positivePart(e() - aL[j]);
            if (aL[j] + w + pL[j] <= aH[0])
                emitLow(w);
            else
                emitHigh();
        }
    }

    // Both streams have tasks left, and a high task has been served.
    while (i < highCount && j < lowCount) {
        if (aL[j] >= aH[i] || aH[i] - g() <= pL[j] || std::int64_t{aH[i]} - aL[j] <= pL[j])
            emitHigh();
        else if (j == 0 || e() <= aL[j])
            emitLow(positivePart(g() - aL[j]));
        else if (aH[i] - e() <= pL[j])
            emitHigh();
        else
            emitLow(f() - aL[j]);
    }

    while (i < highCount)
        emitHigh();
    while (j < lowCount)
        emitLow(k == 0 ? 0 : positivePart(f() - aL[j]));
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
        responses[flow][next[flow]] = span(end - arrivals[flow][next[flow]]);
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
    for (std::uint32_t span = highest - lowest; span != 0; span >>= 8)
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
