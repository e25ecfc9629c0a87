// What every series of runs shares, whichever model it repeats: the seeds of its
// runs, the values of a sweep, and the statistics over the runs.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace shell {

// The seeds of one run of a series. A run's draws depend on the series seed and
// the run's index alone, so a series repeats exactly, whatever the threads do,
// and run r meets the same draws at every point of a sweep.
struct RunSeeds {
    std::uint64_t standard;  // for the standard family (StandardSource)
    std::uint64_t normal;    // for the normal family (NormalSource)
};

// SplitMix64's output for the state x: x + 0x9E3779B97F4A7C15, then its two
// multiply-xorshift rounds. A bijection that scatters neighbouring inputs.
std::uint64_t SplitMix64(std::uint64_t x);

// Run r of the series with seed S: standard = SplitMix64(SplitMix64(S) + r) and
// normal = SplitMix64(standard). Mixing S before adding r keeps seed S + 1 from
// repeating seed S's runs shifted by one.
RunSeeds SeedsOfRun(std::uint64_t seriesSeed, std::uint64_t run);

// The most runs a series makes of a point, and the most points a sweep has.
inline constexpr int MaxRuns = 1'000'000;
inline constexpr int MaxSweepPoints = 50;

// A run count as typed: a whole number from 2 to MaxRuns. Throws Exception.
int ReadRunCount(std::string_view text);
// A sweep's number of points as typed: 2 to MaxSweepPoints. Throws Exception.
int ReadSweepPoints(std::string_view text);

// `count` evenly spaced values from `from` to `to`, both included exactly; count
// at least 2.
std::vector<double> SweepValues(double from, double to, int count);

// The end of a sweep's range as read from text: a number other than `from`,
// since a range of one value would repeat one series at every point; for a
// parameter of which only the whole part counts, of another whole part.
// Throws Exception quoting the text.
double ReadSweepEnd(double from, std::string_view text, bool whole = false);

// For a parameter of which only the whole part counts: `count` whole values
// evenly spread from the whole part of `from` to that of `to`, each rounded to
// the nearest. Throws Exception when the range holds fewer whole values than
// `count`, since some would repeat.
std::vector<double> WholeSweepValues(double from, double to, int count);

// A mean over runs with its 95 % Student t interval.
struct Estimate {
    double mean;
    double low;
    double high;
};

// mean ± t(0.975, n - 1) · s / √n, s with divisor n - 1; the values are summed in
// the order given, so the last digits never depend on which run finished first.
// Needs at least two values.
Estimate MeanWithInterval(std::span<const double> values);

// The median of sorted values: the middle one, or the mean of the two middle ones.
template <typename T>
double Median(std::span<const T> sorted)
{
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? static_cast<double>(sorted[n / 2])
                      : (static_cast<double>(sorted[n / 2 - 1]) + static_cast<double>(sorted[n / 2])) / 2.0;
}

// The p-th percentile of sorted values by nearest rank: the value at rank
// ceil(p / 100 · n), counted from 1.
template <typename T>
T NearestRank(std::span<const T> sorted, int percent)
{
    const std::size_t n = sorted.size();
    const std::size_t rank = (static_cast<std::size_t>(percent) * n + 99) / 100;
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace shell
