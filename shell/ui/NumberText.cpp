// Counts, values and intervals as text for the windows.
#include "NumberText.h"

#include "shell/core/Convert.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace shell {

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

namespace {

// Plain digits within everyday magnitudes, an exponent beyond them.
template <typename Number>
QString shortestText(Number value)
{
    std::array<char, 64> buffer{};
    const Number magnitude = std::abs(value);
    const auto format = magnitude == 0 || (magnitude >= Number(1e-4) && magnitude < Number(1e15))
        ? std::chars_format::fixed
        : std::chars_format::scientific;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format).ptr;
    QString text = QString::fromLatin1(buffer.data(), end - buffer.data());
    return text.replace(QLatin1Char('.'), NumberLocale().decimalPoint());
}

}  // namespace

QString FieldText(double value)
{
    return shortestText(value);
}

QString FieldText(float value)
{
    return shortestText(value);
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
