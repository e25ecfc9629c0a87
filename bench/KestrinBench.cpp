// A warehouse run of the full 250 days with the process-wide random source.
#include "MedianReporter.h"

#include "kestrin/model/Warehouse.h"
#include "shell/core/Random.h"

#include <cstdio>

namespace {

void SimulateWarehouse250Days(benchmark::State& state)
{
    kestrin::TWarehouseInput input;
    input.Order.fill(100);
    input.Threshold.fill(100);
    input.DayCount = 250;
    shell::SRand(1);
    const auto randomBelow = [&source = shell::ProcessStandardSource()](std::int32_t n) {
        return shell::RandomBelow(n, source);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(kestrin::SimulateWarehouse(input, randomBelow, [](std::int32_t) {}));
}
BENCHMARK(SimulateWarehouse250Days)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    const MedianReporter reporter = MedianReporter::runAll(argc, argv);
    const double run = reporter.median("SimulateWarehouse250Days");
    if (run > 0)
        std::printf("\nWarehouse run of 250 days, median: %.1f us (target < 40 us)\n", run);
    return 0;
}
