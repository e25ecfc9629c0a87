// One run of the queueing model with the start-up settings (uniform, MAX 100 and
// 50); its sort against sorting by rescanning exchange as a baseline.
#include "MedianReporter.h"

#include "shell/core/Random.h"
#include "velmora/model/EngineSteps.h"
#include "velmora/model/Series.h"
#include "velmora/model/Variates.h"

#include <memory>
#include <vector>

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

// The three result arrays of one run, before they are sorted.
velmora::TResultArrays unsortedResults()
{
    shell::SRand(1);
    const auto workspace = std::make_unique<velmora::TRunWorkspace>();
    velmora::SimulateNetwork(*workspace, arrival, processing);
    velmora::TResultArrays results;
    velmora::ComputeFlowResults(*workspace, results);
    return results;
}

template <void (*Sort)(velmora::FlowValues)>
void SortResults(benchmark::State& state)
{
    const velmora::TResultArrays unsorted = unsortedResults();
    for (auto _ : state) {
        velmora::TResultArrays results = unsorted;
        Sort(results.Result1);
        Sort(results.Result2);
        Sort(results.Result3);
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(SortResults<velmora::SortAscending>)
    ->Name("SortAscending")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(SortResults<rescanningSort>)
    ->Name("RescanningSort")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

const velmora::SeriesSettings startSettings{{velmora::DistributionKind::Uniform, 100, 0},
                                            {velmora::DistributionKind::Uniform, 50, 0}};

// The bare run at the start settings: the whole model, results sorted, in a
// workspace kept from run to run, drawing from a run's own sources.
void BareRun(benchmark::State& state)
{
    const velmora::SeriesDraws draws = velmora::CheckedDraws(startSettings);
    const auto workspace = std::make_unique<velmora::TRunWorkspace>();
    shell::RunSources sources(1, 2);
    velmora::TResultArrays results;
    for (auto _ : state) {
        velmora::RunModel(
            *workspace, results, [&] { return draws.arrival(sources); }, [&] { return draws.processing(sources); });
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BareRun)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// A run of a series at the same settings, its seeding, summaries and chunking
// included: a chunk of 64 runs a time, reported per run.
void SeriesRun(benchmark::State& state)
{
    const velmora::NetworkSeries series(startSettings, 5, std::nullopt);
    const auto workspace = series.makeWorkspace();
    std::vector<double> out(64 * static_cast<std::size_t>(series.statisticCount()));
    std::uint64_t first = 0;
    for (auto _ : state) {
        int done = 0;
        series.runChunk(0, first, 64, workspace.get(), out, done);
        first += 64;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(SeriesRun)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    const MedianReporter reporter = MedianReporter::runAll(argc, argv);
    const double run = reporter.median("RunModel");
    const double sort = reporter.median("SortAscending");
    // A run that sorted by rescanning would cost the run less its own sort plus the rescanning.
    const double baseline = run - sort + reporter.median("RescanningSort");
    if (run > 0)
        std::printf("\nRunModel median: %.1f us (target < 150 us)\n", run);
    if (run > 0 && baseline > 0)
        std::printf("Run sorted by rescanning, median: %.0f us; speed-up %.0fx (target >= 500x)\n", baseline,
                    baseline / run);
    const double bare = reporter.median("BareRun");
    const double series = reporter.median("SeriesRun") / 64;
    if (bare > 0 && series > 0)
        std::printf("Start settings: a bare run %.1f us, a run of a series %.1f us, %.2f times the bare run "
                    "(target <= 1.1)\n",
                    bare, series, series / bare);
    return 0;
}
