// Counts, values and intervals as text for the windows.
#include "NumberText.h"

#include "shell/core/Convert.h"

#include <algorithm>
#include <cmath>

namespace shell {

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString NumberWithNoun(const QLocale& locale, std::int64_t n, const char* one, const char* few, const char* many)
{
    return locale.toString(n) + QLatin1Char(' ') + QString::fromUtf8(PluralForm(n, one, few, many));
}

QString EstimateText(const QLocale& locale, const Estimate& estimate)
{
    const double halfWidth = (estimate.high - estimate.low) / 2;
    const auto magnitude = [](double value) {
        return value == 0 || !std::isfinite(value) ? 0 : static_cast<int>(std::floor(std::log10(std::abs(value))));
    };
    // The interval's width to two significant digits, and the mean to three at least.
    const int decimals =
        std::clamp(std::max(halfWidth > 0 ? 1 - magnitude(halfWidth) : 0, 2 - magnitude(estimate.mean)), 0, 12);
    return QStringLiteral("%1 [%2; %3]")
        .arg(locale.toString(estimate.mean, 'f', decimals), locale.toString(estimate.low, 'f', decimals),
             locale.toString(estimate.high, 'f', decimals));
}

}  // namespace shell
