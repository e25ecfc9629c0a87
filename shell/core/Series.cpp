// The t quantile comes from Boost.Math, which computes it to full double precision
// for any number of degrees of freedom.
#include "Series.h"

#include "Convert.h"
#include "Exception.h"

#include <boost/math/distributions/students_t.hpp>

namespace shell {

std::uint64_t SplitMix64(std::uint64_t x)
{
    std::uint64_t z = x + 0x9E37'79B9'7F4A'7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBULL;
    return z ^ (z >> 31);
}

RunSeeds SeedsOfRun(std::uint64_t seriesSeed, std::uint64_t run)
{
    const std::uint64_t standard = SplitMix64(SplitMix64(seriesSeed) + run);
    return {standard, SplitMix64(standard)};
}

int ReadRunCount(std::string_view text)
{
    return StrToIntInRange(text, 2, MaxRuns);
}

int ReadSweepPoints(std::string_view text)
{
    return StrToIntInRange(text, 2, MaxSweepPoints);
}

std::vector<double> SweepValues(double from, double to, int count)
{
    std::vector<double> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<std::size_t>(i)] = from + (to - from) * i / (count - 1);
    values.back() = to;
    return values;
}

double ReadSweepEnd(double from, std::string_view text, bool whole)
{
    const double to = StrToFloat(text);
    if (to == from)
        throw Exception(Quoted(text) + " — задайте конец, отличный от начала: иначе все точки одинаковы");
    if (whole && std::trunc(to) == std::trunc(from))
        throw Exception(Quoted(text)
                        + " — у начала и конца одна целая часть, а считается только она: задайте конец "
                          "с другой целой частью");
    return to;
}

std::vector<double> WholeSweepValues(double from, double to, int count)
{
    const double first = std::trunc(from);
    const double last = std::trunc(to);
    const double distinct = std::abs(last - first) + 1;
    if (count > distinct)
        throw Exception("от " + FloatToStr(first, ".") + " до " + FloatToStr(last, ".") + " всего "
                        + FloatToStr(distinct, ".") + " целых значений: задайте не больше " + FloatToStr(distinct, ".")
                        + " точек");
    std::vector<double> values = SweepValues(first, last, count);
    for (double& value : values)
        value = std::round(value);
    return values;
}

Estimate MeanWithInterval(std::span<const double> values)
{
    const auto n = static_cast<double>(values.size());
    double sum = 0;
    for (const double value : values)
        sum += value;
    const double mean = sum / n;
    double squares = 0;
    for (const double value : values)
        squares += (value - mean) * (value - mean);
    const double halfWidth =
        boost::math::quantile(boost::math::students_t(n - 1), 0.975) * std::sqrt(squares / (n - 1)) / std::sqrt(n);
    return {mean, mean - halfWidth, mean + halfWidth};
}

}  // namespace shell
