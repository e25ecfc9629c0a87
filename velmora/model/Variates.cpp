// Draw formulas of the four distributions.
#include "Variates.h"

#include "shell/Exception.h"
#include "shell/Random.h"

#include <cmath>
#include <limits>

namespace velmora {
namespace {

class ProcessSources final : public RandomSources {
public:
    std::int32_t Rand() override { return shell::Rand(); }
    std::int32_t LRand() override { return shell::LRand(); }
    double RandG(double mean, double stdDev) override { return shell::RandG(mean, stdDev); }
};

bool fitsInt32(double truncated)
{
    return truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::min())
        && truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

std::int32_t truncateDraw(double value)
{
    const double truncated = std::trunc(value);
    if (!std::isfinite(value) || !fitsInt32(truncated))
        throw shell::Exception("Случайная величина вне допустимого диапазона целых чисел");
    return static_cast<std::int32_t>(truncated);
}

void requireNonZeroRate(double rate)
{
    if (rate == 0.0)
        throw shell::Exception("Интенсивность не может быть равна 0");
}

} // namespace

RandomSources& ProcessRandomSources()
{
    static ProcessSources sources;
    return sources;
}

double UnitDraw(RandomSources& sources)
{
    return (sources.Rand() + 1) * (1.0 / 32768.0);
}

std::int32_t RandomBelow(std::int32_t n, RandomSources& sources)
{
    if (n == 0)
        return 0;
    return sources.LRand() % n;
}

std::int32_t RandomBelow(std::int32_t n)
{
    return RandomBelow(n, ProcessRandomSources());
}

std::int32_t DrawVariate(const DistributionSetting& setting, RandomSources& sources)
{
    switch (setting.kind) {
    case DistributionKind::Uniform: {
        const double bound = std::trunc(setting.p1);
        if (!std::isfinite(setting.p1) || !fitsInt32(bound))
            throw shell::Exception("Значение MAX вне допустимого диапазона целых чисел");
        return RandomBelow(static_cast<std::int32_t>(bound), sources);
    }
    case DistributionKind::Erlang2: {
        requireNonZeroRate(setting.p1);
        requireNonZeroRate(setting.p2);
        const double c1 = -1.0 / setting.p1;
        const double term1 = c1 * std::log(UnitDraw(sources));
        const double c2 = 1.0 / setting.p2;
        const double term2 = c2 * std::log(UnitDraw(sources));
        return truncateDraw(term1 - term2);
    }
    case DistributionKind::Normal:
        return truncateDraw(sources.RandG(setting.p1, setting.p2));
    case DistributionKind::Exponential: {
        requireNonZeroRate(setting.p1);
        const double c = -1.0 / setting.p1;
        return truncateDraw(c * std::log(UnitDraw(sources)));
    }
    }
    throw shell::Exception("Неизвестный вид распределения");
}

} // namespace velmora
