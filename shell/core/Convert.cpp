// Conversions are hand-validated before std::from_chars, which is locale-independent
// but more permissive about what it stops at than a whole-field check needs.
#include "Convert.h"

#include "Exception.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace shell {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string Quoted(std::string_view text)
{
    constexpr std::size_t maxShown = 40;
    std::string shown(text.substr(0, maxShown));
    if (text.size() > maxShown) {
        // Do not cut a UTF-8 sequence in half.
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80)
            shown.pop_back();
        if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0)
            shown.pop_back();
        shown += "…";
    }
    return "\"" + shown + "\"";
}

namespace {

[[noreturn]] void notANumber(std::string_view text)
{
    throw Exception(Quoted(text) + " — не число");
}

[[noreturn]] void outOfRange(std::string_view text)
{
    throw Exception(Quoted(text) + " — число вне допустимого диапазона");
}

}  // namespace

namespace {

// A plain decimal number as read from text: its digits in the syntax that
// std::from_chars reads, and the decimal order of magnitude of its first
// significant digit, which tells an underflow (a tiny number, read as zero)
// from an overflow (an error).
struct ScannedNumber {
    std::string digits;
    bool negative = false;
    bool zero = true;  // no significant digit
    std::int64_t magnitude = 0;
};

// Moves `pos` past a sign; whether it was a minus.
bool scanSign(std::string_view body, std::size_t& pos)
{
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-'))
        return body[pos++] == '-';
    return false;
}

// The digits before and after the decimal separator ('.' or ','): false when
// there are none.
bool scanMantissa(std::string_view body, std::size_t& pos, ScannedNumber& number)
{
    std::int64_t integerDigits = 0;
    std::int64_t leadingFractionZeros = 0;
    std::size_t digits = 0;
    for (; pos < body.size() && isDigit(body[pos]); ++pos, ++digits) {
        if (body[pos] != '0' || !number.zero) {
            number.zero = false;
            ++integerDigits;
        }
        number.digits += body[pos];
    }
    if (pos < body.size() && (body[pos] == '.' || body[pos] == ',')) {
        number.digits += '.';
        for (++pos; pos < body.size() && isDigit(body[pos]); ++pos, ++digits) {
            if (number.zero && body[pos] == '0')
                ++leadingFractionZeros;
            else
                number.zero = false;
            number.digits += body[pos];
        }
    }
    number.magnitude = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
    return digits > 0;
}

// An exponent after 'e' or 'E', if any: false when it has no digits.
bool scanExponent(std::string_view body, std::size_t& pos, ScannedNumber& number)
{
    if (pos == body.size() || (body[pos] != 'e' && body[pos] != 'E'))
        return true;
    number.digits += 'e';
    ++pos;
    const bool negative = pos < body.size() && body[pos] == '-';
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-'))
        number.digits += body[pos++];
    std::int64_t exponent = 0;
    std::size_t digits = 0;
    for (; pos < body.size() && isDigit(body[pos]); ++pos, ++digits) {
        exponent = std::min<std::int64_t>(exponent * 10 + (body[pos] - '0'), 1'000'000'000);
        number.digits += body[pos];
    }
    number.magnitude += negative ? -exponent : exponent;
    return digits > 0;
}

std::optional<ScannedNumber> scanNumber(std::string_view body)
{
    ScannedNumber number;
    std::size_t pos = 0;
    number.negative = scanSign(body, pos);
    if (!scanMantissa(body, pos, number) || !scanExponent(body, pos, number) || pos != body.size())
        return std::nullopt;
    return number;
}

}  // namespace

double StrToFloat(std::string_view text)
{
    const std::optional<ScannedNumber> number = scanNumber(trimmed(text));
    if (!number)
        notANumber(text);
    const std::string& digits = number->digits;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (!number->zero && number->magnitude >= 0)
            outOfRange(text);
        value = 0.0;
    } else if (ec != std::errc() || end != digits.data() + digits.size()) {
        notANumber(text);
    }
    return number->negative ? -value : value;
}

float StrToSingle(std::string_view text)
{
    // Rounding decides the range: "3.4028235e38" is the largest float, and only
    // from halfway to the next power of two does a number round to infinity.
    const float value = static_cast<float>(StrToFloat(text));
    if (std::isinf(value))
        outOfRange(text);
    return value;
}

std::int32_t StrToInt(std::string_view text)
{
    const std::string_view body = trimmed(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
        negative = body[pos] == '-';
        ++pos;
    }
    if (pos == body.size())
        throw Exception(Quoted(text) + " — не целое число");

    std::int64_t magnitude = 0;
    for (; pos < body.size(); ++pos) {
        if (!isDigit(body[pos]))
            throw Exception(Quoted(text) + " — не целое число");
        magnitude = std::min<std::int64_t>(magnitude * 10 + (body[pos] - '0'), std::int64_t{1} << 40);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw Exception(Quoted(text) + " — целое число вне допустимого диапазона");
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToIntInRange(std::string_view text, std::int32_t min, std::int32_t max)
{
    const std::int32_t value = StrToInt(text);
    if (value < min || value > max)
        throw Exception(Quoted(text) + " — задайте число от " + std::to_string(min) + " до " + std::to_string(max));
    return value;
}

std::uint64_t StrToUInt64(std::string_view text)
{
    const std::string_view body = trimmed(text);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (body.empty() || !isDigit(body.front()) || end != body.data() + body.size())
        throw Exception(Quoted(text) + " — не целое неотрицательное число");
    if (ec == std::errc::result_out_of_range)
        throw Exception(Quoted(text) + " — целое число вне допустимого диапазона");
    return value;
}

std::string FloatToStr(double value, std::string_view decimalSeparator)
{
    if (value == 0.0)
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));

    // to_chars writes "1.5e+20"; the general format of the windows is "1,5E20".
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c == '.') {
            text += decimalSeparator;
        } else if (c == 'e') {
            text += 'E';
            std::size_t j = i + 1;
            if (digits[j] == '-')
                text += digits[j];
            if (digits[j] == '+' || digits[j] == '-')
                ++j;
            while (j + 1 < digits.size() && digits[j] == '0')
                ++j;
            text += digits.substr(j);
            break;
        } else {
            text += c;
        }
    }
    return text;
}

std::string_view PluralForm(std::int64_t n, std::string_view one, std::string_view few, std::string_view many)
{
    // The remainder keeps n's sign and is turned afterwards, since the smallest
    // std::int64_t has no negation.
    const std::int64_t remainder = n % 100;
    const std::int64_t units = remainder < 0 ? -remainder : remainder;
    if (units >= 11 && units <= 14)
        return many;
    switch (units % 10) {
    case 1:
        return one;
    case 2:
    case 3:
    case 4:
        return few;
    default:
        return many;
    }
}

}  // namespace shell
