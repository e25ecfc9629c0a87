// Text <-> number conversions used by the windows, with Russian messages for text that is no number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace shell {

// A text as messages quote it: in quotes, cut after 40 characters so that a
// message stays readable.
std::string Quoted(std::string_view text);

// Plain decimal number: blanks around, optional sign, '.' or ',' as the decimal
// separator, optional exponent. Throws Exception otherwise, quoting the text.
double StrToFloat(std::string_view text);

// StrToFloat held as a 32-bit float; a number that rounds beyond the largest
// float is rejected.
float StrToSingle(std::string_view text);

// Whole decimal number in the signed 32-bit range; blanks around and a sign allowed.
std::int32_t StrToInt(std::string_view text);

// StrToInt within [min, max]; the message of a number outside says the range.
std::int32_t StrToIntInRange(std::string_view text, std::int32_t min, std::int32_t max);

// Whole decimal number from 0 to 2^64 - 1; blanks around allowed, no sign.
std::uint64_t StrToUInt64(std::string_view text);

// General format: at most 15 significant digits, no trailing zeros, an exponent
// such as "E20" only for very large or small values, "0" for zero.
std::string FloatToStr(double value, std::string_view decimalSeparator);

// The form of a Russian noun after the whole number n: `one` for 1, 21, 31, ...,
// `few` for 2-4, 22-24, ..., `many` for 0, 5-20, 25-30, ...
std::string_view PluralForm(std::int64_t n, std::string_view one, std::string_view few, std::string_view many);

}  // namespace shell
