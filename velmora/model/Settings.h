// The settings of the queueing model, both sides, and how its parameters are
// named wherever they are named by key: in sweeps, messages and --vary.
#pragma once

#include "Variates.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// How files and the command line name a distribution: "uniform", "erlang",
// "normal" or "exponential"; and how many parameters it takes (1 or 2).
std::string_view DistributionName(DistributionKind kind);
std::optional<DistributionKind> ParseDistributionName(std::string_view name);
int ParameterCount(DistributionKind kind);

struct SeriesSettings {
    DistributionSetting arrival;
    DistributionSetting processing;
};

// A parameter of the settings: p1 or p2 of one side.
struct SweepParameter {
    Side side;
    int parameter;
    bool operator==(const SweepParameter&) const = default;
};

// "arrival:1", "arrival:2", "processing:1" or "processing:2".
std::string ParameterKey(SweepParameter parameter);
std::optional<SweepParameter> ParseParameterKey(std::string_view key);

// The parameter of `key` that the settings have; throws shell::Exception
// quoting the key and saying why it is none.
SweepParameter ReadVariedParameter(const SeriesSettings& settings, std::string_view key);

// The settings with one parameter set to `value`.
SeriesSettings WithParameter(SeriesSettings settings, SweepParameter varied, double value);

}  // namespace velmora
