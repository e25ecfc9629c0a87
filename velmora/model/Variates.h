// Random draws of the queueing model: the four distributions of arrival intervals
// and processing times.
#pragma once

#include "Engine.h"

#include "shell/core/Exception.h"
#include "shell/core/Random.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace velmora {

enum class DistributionKind { Uniform, Erlang2, Normal, Exponential };

// The two sides of the model's settings: arrival intervals and processing times.
enum class Side { Arrival, Processing };

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

// (Rand + 1) / 32768: never 0, exactly 1 for Rand = 32767, so its logarithm is defined.
template <typename Sources>
double UnitDraw(Sources& sources)
{
    return (sources.Rand() + 1) * (1.0 / 32768.0);
}

// One side's draws: its setting checked and its constants worked out once, so
// that a run's thousands of draws only draw. The constructor throws
// ParameterError for a rate of 0 or below and for a MAX beyond the signed 32-bit
// range; a draw throws it for a value that has no signed 32-bit integer. Both
// name the parameter to blame.
class VariateDraw {
public:
    explicit VariateDraw(const DistributionSetting& setting);

    const DistributionSetting& setting() const { return setting_; }

    // One draw from `sources` (Rand, LRand and RandG as shell::RandomSources
    // offers them), truncated toward zero.
    template <typename Sources>
    std::int32_t operator()(Sources& sources) const
    {
        // Uniform draws, the most frequent, inline into the run; the others
        // call the logarithm or the normal source anyway.
        if (setting_.kind == DistributionKind::Uniform)
            return below_(sources);
        return logOrNormal(sources);
    }

private:
    template <typename Sources>
    [[gnu::noinline]] std::int32_t logOrNormal(Sources& sources) const
    {
        switch (setting_.kind) {
        case DistributionKind::Erlang2: {
            const double term1 = c1_ * std::log(UnitDraw(sources));
            const double term2 = c2_ * std::log(UnitDraw(sources));
            return truncated(term1 - term2, std::abs(term1) >= std::abs(term2) ? 1 : 2);
        }
        case DistributionKind::Normal:
            return normal(sources.RandG(setting_.p1, setting_.p2));
        case DistributionKind::Exponential:
            return truncated(c1_ * std::log(UnitDraw(sources)), 1);
        case DistributionKind::Uniform:
            break;
        }
        return below_(sources);
    }

    // A log-based draw: `blame` is the parameter whose term dominates the value.
    static std::int32_t truncated(double value, int blame);
    std::int32_t normal(double value) const;

    DistributionSetting setting_;
    shell::RandomBelowBound below_{0};
    double c1_ = 0;  // -1 / rate of the (first) exponential phase
    double c2_ = 0;  // +1 / rate of the second Erlang phase
};

// The message for times out of range, naming the parameters to change on each
// side that produced them and which way; `name` gives a parameter (1 or 2) of a
// side as the caller shows it.
std::string TimeRangeMessage(const TimeRangeError& error, DistributionKind arrival, DistributionKind processing,
                             const std::function<std::string(Side side, int parameter)>& name);

// One draw: VariateDraw for a single call.
std::int32_t DrawVariate(const DistributionSetting& setting, shell::RandomSources& sources);

}  // namespace velmora
