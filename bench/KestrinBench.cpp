// A warehouse run of the full 250 days with the process-wide random source, and
// at the series' benchmark settings (orders 5, thresholds 2) a bare run against
// a run of a series, so that what a series spends around its runs shows.
#include "MedianReporter.h"

#include "kestrin/model/Series.h"
#include "kestrin/model/Warehouse.h"
#include "shell/core/Random.h"

#include <cstdio>
#include <vector>

namespace {

kestrin::TWarehouseInput input(float order, float threshold)
{
    kestrin::TWarehouseInput warehouse;
    warehouse.Order.fill(order);
    warehouse.Threshold.fill(threshold);
    warehouse.DayCount = 250;
    return warehouse;
}

void SimulateWarehouse250Days(benchmark::State& state)
{
    shell::SRand(1);
    const auto randomBelow = [&source = shell::ProcessStandardSource()](std::int32_t n) {
        return shell::RandomBelow(n, source);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(kestrin::SimulateWarehouse(input(100, 100), randomBelow, [](std::int32_t) {}));
}
BENCHMARK(SimulateWarehouse250Days)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// One run as a press makes it, at the series' settings.
void BareRun(benchmark::State& state)
{
    shell::StandardSource source;
    source.seed(1);
    const auto randomBelow = [&source](std::int32_t n) { return shell::RandomBelow(n, source); };
    for (auto _ : state)
        benchmark::DoNotOptimize(kestrin::SimulateWarehouse(input(5, 2), randomBelow, [](std::int32_t) {}));
}
BENCHMARK(BareRun)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// A run of a series at the same settings, its seeding and chunking included:
// a chunk of 64 runs a time, reported per run.
void SeriesRun(benchmark::State& state)
{
    const kestrin::WarehouseSeries series(input(5, 2), 5, std::nullopt);
    std::vector<double> out(64);
    std::uint64_t first = 0;
    for (auto _ : state) {
        int done = 0;
        series.runChunk(0, first, 64, nullptr, out, done);
        first += 64;
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(SeriesRun)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    const MedianReporter reporter = MedianReporter::runAll(argc, argv);
    const double run = reporter.median("SimulateWarehouse250Days");
    if (run > 0)
        std::printf("\nWarehouse run of 250 days, median: %.1f us (target < 40 us)\n", run);
    const double bare = reporter.median("BareRun");
    const double series = reporter.median("SeriesRun") / 64;
    if (bare > 0 && series > 0)
        std::printf("Orders 5, thresholds 2: a bare run %.1f us, a run of a series %.1f us, %.2f times the bare run "
                    "(target <= 1.1)\n",
                    bare, series, series / bare);
    return 0;
}
