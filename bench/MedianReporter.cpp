// Collects medians while printing the usual console table.
#include "MedianReporter.h"

void MedianReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
}

double MedianReporter::median(const std::string& name) const
{
    const auto found = medians_.find(name);
    return found == medians_.end() ? 0.0 : found->second;
}

MedianReporter MedianReporter::runAll(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter;
}
