// Text conversions on arbitrary bytes: a value or shell::Exception, nothing else.
#include "shell/Convert.h"
#include "shell/Exception.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const double value = shell::StrToFloat(text);
        if (!std::isfinite(value))
            __builtin_trap();
        if (shell::FloatToStr(value, ",").empty())
            __builtin_trap();
    } catch (const shell::Exception&) {
    }
    try {
        const float value = shell::StrToSingle(text);
        if (!std::isfinite(value))
            __builtin_trap();
    } catch (const shell::Exception&) {
    }
    try {
        shell::StrToInt(text);
    } catch (const shell::Exception&) {
    }
    return 0;
}
