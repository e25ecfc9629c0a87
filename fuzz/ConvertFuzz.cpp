// Text conversions on arbitrary bytes: a value or shell::Exception, nothing else;
// and the plural form of any count.
#include "shell/core/Convert.h"
#include "shell/core/Exception.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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
    // The first eight bytes as a count: every count has one of the three forms.
    std::int64_t count = 0;
    std::memcpy(&count, data, std::min(size, sizeof count));
    const std::string_view form = shell::PluralForm(count, "one", "few", "many");
    if (form != "one" && form != "few" && form != "many")
        __builtin_trap();
    return 0;
}
