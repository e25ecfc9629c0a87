// Numbers go through std::to_chars, which never looks at a locale.
#include "Csv.h"

#include <charconv>

namespace shell {

Csv::Csv(std::initializer_list<std::string_view> header)
{
    for (const std::string_view name : header)
        *this << name;
    end();
}

void Csv::separate()
{
    if (rowStarted_)
        text_ += ',';
    rowStarted_ = true;
}

Csv& Csv::operator<<(double value)
{
    separate();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    text_.append(buffer, result.ptr);
    return *this;
}

Csv& Csv::operator<<(float value)
{
    separate();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
    return *this;
}

Csv& Csv::operator<<(std::int64_t value)
{
    separate();
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
    return *this;
}

Csv& Csv::operator<<(std::string_view text)
{
    separate();
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        text_ += text;
        return *this;
    }
    text_ += '"';
    for (const char c : text) {
        if (c == '"')
            text_ += '"';
        text_ += c;
    }
    text_ += '"';
    return *this;
}

Csv& Csv::operator<<(const std::optional<double>& value)
{
    return value ? *this << *value : skip();
}

Csv& Csv::skip()
{
    separate();
    return *this;
}

Csv& Csv::end()
{
    text_ += "\r\n";
    rowStarted_ = false;
    return *this;
}

}  // namespace shell
