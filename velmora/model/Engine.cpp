// The steps of a run of the queueing network. Times are computed in 64 bits and
// checked before they are stored or used as the end of a service, so no draw can
// make the run overflow silently.
#include "EngineSteps.h"

#include <algorithm>
#include <array>
#include <cstdlib>
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
    if (time < detail::tickMin || time > detail::tickMax) [[unlikely]]
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
    wait[0] = 0;
    for (std::size_t i = 1; i < arrival.size(); ++i) {
        const Tick previousEnd = endOf(arrival[i - 1], wait[i - 1], service[i - 1]);
        wait[i] = previousEnd <= arrival[i] ? 0 : span(std::int64_t{previousEnd} - arrival[i]);
    }
}

void MergeByPriority(const TTaskTable& high, int highCount, std::optional<std::int32_t> highTag, TTaskTable& low,
                     int lowCount, std::int32_t lowTag, TTaskTable& out)
{
    // Arrival at this server is the Departure column of each stream's table.
    const auto& aH = high.Departure;
    const auto& pH = high.NextService;
    const auto& vH = high.NextWait;
    const auto& aL = low.Departure;
    const auto& pL = low.NextService;
    auto& wL = low.NextWait;

    int i = 0;
    int j = 0;
    int k = 0;

    auto emitHigh = [&] {
        out.Arrival[k] = aH[i];
        out.Service[k] = pH[i];
        out.Flow[k] = highTag ? *highTag : high.Flow[i];
        out.Wait[k] = vH[i];
        ++i;
        ++k;
    };
    auto emitLow = [&](std::int64_t wait) {
        const Tick w = span(wait);
        out.Arrival[k] = aL[j];
        out.Service[k] = pL[j];
        out.Flow[k] = lowTag;
        out.Wait[k] = w;
        wL[j] = w;
        ++j;
        ++k;
    };
    // g, e and f: ends of the last high task, the last low task and the last row.
    auto g = [&] { return std::int64_t{endOf(aH[i - 1], vH[i - 1], pH[i - 1])}; };
    auto e = [&] { return std::int64_t{endOf(aL[j - 1], wL[j - 1], pL[j - 1])}; };
    auto f = [&] { return std::int64_t{endOf(out.Arrival[k - 1], out.Wait[k - 1], out.Service[k - 1])}; };

    while (i < highCount || j < lowCount) {
        if (j == lowCount) {
            emitHigh();
        } else if (i == highCount) {
            emitLow(k == 0 ? 0 : std::max<std::int64_t>(0, f() - aL[j]));
        } else if (i == 0 && j == 0) {
            // The very first low task must end strictly before the first high arrival.
            if (std::int64_t{aL[0]} + pL[0] < aH[0])
                emitLow(0);
            else
                emitHigh();
        } else if (i == 0) {
            const std::int64_t w = std::max<std::int64_t>(0, e() - aL[j]);
            if (aL[j] + w + pL[j] <= aH[0])
                emitLow(w);
            else
                emitHigh();
        } else if (aL[j] >= aH[i] || aH[i] - g() <= pL[j] || std::int64_t{aH[i]} - aL[j] <= pL[j]) {
            emitHigh();
        } else if (j == 0 || e() <= aL[j]) {
            emitLow(std::max<std::int64_t>(0, g() - aL[j]));
        } else if (aH[i] - e() <= pL[j]) {
            emitHigh();
        } else {
            emitLow(f() - aL[j]);
        }
    }
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
        const std::size_t flow = served.Flow[m] == 1 ? 0 : served.Flow[m] == 2 ? 1 : 2;
        responses[flow][next[flow]] = span(end - arrivals[flow][next[flow]]);
        ++next[flow];
    }
}

// LSD radix sort on bytes: comparison sorts spend most of their time on
// mispredicted branches with arrays this small, and a press sorts three of them.
// Passes whose byte is the same in every value (the high bytes, mostly) are skipped.
void SortAscending(FlowValues values)
{
    constexpr std::size_t n = FlowValues::extent;
    std::array<std::uint32_t, n> keys;
    std::array<std::uint32_t, n> scratch;
    std::array<std::array<std::uint16_t, 256>, 4> counts{};
    static_assert(n <= std::numeric_limits<std::uint16_t>::max(), "bucket counts are 16 bits");
    for (std::size_t i = 0; i < n; ++i) {
        // Flipping the sign bit makes unsigned order agree with signed order.
        keys[i] = static_cast<std::uint32_t>(values[i]) ^ 0x8000'0000u;
        for (int pass = 0; pass < 4; ++pass)
            ++counts[pass][(keys[i] >> (8 * pass)) & 0xFF];
    }
    std::uint32_t* from = keys.data();
    std::uint32_t* to = scratch.data();
    for (int pass = 0; pass < 4; ++pass) {
        auto& count = counts[pass];
        if (count[(from[0] >> (8 * pass)) & 0xFF] == n)
            continue;
        std::array<std::uint16_t, 256> start;
        std::uint16_t offset = 0;
        for (int digit = 0; digit < 256; ++digit) {
            start[digit] = offset;
            offset = static_cast<std::uint16_t>(offset + count[digit]);
        }
        for (std::size_t i = 0; i < n; ++i)
            to[start[(from[i] >> (8 * pass)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    for (std::size_t i = 0; i < n; ++i)
        values[i] = static_cast<std::int32_t>(from[i] ^ 0x8000'0000u);
}

TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime)
{
    return RunModel(nextArrivalInterval, nextProcessingTime, SortAscending);
}

TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime, ResultSorter sort)
{
    const auto workspace = std::make_unique_for_overwrite<TRunWorkspace>();
    TResultArrays results;
    RunModel(*workspace, results, nextArrivalInterval, nextProcessingTime, sort);
    return results;
}

}  // namespace velmora
