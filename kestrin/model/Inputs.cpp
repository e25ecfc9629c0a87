// The range rules on top of the shell's conversions.
#include "Inputs.h"

#include "shell/core/Convert.h"
#include "shell/core/Exception.h"

namespace kestrin {

float ReadThreshold(std::string_view text)
{
    return shell::StrToSingle(text);
}

float ReadOrder(std::string_view text)
{
    const float order = shell::StrToSingle(text);
    if (order < 0.0f)
        throw shell::Exception(shell::Quoted(text) + " — должно быть не меньше 0");
    return order;
}

double ReadCost(std::string_view text)
{
    const double cost = shell::StrToFloat(text);
    if (cost < 0)
        throw shell::Exception(shell::Quoted(text) + " — должно быть не меньше 0");
    return cost;
}

std::int32_t ReadDayCount(std::string_view text)
{
    const std::int32_t days = shell::StrToInt(text);
    if (days < 1)
        throw shell::Exception(shell::Quoted(text) + " — должно быть не меньше 1");
    return days;
}

}  // namespace kestrin
