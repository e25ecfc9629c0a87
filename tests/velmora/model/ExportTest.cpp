// CSV for other programs: header, rows in order, CRLF, and numbers that no locale changes.
#include "velmora/model/Export.h"

#include <gtest/gtest.h>

#include <locale>
#include <numeric>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        result.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line ends with CRLF";
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "no bare line feed";
    return result;
}

// A locale that writes 1,5 for 1.5, as many users' do.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(ExportTest, ResponseTimesFlowByFlowInAscendingOrder)
{
    TResultArrays results;
    std::iota(results.Result1.begin(), results.Result1.end(), 0);
    results.Result2.fill(-5);
    results.Result3.fill(2147483647);
    const std::vector<std::string> rows = lines(ResponseTimesCsv(results));
    ASSERT_EQ(rows.size(), 3001u);
    EXPECT_EQ(rows[0], "flow,response_time");
    EXPECT_EQ(rows[1], "1,0");
    EXPECT_EQ(rows[1000], "1,999");
    EXPECT_EQ(rows[1001], "2,-5");
    EXPECT_EQ(rows[3000], "3,2147483647");
}

TEST(ExportTest, HistogramPointsOfTheShownFlowsWithAPoint)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::vector<FlowHistogram> shown(2);
    shown[0].flow = 3;
    shown[1].flow = 1;
    for (int k = 0; k < 31; ++k) {
        shown[0].points[k] = {10 + 33.3 * k, k == 0 ? 1.0 : 0.0};
        shown[1].points[k] = {-2.5 + k, k == 1 ? 0.034 : 0.0};
    }
    const std::vector<std::string> rows = lines(HistogramCsv(shown));
    std::locale::global(previous);
    ASSERT_EQ(rows.size(), 63u);
    EXPECT_EQ(rows[0], "flow,x,y");
    EXPECT_EQ(rows[1], "3,10,1");
    EXPECT_EQ(rows[2], "3,43.3,0");
    EXPECT_EQ(rows[32], "1,-2.5,0");
    EXPECT_EQ(rows[33], "1,-1.5,0.034");
}

}  // namespace
}  // namespace velmora
