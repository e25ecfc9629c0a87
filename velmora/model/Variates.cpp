// Draw formulas of the four distributions.
#include "Variates.h"

#include "shell/Exception.h"
#include "shell/Random.h"

#include <cmath>
#include <limits>

namespace velmora {
namespace {

bool fitsInt32(double truncated)
{
    return truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::min())
        && truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

const std::string rateTooSmall =
    "интенсивность слишком мала по модулю, и время выходит за допустимый диапазон, увеличьте её";

// A log-based draw: `blame` is the parameter whose term dominates the value.
std::int32_t truncateDraw(double value, int blame)
{
    const double truncated = std::trunc(value);
    if (!std::isfinite(value) || !fitsInt32(truncated))
        throw ParameterError(blame, rateTooSmall);
    return static_cast<std::int32_t>(truncated);
}

void requireNonZeroRate(double rate, int parameter)
{
    if (rate == 0.0)
        throw ParameterError(parameter, "интенсивность не может быть равна 0, задайте число больше 0");
}

}  // namespace

double UnitDraw(shell::RandomSources& sources)
{
    return (sources.Rand() + 1) * (1.0 / 32768.0);
}

std::int32_t DrawVariate(const DistributionSetting& setting, shell::RandomSources& sources)
{
    switch (setting.kind) {
    case DistributionKind::Uniform: {
        const double bound = std::trunc(setting.p1);
        if (!std::isfinite(setting.p1) || !fitsInt32(bound))
            throw ParameterError(1, "значение вне допустимого диапазона, задайте число от -2147483648 до 2147483647");
        return shell::RandomBelow(static_cast<std::int32_t>(bound), sources);
    }
    case DistributionKind::Erlang2: {
        requireNonZeroRate(setting.p1, 1);
        requireNonZeroRate(setting.p2, 2);
        const double c1 = -1.0 / setting.p1;
        const double term1 = c1 * std::log(UnitDraw(sources));
        const double c2 = 1.0 / setting.p2;
        const double term2 = c2 * std::log(UnitDraw(sources));
        return truncateDraw(term1 - term2, std::abs(term1) >= std::abs(term2) ? 1 : 2);
    }
    case DistributionKind::Normal: {
        const double value = std::trunc(sources.RandG(setting.p1, setting.p2));
        if (std::isfinite(value) && fitsInt32(value))
            return static_cast<std::int32_t>(value);
        // A mean that is itself out of range is to blame; otherwise the spread is.
        if (!fitsInt32(std::trunc(setting.p1)))
            throw ParameterError(1, "матожидание вне допустимого диапазона, уменьшите его по модулю");
        throw ParameterError(2, "разброс так велик, что время выходит за допустимый диапазон, уменьшите его");
    }
    case DistributionKind::Exponential: {
        requireNonZeroRate(setting.p1, 1);
        const double c = -1.0 / setting.p1;
        return truncateDraw(c * std::log(UnitDraw(sources)), 1);
    }
    }
    throw shell::Exception("Неизвестный вид распределения");
}

}  // namespace velmora
