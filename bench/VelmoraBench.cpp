// One run of the queueing model with the start-up settings (uniform, MAX 100 and
// 50), against the same run sorted by rescanning exchange as a baseline.
#include "MedianReporter.h"

#include "shell/Random.h"
#include "velmora/model/EngineSteps.h"
#include "velmora/model/Series.h"
#include "velmora/model/Variates.h"

#include <memory>

#include <cstdio>

namespace {

// Exchanges the first inverted neighbours and starts the scan again from the front.
void rescanningSort(std::span<std::int32_t, 1000> values)
{
    std::size_t p = 0;
    while (p < values.size() - 1) {
        if (values[p] > values[p + 1]) {
            std::swap(values[p], values[p + 1]);
            p = 0;
        } else {
            ++p;
        }
    }
}

const velmora::Generator arrival = [] {
    return velmora::DrawVariate({velmora::DistributionKind::Uniform, 100, 0}, shell::ProcessRandomSources());
};
const velmora::Generator processing = [] {
    return velmora::DrawVariate({velmora::DistributionKind::Uniform, 50, 0}, shell::ProcessRandomSources());
};

void RunModel(benchmark::State& state)
{
    shell::SRand(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::RunModel(arrival, processing));
}
BENCHMARK(RunModel)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

void RunModelRescanningSort(benchmark::State& state)
{
    shell::SRand(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::RunModel(arrival, processing, rescanningSort));
}
BENCHMARK(RunModelRescanningSort)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One run of a series at the start settings, in a workspace kept from run to run.
void RunOfSeries(benchmark::State& state)
{
    const velmora::SeriesDraws draws{velmora::VariateDraw({velmora::DistributionKind::Uniform, 100, 0}),
                                     velmora::VariateDraw({velmora::DistributionKind::Uniform, 50, 0})};
    const auto workspace = std::make_unique<velmora::TRunWorkspace>();
    std::uint64_t run = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::RunOfSeries(draws, 5, run++, *workspace));
}
BENCHMARK(RunOfSeries)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    const MedianReporter reporter = MedianReporter::runAll(argc, argv);
    const double run = reporter.median("RunModel");
    const double baseline = reporter.median("RunModelRescanningSort");
    if (run > 0)
        std::printf("\nRunModel median: %.1f us (target < 150 us)\n", run);
    if (run > 0 && baseline > 0)
        std::printf("Rescanning-sort run median: %.0f us; speed-up %.0fx (target >= 500x)\n", baseline, baseline / run);
    return 0;
}
