// Random draws of the queueing model: the four distributions of arrival intervals
// and processing times.
#pragma once

#include "shell/Exception.h"
#include "shell/Random.h"

#include <cstdint>
#include <string>
#include <utility>

namespace velmora {

enum class DistributionKind { Uniform, Erlang2, Normal, Exponential };

// p2 is meaningful only for Erlang2 (second rate) and Normal (standard deviation).
struct DistributionSetting {
    DistributionKind kind;
    double p1;
    double p2;
};

// A draw that its parameters cannot give. The message says what is wrong with
// the parameter and what to change; it does not name the parameter's field,
// which only the window knows.
class ParameterError : public shell::Exception {
public:
    ParameterError(int parameter, std::string message)
        : shell::Exception(std::move(message))
        , parameter_(parameter)
    {
    }
    // 1 for p1, 2 for p2.
    int parameter() const noexcept { return parameter_; }

private:
    int parameter_;
};

// One draw, truncated toward zero. Throws ParameterError for a rate of 0 (before
// any draw), for a MAX beyond the signed 32-bit range, and for a draw that has no
// signed 32-bit integer, naming the parameter to blame.
std::int32_t DrawVariate(const DistributionSetting& setting, shell::RandomSources& sources);

// (Rand + 1) / 32768: never 0, exactly 1 for Rand = 32767, so its logarithm is defined.
double UnitDraw(shell::RandomSources& sources);

}  // namespace velmora
