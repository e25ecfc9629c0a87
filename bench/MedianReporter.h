// Console reporter that also keeps the median of each repeated benchmark, so a
// benchmark program can print figures derived from several benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Median real time of a benchmark, in its time unit; 0 if it did not run.
    double median(const std::string& name) const;

    // Runs the benchmarks selected on the command line with this reporter.
    static MedianReporter runAll(int argc, char** argv);

private:
    std::map<std::string, double> medians_;
};
