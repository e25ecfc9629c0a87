// Numbers as the windows write them: in the user's locale, without group
// separators, with the Russian noun that fits a count, and means with their
// intervals to the digits that tell them apart.
#pragma once

#include "shell/core/Series.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace shell {

// The user's decimal separator, but no group separators: 4720 must not read as 4,72.
QLocale NumberLocale();

// A number as a field shows it for the user to edit: the fewest digits that
// read back as the same number, and the locale's decimal separator.
QString FieldText(double value);
QString FieldText(float value);

// n in the locale's format followed by the form of the Russian noun that fits it.
QString NumberWithNoun(const QLocale& locale, std::int64_t n, const char* one, const char* few, const char* many);

// A mean and its interval, "80,062 [80,005; 80,120]": digits enough to tell the
// interval's width to two significant digits, and the mean to three at least.
QString EstimateText(const QLocale& locale, const Estimate& estimate);

}  // namespace shell
