// The values of the command line's options from arbitrary text: read whole or
// refused with a usage error that names the option, never half read. The
// first byte chooses the option.
#include "kestrin/ui/CommandLine.h"
#include "shell/core/Convert.h"
#include "shell/headless/CommandLine.h"
#include "velmora/ui/CommandLine.h"

#include <QString>

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    try {
        switch (data[0] % 4) {
        case 0: {
            const velmora::DistributionSetting setting =
                velmora::ReadDistributionOption(QStringLiteral("arrival"), text);
            if (!std::isfinite(setting.p1) || !std::isfinite(setting.p2))
                __builtin_trap();
            break;
        }
        case 1:
        case 2:
            for (const float value : kestrin::ReadQuantitiesOption(QStringLiteral("orders"), data[0] % 4 == 1, text)) {
                if (!std::isfinite(value) || (data[0] % 4 == 1 && value < 0))
                    __builtin_trap();
            }
            break;
        case 3: {
            const auto [what, range] = shell::SplitVary(text, QStringLiteral("X=A:B:P"));
            const bool whole = data[0] % 8 == 7;
            const shell::Sweep sweep = shell::ReadVaryRange(what.toStdString(), range, shell::StrToFloat, whole);
            if (sweep.values.size() < 2 || sweep.values.size() > 50 || sweep.values.front() == sweep.values.back())
                __builtin_trap();
            break;
        }
        }
    } catch (const shell::UsageError&) {
    }
    return 0;
}
