// The chart layer: round axis scales, and flows that stay visible where they coincide.
#include "velmora/ui/Chart.h"

#include <QApplication>
#include <QChart>
#include <QFontMetricsF>
#include <QImage>
#include <QValueAxis>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(NiceScaleTest, TicksOnRoundValuesCoveringTheRange)
{
    struct Case {
        double low, high, minStep;
        AxisScale expected;
    };
    const std::vector<Case> cases{
        {11720, 12710, 1, {11600, 12800, 200, 0}},
        {0, 15500, 1, {0, 16000, 2000, 0}},
        {-35, 120, 1, {-40, 120, 20, 0}},
        {7, 7, 1, {7, 8, 1, 0}},  // all results equal: one unit wide, not zero
        {0, 1, 0, {0, 1, 0.2, 1}},
        {0, 0.36, 0, {0, 0.4, 0.1, 1}},
        {0, 0.08, 0, {0, 0.08, 0.02, 2}},
        {0, 3e9, 1, {0, 3e9, 5e8, 0}},
    };
    for (const Case& c : cases) {
        const AxisScale scale = NiceScale(c.low, c.high, 4, 8, c.minStep);
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        EXPECT_NEAR(scale.min, c.expected.min, 1e-9);
        EXPECT_NEAR(scale.max, c.expected.max, 1e-9);
        EXPECT_NEAR(scale.step, c.expected.step, 1e-12);
        EXPECT_EQ(scale.decimals, c.expected.decimals);
    }
}

class ChartTest : public testing::Test {
protected:
    ChartTest()
    {
        chart.resize(577, 465);
        series = {chart.addAreaSeries("Поток 2", QColor(0x00, 0x80, 0x00)),
                  chart.addAreaSeries("Поток 3", QColor(0xFF, 0xFF, 0x00)),
                  chart.addAreaSeries("Поток 1", QColor(0xFF, 0x00, 0x00))};
    }
    void fill(TAreaSeries* target, const std::vector<QPointF>& points)
    {
        target->Clear();
        for (const QPointF& point : points)
            target->AddXY(point.x(), point.y(), QString(), clTeeColor);
    }
    QImage render()
    {
        chart.show();
        QApplication::processEvents();
        return chart.grab().toImage();
    }

    TChart chart;
    std::vector<TAreaSeries*> series;
};

TEST_F(ChartTest, CoincidingFlowsAllStayVisible)
{
    const std::vector<QPointF> points{{0, 0.9}, {100, 0.1}, {200, 0}};
    for (TAreaSeries* s : series)
        fill(s, points);
    const QImage image = render();
    for (TAreaSeries* s : series) {
        const QColor outline = s->color();
        int seen = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                seen += std::abs(pixel.red() - outline.red()) + std::abs(pixel.green() - outline.green())
                        + std::abs(pixel.blue() - outline.blue())
                    < 40;
            }
        }
        EXPECT_GT(seen, 200) << s->title().toStdString();
    }
}

TEST_F(ChartTest, AxesCoverThePointsWithRoundPlainTicks)
{
    fill(series[0], {{11720, 0.35}, {12215, 0.65}, {12710, 0}});
    fill(series[1], {{11720, 0.1}, {12710, 0}});
    render();
    const QValueAxis* x = chart.axisX();
    const QValueAxis* y = chart.axisY();
    EXPECT_EQ(x->min(), 11600);
    EXPECT_EQ(x->max(), 12800);
    EXPECT_EQ(x->tickCount(), 7);
    EXPECT_EQ(x->labelFormat(), "%.0f");
    EXPECT_EQ(y->min(), 0);
    EXPECT_NEAR(y->max(), 0.7, 1e-12);
    EXPECT_EQ(y->tickCount(), 8);
    EXPECT_EQ(y->labelFormat(), "%.1f");
    // Emptied series leave the axes to the rest; five ticks at least.
    series[1]->Clear();
    fill(series[0], {{0, 0.3}, {5, 0}});
    render();
    EXPECT_EQ(x->max(), 5);
    EXPECT_NEAR(y->max(), 0.3, 1e-12);
    EXPECT_EQ(y->tickCount(), 7);
    // Long numbers get fewer ticks, so that no label is elided.
    fill(series[0], {{0, 1}, {144'000'000, 0}});
    render();
    const double spacing = chart.chart()->plotArea().width() / (x->tickCount() - 1);
    EXPECT_GT(spacing, QFontMetricsF(x->labelsFont()).horizontalAdvance(QString::number(x->max(), 'f', 0)));
    EXPECT_GE(x->tickCount(), 2);
}

TEST_F(ChartTest, DescriptionSaysWhatIsShown)
{
    // 500 results of 10 and 500 of 70: bins of 2 ticks from 10 to 70.
    std::vector<QPointF> points;
    for (int k = 1; k <= 31; ++k)
        points.emplace_back(10 + 2 * (k - 1), k == 1 || k == 30 ? 0.5 : 0.0);
    fill(series[2], points);
    points[0].setY(0);
    points[1].setY(0.5);
    points[29].setY(0.25);
    points[28].setY(0.25);
    fill(series[0], points);
    render();
    EXPECT_EQ(chart.accessibleDescription(),
              "Поток 1: от 10 до 70 тиков, наибольшая доля 50.0 % — от 10 до 12 тиков; "
              "Поток 2: от 13 до 70 тиков, наибольшая доля 50.0 % — от 13 до 14 тиков.");
}

}  // namespace
}  // namespace velmora
