// Text <-> number conversions used by the windows, with Russian messages for text that is no number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace shell {

// Plain decimal number: blanks around, optional sign, '.' or ',' as the decimal
// separator, optional exponent. Throws Exception otherwise, quoting the text.
double StrToFloat(std::string_view text);

// StrToFloat held as a 32-bit float; a number that rounds beyond the largest
// float is rejected.
float StrToSingle(std::string_view text);

// Whole decimal number in the signed 32-bit range; blanks around and a sign allowed.
std::int32_t StrToInt(std::string_view text);

// General format: at most 15 significant digits, no trailing zeros, an exponent
// such as "E20" only for very large or small values, "0" for zero.
std::string FloatToStr(double value, std::string_view decimalSeparator);

// A text as messages quote it: in double quotes, and cut after 40 bytes (never
// inside a UTF-8 sequence) with "…", so that a message box stays readable.
std::string quoted(std::string_view text);

// The form of a Russian noun after the whole number n: `one` for 1, 21, 31, ...,
// `few` for 2-4, 22-24, ..., `many` for 0, 5-20, 25-30, ...
std::string_view PluralForm(std::int64_t n, std::string_view one, std::string_view few, std::string_view many);

}  // namespace shell
