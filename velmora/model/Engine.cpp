// One run of the queueing network. Times are computed in 64 bits and checked
// before they are stored or used as the end of a service, so no draw can make
// the run overflow silently.
#include "EngineSteps.h"

#include "shell/Exception.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace velmora {
namespace {

[[noreturn]] [[gnu::cold]] [[gnu::noinline]] void timeOutOfRange()
{
    throw shell::Exception("Моделируемые времена выходят за допустимый диапазон, уменьшите MAX или матожидание "
                           "либо увеличьте интенсивность");
}

// Kept small so that it inlines into every stage; the throw lives out of line.
inline Tick toTick(std::int64_t time)
{
    if (time < std::numeric_limits<Tick>::min() || time > std::numeric_limits<Tick>::max()) [[unlikely]]
        timeOutOfRange();
    return static_cast<Tick>(time);
}

// When a task that arrives at `arrival`, waits `wait` and is served for `service` leaves.
Tick endOf(Tick arrival, Tick wait, Tick service)
{
    return toTick(std::int64_t{arrival} + wait + service);
}

Tick processingTime(const Generator& nextProcessingTime)
{
    return toTick(std::int64_t{nextProcessingTime()} + 1);
}

void fillDepartures(TTaskTable& table, int count)
{
    for (int k = 0; k < count; ++k)
        table.Departure[k] = endOf(table.Arrival[k], table.Wait[k], table.Service[k]);
}

std::span<Tick> rows(std::array<Tick, TTaskTable::Capacity>& column, int count)
{
    return std::span<Tick>(column.data(), static_cast<std::size_t>(count));
}

}  // namespace

void GenerateFlow(TTaskTable& table, int multiplier, const Generator& nextArrivalInterval,
                  const Generator& nextProcessingTime)
{
    table.Arrival[0] = nextArrivalInterval();
    for (int i = 0; i < TasksPerFlow; ++i) {
        if (i > 0) {
            const std::int64_t interval = std::int64_t{multiplier} * nextArrivalInterval() + 1;
            table.Arrival[i] = toTick(table.Arrival[i - 1] + interval);
        }
        table.Service[i] = processingTime(nextProcessingTime);
    }
}

void SingleServerWaits(std::span<const Tick> arrival, std::span<const Tick> service, std::span<Tick> wait)
{
    if (arrival.empty())
        return;
    wait[0] = 0;
    for (std::size_t i = 1; i < arrival.size(); ++i) {
        const Tick previousEnd = endOf(arrival[i - 1], wait[i - 1], service[i - 1]);
        wait[i] = previousEnd <= arrival[i] ? 0 : toTick(std::int64_t{previousEnd} - arrival[i]);
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
        const Tick w = toTick(wait);
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

TResultArrays ComputeFlowResults(const TTaskTable& mergedAll, std::span<const Tick> arrival1,
                                 std::span<const Tick> arrival2, std::span<const Tick> arrival3)
{
    TResultArrays results;
    std::size_t next1 = 0;
    std::size_t next2 = 0;
    std::size_t next3 = 0;
    const std::size_t rowCount = arrival1.size() + arrival2.size() + arrival3.size();
    for (std::size_t m = 0; m < rowCount; ++m) {
        const std::int64_t end = endOf(mergedAll.Arrival[m], mergedAll.Wait[m], mergedAll.Service[m]);
        switch (mergedAll.Flow[m]) {
        case 1:
            results.Result1[next1] = toTick(end - arrival1[next1]);
            ++next1;
            break;
        case 2:
            results.Result2[next2] = toTick(end - arrival2[next2]);
            ++next2;
            break;
        default:
            results.Result3[next3] = toTick(end - arrival3[next3]);
            ++next3;
            break;
        }
    }
    return results;
}

// LSD radix sort on bytes: comparison sorts spend most of their time on
// mispredicted branches with arrays this small, and a press sorts three of them.
// Passes whose byte is the same in every value (the high bytes, mostly) are skipped.
void SortAscending(std::span<std::int32_t, 1000> values)
{
    std::array<std::uint32_t, 1000> keys;
    std::array<std::uint32_t, 1000> scratch;
    std::array<std::array<std::uint16_t, 256>, 4> counts{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Flipping the sign bit makes unsigned order agree with signed order.
        keys[i] = static_cast<std::uint32_t>(values[i]) ^ 0x8000'0000u;
        for (int pass = 0; pass < 4; ++pass)
            ++counts[pass][(keys[i] >> (8 * pass)) & 0xFF];
    }
    std::uint32_t* from = keys.data();
    std::uint32_t* to = scratch.data();
    for (int pass = 0; pass < 4; ++pass) {
        auto& count = counts[pass];
        if (count[(from[0] >> (8 * pass)) & 0xFF] == values.size())
            continue;
        std::array<std::uint16_t, 256> start;
        std::uint16_t offset = 0;
        for (int digit = 0; digit < 256; ++digit) {
            start[digit] = offset;
            offset = static_cast<std::uint16_t>(offset + count[digit]);
        }
        for (std::size_t i = 0; i < values.size(); ++i)
            to[start[(from[i] >> (8 * pass)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::int32_t>(from[i] ^ 0x8000'0000u);
}

TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime)
{
    return RunModel(nextArrivalInterval, nextProcessingTime, SortAscending);
}

void SimulateNetwork(TRunWorkspace& workspace, const Generator& nextArrivalInterval,
                     const Generator& nextProcessingTime)
{
    TTaskTable& flow1 = workspace.Flow1;
    TTaskTable& flow2 = workspace.Flow2;
    TTaskTable& flow3 = workspace.Flow3;
    TTaskTable& merged12 = workspace.Merged12;
    constexpr int n = TasksPerFlow;

    GenerateFlow(flow1, 4, nextArrivalInterval, nextProcessingTime);
    GenerateFlow(flow2, 2, nextArrivalInterval, nextProcessingTime);
    GenerateFlow(flow3, 1, nextArrivalInterval, nextProcessingTime);
    for (TTaskTable* flow : {&flow1, &flow2, &flow3})
        SingleServerWaits(rows(flow->Arrival, n), rows(flow->Service, n), rows(flow->Wait, n));

    // Shared server: flow 1 is served as if flow 2 did not exist.
    for (int k = 0; k < n; ++k) {
        flow1.NextService[k] = processingTime(nextProcessingTime);
        flow2.NextService[k] = processingTime(nextProcessingTime);
    }
    fillDepartures(flow1, n);
    fillDepartures(flow2, n);
    SingleServerWaits(rows(flow1.Departure, n), rows(flow1.NextService, n), rows(flow1.NextWait, n));
    MergeByPriority(flow1, n, 1, flow2, n, 2, merged12);

    // Final server: the stream of flows 1 and 2 is served as if flow 3 did not exist.
    for (int k = 0; k < n; ++k)
        flow3.NextService[k] = processingTime(nextProcessingTime);
    fillDepartures(flow3, n);
    for (int k = 0; k < 2 * n; ++k)
        merged12.NextService[k] = processingTime(nextProcessingTime);
    fillDepartures(merged12, 2 * n);
    SingleServerWaits(rows(merged12.Departure, 2 * n), rows(merged12.NextService, 2 * n),
                      rows(merged12.NextWait, 2 * n));
    MergeByPriority(merged12, 2 * n, std::nullopt, flow3, n, 3, workspace.MergedAll);
}

TResultArrays RunModel(const Generator& nextArrivalInterval, const Generator& nextProcessingTime, ResultSorter sort)
{
    // Every row that is read is written first, so the tables need no clearing.
    const auto workspace = std::make_unique_for_overwrite<TRunWorkspace>();
    SimulateNetwork(*workspace, nextArrivalInterval, nextProcessingTime);
    constexpr int n = TasksPerFlow;
    TResultArrays results = ComputeFlowResults(workspace->MergedAll, rows(workspace->Flow1.Arrival, n),
                                               rows(workspace->Flow2.Arrival, n), rows(workspace->Flow3.Arrival, n));
    sort(results.Result1);
    sort(results.Result2);
    sort(results.Result3);
    return results;
}

}  // namespace velmora
