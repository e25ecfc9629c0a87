// Text conversions: what the fields accept, what they reject, and how results are shown.
#include "shell/core/Convert.h"
#include "shell/core/Exception.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

// The message a conversion gives for `text`, or "accepted".
template <auto convert>
std::string error(const std::string& text)
{
    try {
        convert(text);
    } catch (const shell::Exception& e) {
        return e.message();
    }
    return "accepted";
}
const auto floatError = error<shell::StrToFloat>;
const auto intError = error<shell::StrToInt>;

TEST(StrToFloatTest, AcceptsPlainDecimalNumbers)
{
    EXPECT_EQ(shell::StrToFloat("100"), 100.0);
    EXPECT_EQ(shell::StrToFloat("1.5"), 1.5);
    EXPECT_EQ(shell::StrToFloat("1,5"), 1.5);
    EXPECT_EQ(shell::StrToFloat("  -2.5e3\t"), -2500.0);
    EXPECT_EQ(shell::StrToFloat("+7"), 7.0);
    EXPECT_EQ(shell::StrToFloat(".5"), 0.5);
    EXPECT_EQ(shell::StrToFloat("5."), 5.0);
    EXPECT_EQ(shell::StrToFloat("1E-2"), 0.01);
    // Tiny numbers read as zero.
    EXPECT_EQ(shell::StrToFloat("1e-400"), 0.0);
    EXPECT_EQ(shell::StrToFloat("0.0000e99999"), 0.0);
}

TEST(StrToFloatTest, RejectsTextThatIsNoNumberQuotingIt)
{
    EXPECT_EQ(floatError("abc"), "\"abc\" — не число");
    for (const char* text :
         {"", "   ", "-", ".", "nan", "inf", "-Infinity", "0x10", "1.5x", "1e", "1.2.3", "1 000", "1,5,", "١", "e5"})
        EXPECT_NE(floatError(text), "accepted") << text;
}

TEST(StrToFloatTest, RejectsValuesBeyondTheDoubleRange)
{
    EXPECT_EQ(floatError("1e999"), "\"1e999\" — число вне допустимого диапазона");
    EXPECT_NE(floatError("-1e999"), "accepted");
    // Very long text is shortened in the message.
    EXPECT_LT(floatError(std::string(100000, '7') + "x").size(), 100u);
}

// The largest float is 3.40282347e38; numbers below the midpoint to 2^128,
// 340282356779733661637539395458142568448, round to it, and from there on to infinity.
TEST(StrToSingleTest, RejectsNumbersThatRoundBeyondTheFloatRange)
{
    constexpr float largest = std::numeric_limits<float>::max();
    EXPECT_EQ(shell::StrToSingle("1,5"), 1.5f);
    EXPECT_EQ(shell::StrToSingle("-3e38"), -3e38f);
    EXPECT_EQ(shell::StrToSingle("3.4028235e38"), largest);
    EXPECT_EQ(shell::StrToSingle("-3.40282356e38"), -largest);
    for (const char* text : {"3.40282357e38", "-3.4028236e38", "340282356779733661637539395458142568448", "1e39"})
        EXPECT_THROW(shell::StrToSingle(text), shell::Exception) << text;
}

TEST(StrToIntTest, AcceptsWholeNumbersInTheSigned32BitRange)
{
    EXPECT_EQ(shell::StrToInt("42"), 42);
    EXPECT_EQ(shell::StrToInt(" -17 "), -17);
    EXPECT_EQ(shell::StrToInt("+5"), 5);
    EXPECT_EQ(shell::StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(shell::StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToIntTest, RejectsFractionsJunkAndOutOfRange)
{
    EXPECT_EQ(intError("2.5"), "\"2.5\" — не целое число");
    EXPECT_EQ(intError("2147483648"), "\"2147483648\" — целое число вне допустимого диапазона");
    for (const char* text : {"", " ", "-", "1e3", "-2147483649", "99999999999999999999999", "12a", "0x10"})
        EXPECT_NE(intError(text), "accepted") << text;
}

TEST(FloatToStrTest, UsesGeneralFormatWithFifteenDigitsAndTheGivenSeparator)
{
    EXPECT_EQ(shell::FloatToStr(0.0, "."), "0");
    EXPECT_EQ(shell::FloatToStr(100.0, "."), "100");
    EXPECT_EQ(shell::FloatToStr(-2.5, "."), "-2.5");
    EXPECT_EQ(shell::FloatToStr(1.0 / 3.0, "."), "0.333333333333333");
    EXPECT_EQ(shell::FloatToStr(1e20, "."), "1E20");
    EXPECT_EQ(shell::FloatToStr(1.5e-7, "."), "1.5E-7");
    EXPECT_EQ(shell::FloatToStr(0.25, ","), "0,25");
    EXPECT_EQ(shell::FloatToStr(2.5e-10, ","), "2,5E-10");
}

TEST(PluralFormTest, FollowsTheLastTwoDigits)
{
    const auto form = [](std::int64_t n) { return std::string(shell::PluralForm(n, "задача", "задачи", "задач")); };
    constexpr std::int64_t smallest = std::numeric_limits<std::int64_t>::min();
    for (const std::int64_t n : {1, 21, 101, 1001, -1, -21})
        EXPECT_EQ(form(n), "задача") << n;
    for (const std::int64_t n : {2, 3, 4, 22, 34, 1002, -2, -1004})
        EXPECT_EQ(form(n), "задачи") << n;
    for (const std::int64_t n :
         std::initializer_list<std::int64_t>{0, 5, 11, 12, 13, 14, 19, 20, 111, 114, 1000, -11, smallest, smallest + 1})
        EXPECT_EQ(form(n), "задач") << n;
}

}  // namespace
