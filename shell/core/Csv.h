// Text for other programs: CSV after RFC 4180 (comma separator, CRLF line ends,
// a header row first), numbers in the C locale whatever the user's locale, so
// that scripts and spreadsheets read them alike.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

class Csv {
public:
    explicit Csv(std::initializer_list<std::string_view> header);

    // A number with at most 12 significant digits, so that 24.3 is not written
    // as 24.299999999999997.
    Csv& operator<<(double value);
    // A 32-bit float with the fewest digits that read back as the same float.
    Csv& operator<<(float value);
    Csv& operator<<(std::int64_t value);
    Csv& operator<<(int value) { return *this << std::int64_t{value}; }
    // Text, quoted where it holds a comma, a quote or a line end.
    Csv& operator<<(std::string_view text);
    // A number, or a field left empty for none.
    Csv& operator<<(const std::optional<double>& value);
    // A field left empty.
    Csv& skip();
    // Ends the current row.
    Csv& end();
    // A whole row.
    template <typename... Fields>
    Csv& row(const Fields&... fields)
    {
        (*this << ... << fields);
        return end();
    }

    const std::string& text() const { return text_; }

private:
    void separate();

    std::string text_;
    bool rowStarted_ = false;
};

}  // namespace shell
