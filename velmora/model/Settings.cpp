// Keys are the side's English name and the parameter's number.
#include "Settings.h"

#include "shell/core/Convert.h"
#include "shell/core/Exception.h"

namespace velmora {

std::string_view DistributionName(DistributionKind kind)
{
    switch (kind) {
    case DistributionKind::Uniform:
        return "uniform";
    case DistributionKind::Erlang2:
        return "erlang";
    case DistributionKind::Normal:
        return "normal";
    case DistributionKind::Exponential:
        break;
    }
    return "exponential";
}

std::optional<DistributionKind> ParseDistributionName(std::string_view name)
{
    for (const DistributionKind kind : {DistributionKind::Uniform, DistributionKind::Erlang2, DistributionKind::Normal,
                                        DistributionKind::Exponential}) {
        if (name == DistributionName(kind))
            return kind;
    }
    return std::nullopt;
}

int ParameterCount(DistributionKind kind)
{
    return kind == DistributionKind::Erlang2 || kind == DistributionKind::Normal ? 2 : 1;
}

std::string ParameterKey(SweepParameter parameter)
{
    return (parameter.side == Side::Arrival ? "arrival:" : "processing:") + std::to_string(parameter.parameter);
}

std::optional<SweepParameter> ParseParameterKey(std::string_view key)
{
    for (const Side side : {Side::Arrival, Side::Processing}) {
        for (const int parameter : {1, 2}) {
            if (key == ParameterKey({side, parameter}))
                return SweepParameter{side, parameter};
        }
    }
    return std::nullopt;
}

SweepParameter ReadVariedParameter(const SeriesSettings& settings, std::string_view key)
{
    const std::optional<SweepParameter> varied = ParseParameterKey(key);
    if (!varied)
        throw shell::Exception(shell::Quoted(key) + " — ожидается arrival:1, arrival:2, processing:1 или processing:2");
    const DistributionKind kind = varied->side == Side::Arrival ? settings.arrival.kind : settings.processing.kind;
    if (varied->parameter > ParameterCount(kind))
        throw shell::Exception(shell::Quoted(key) + " — у распределения " + std::string(DistributionName(kind))
                               + " один параметр");
    return *varied;
}

SeriesSettings WithParameter(SeriesSettings settings, SweepParameter varied, double value)
{
    DistributionSetting& setting = varied.side == Side::Arrival ? settings.arrival : settings.processing;
    (varied.parameter == 1 ? setting.p1 : setting.p2) = value;
    return settings;
}

}  // namespace velmora
