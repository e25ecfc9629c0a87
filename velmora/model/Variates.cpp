// Draw formulas of the four distributions.
#include "Variates.h"

#include <limits>
#include <tuple>

namespace velmora {
namespace {

bool fitsInt32(double truncated)
{
    return truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::min())
        && truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

// A rate below 0 would turn times negative, and one of 0 divides by zero.
void requirePositiveRate(double rate, int parameter)
{
    if (!(rate > 0.0))
        throw ParameterError(parameter, "интенсивность должна быть больше 0, задайте число больше 0");
}

// The whole part of MAX, which bounds a uniform draw.
std::int32_t uniformBound(const DistributionSetting& setting)
{
    const double bound = std::trunc(setting.p1);
    if (!std::isfinite(setting.p1) || !fitsInt32(bound))
        throw ParameterError(1, "значение вне допустимого диапазона, задайте число от -2147483648 до 2147483647");
    return static_cast<std::int32_t>(bound);
}

}  // namespace

VariateDraw::VariateDraw(const DistributionSetting& setting)
    : setting_(setting)
{
    switch (setting.kind) {
    case DistributionKind::Uniform:
        below_ = shell::RandomBelowBound(uniformBound(setting));
        break;
    case DistributionKind::Erlang2:
        requirePositiveRate(setting.p1, 1);
        requirePositiveRate(setting.p2, 2);
        c1_ = -1.0 / setting.p1;
        c2_ = 1.0 / setting.p2;
        break;
    case DistributionKind::Normal:
        break;
    case DistributionKind::Exponential:
        requirePositiveRate(setting.p1, 1);
        c1_ = -1.0 / setting.p1;
        break;
    }
}

std::int32_t VariateDraw::truncated(double value, int blame)
{
    const double whole = std::trunc(value);
    if (!std::isfinite(value) || !fitsInt32(whole))
        throw ParameterError(blame, "интенсивность так мала, что время выходит за допустимый диапазон, увеличьте её");
    return static_cast<std::int32_t>(whole);
}

std::int32_t VariateDraw::normal(double value) const
{
    const double whole = std::trunc(value);
    if (std::isfinite(whole) && fitsInt32(whole))
        return static_cast<std::int32_t>(whole);
    // A mean that is itself out of range is to blame; otherwise the spread is.
    if (!fitsInt32(std::trunc(setting_.p1)))
        throw ParameterError(1, "матожидание вне допустимого диапазона, уменьшите его по модулю");
    throw ParameterError(2, "разброс так велик, что время выходит за допустимый диапазон, уменьшите его");
}

std::string TimeRangeMessage(const TimeRangeError& error, DistributionKind arrival, DistributionKind processing,
                             const std::function<std::string(Side side, int parameter)>& name)
{
    std::string message = error.message();
    const char* separator = ": ";
    for (const auto& [side, kind, blamed] : {std::tuple{Side::Arrival, arrival, error.arrival()},
                                             std::tuple{Side::Processing, processing, error.processing()}}) {
        if (!blamed)
            continue;
        // Times grow with MAX, the mean and the spread, and shrink as rates grow.
        const bool rate = kind == DistributionKind::Erlang2 || kind == DistributionKind::Exponential;
        const bool twoParameters = kind == DistributionKind::Erlang2 || kind == DistributionKind::Normal;
        message += separator;
        message += rate ? "увеличьте «" : "уменьшите «";
        message += name(side, 1) + "»";
        if (twoParameters)
            message += " или «" + name(side, 2) + "»";
        separator = "; ";
    }
    return message;
}

std::int32_t DrawVariate(const DistributionSetting& setting, shell::RandomSources& sources)
{
    // A single uniform draw divides once, rather than working out the bound's inverse for one use.
    if (setting.kind == DistributionKind::Uniform)
        return shell::RandomBelow(uniformBound(setting), sources);
    return VariateDraw(setting)(sources);
}

}  // namespace velmora
