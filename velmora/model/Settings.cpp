// Keys are the side's English name and the parameter's number.
#include "Settings.h"

namespace velmora {

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

SeriesSettings WithParameter(SeriesSettings settings, SweepParameter varied, double value)
{
    DistributionSetting& setting = varied.side == Side::Arrival ? settings.arrival : settings.processing;
    (varied.parameter == 1 ? setting.p1 : setting.p2) = value;
    return settings;
}

}  // namespace velmora
