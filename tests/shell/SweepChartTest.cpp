// The sweep chart as a reader uses it: lines hidden and shown from the legend,
// the readout under the pointer, the logarithmic scale, and the picture copied
// and saved from the context menu.
#include "shell/ui/SweepChart.h"

#include "../support/ChartEvents.h"
#include "../support/ChartText.h"
#include "shell/ui/Application.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/Files.h"

#include <QApplication>
#include <QAreaSeries>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <gtest/gtest.h>

namespace {

// A line through the means at 50, 75, ..., 150, each interval mean ± spread.
shell::SweepLine line(const QString& name, std::vector<double> means, double spread)
{
    shell::SweepLine made{name, Qt::blue, {50, 75, 100, 125, 150}, {}};
    for (const double mean : means)
        made.estimates.push_back({mean, mean - spread, mean + spread});
    return made;
}

class SweepChartTest : public testing::Test {
protected:
    SweepChartTest()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
        chart.resize(700, 450);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    ~SweepChartTest() override
    {
        shell::setErrorDisplay(nullptr);
        shell::setSaveDialog(nullptr);
    }
    // Flow 3 towers over the others; flow 2's first interval reaches below 0.
    void show(const std::vector<shell::SweepLine>& extra = {})
    {
        std::vector<shell::SweepLine> lines{line("Поток 1", {120, 120, 120, 120, 120}, 10),
                                            line("Поток 2", {5, 210, 220, 230, 240}, 10),
                                            line("Поток 3", {50000, 40000, 30000, 20000, 10000}, 100)};
        lines.insert(lines.end(), extra.begin(), extra.end());
        chart.showLines("Время", "Изменять", "Тики", lines);
        QApplication::processEvents();
    }
    QPoint at(double x, double y)
    {
        const QPointF inChart = chart.chart()->mapToPosition({x, y}, chart.chart()->series().back());
        return chart.mapFromScene(chart.chart()->mapToScene(inChart));
    }
    void clickLegend(const QString& name)
    {
        EXPECT_TRUE(::clickLegend(chart, name)) << "no legend entry " << name.toStdString();
    }
    std::string tooltipAt(QPoint position) { return ::tooltipAt(chart, position); }
    double axisTop() { return chart.chart()->axes(Qt::Vertical).front()->property("max").toDouble(); }
    QAreaSeries* band(std::size_t line)
    {
        QList<QAreaSeries*> bands;
        for (QAbstractSeries* series : chart.chart()->series()) {
            if (auto* area = qobject_cast<QAreaSeries*>(series))
                bands << area;
        }
        return bands.value(static_cast<qsizetype>(line));
    }
    void chooseInMenu(const QString& text)
    {
        chart.setFocus();
        QTest::keyClick(&chart, Qt::Key_F10, Qt::ShiftModifier);
        QMenu* menu = chart.menu()->menu();
        ASSERT_TRUE(menu->isVisible());
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        ASSERT_FALSE(menu->isVisible()) << text.toStdString();
    }

    QStringList messages;
    shell::SweepChart chart;
};

// A click on a line's legend entry hides the line and its band, and the Y
// axis fits the lines left; the entry stays, faded, and a second click shows
// them again. A line hidden so stays hidden in the next lines of its name.
TEST_F(SweepChartTest, TheLegendHidesAndShowsALineWithItsBand)
{
    show();
    EXPECT_GE(axisTop(), 50000);
    clickLegend("Поток 3");
    EXPECT_FALSE(chart.lineShown(2));
    EXPECT_FALSE(band(2)->isVisible());
    EXPECT_TRUE(chart.lineShown(0) && band(0)->isVisible());
    EXPECT_LT(axisTop(), 1000);
    EXPECT_TRUE(shownTexts(chart).contains("Поток 3"));
    QLegendMarker* marker = chart.chart()->legend()->markers(chart.chart()->series().back()).front();
    EXPECT_TRUE(marker->isVisible());
    EXPECT_LT(marker->labelBrush().color().alpha(), 255);
    for (QAbstractSeries* area : {static_cast<QAbstractSeries*>(band(0)), static_cast<QAbstractSeries*>(band(2))})
        EXPECT_FALSE(chart.chart()->legend()->markers(area).front()->isVisible());
    show();
    EXPECT_FALSE(chart.lineShown(2));
    clickLegend("Поток 3");
    EXPECT_TRUE(chart.lineShown(2) && band(2)->isVisible());
    EXPECT_GE(axisTop(), 50000);
}

// Resting the pointer over the plot names the swept value nearest to it, with
// each shown line's mean and interval there; over the legend it says what a
// click does, and elsewhere nothing.
TEST_F(SweepChartTest, TheReadoutNamesTheValueUnderThePointer)
{
    EXPECT_EQ(tooltipAt(QPoint(350, 200)), "");
    show();
    const std::string at100 = "Изменять = 100\nПоток 1: 120 [110; 130]\nПоток 2: 220 [210; 230]\n"
                              "Поток 3: 30000 [29900; 30100]";
    EXPECT_EQ(tooltipAt(at(100, 20000)), at100);
    EXPECT_EQ(tooltipAt(at(110, 100)), at100);
    EXPECT_TRUE(tooltipAt(at(120, 100)).starts_with("Изменять = 125\n"));
    clickLegend("Поток 2");
    EXPECT_EQ(tooltipAt(at(100, 20000)), "Изменять = 100\nПоток 1: 120 [110; 130]\nПоток 3: 30000 [29900; 30100]");
    EXPECT_TRUE(QTest::qWaitFor([this] { return tooltipAt(QPoint(2, 2)).empty(); }, 1000));
    const QRectF legend = chart.chart()->legend()->geometry();
    EXPECT_TRUE(tooltipAt(chart.mapFromScene(chart.chart()->mapToScene(legend.center()))).starts_with("Щелчок"));
}

// On a logarithmic axis of whole decades a band whose interval reaches 0 or
// below stops at the axis; a line with a mean of 0 keeps the axis linear
// until it is hidden.
TEST_F(SweepChartTest, TheLogarithmicScaleTakesMeansAbove0)
{
    show();
    chart.setLogarithmic(true);
    ASSERT_TRUE(chart.logarithmic());
    auto* axis = qobject_cast<QLogValueAxis*>(chart.chart()->axes(Qt::Vertical).front());
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->min(), 1);
    EXPECT_EQ(axis->max(), 100000);
    EXPECT_EQ(band(1)->lowerSeries()->at(0).y(), 1);
    EXPECT_EQ(band(1)->lowerSeries()->at(1).y(), 200);
    show({line("L", {1, 0, 1, 1, 1}, 0.5)});
    EXPECT_FALSE(chart.logarithmicPossible());
    EXPECT_NE(qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).front()), nullptr);
    EXPECT_EQ(band(1)->lowerSeries()->at(0).y(), -5);
    clickLegend("L");
    EXPECT_TRUE(chart.logarithmic());
    EXPECT_NE(qobject_cast<QLogValueAxis*>(chart.chart()->axes(Qt::Vertical).front()), nullptr);
}

// The picture is copied, and saved as PNG or SVG, from the menu that Shift+F10
// opens; before there are lines the menu offers nothing.
TEST_F(SweepChartTest, ThePictureIsCopiedAndSavedFromTheMenu)
{
    chart.setFocus();
    QTest::keyClick(&chart, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = chart.menu()->menu();
    ASSERT_TRUE(menu->isVisible());
    for (QAction* action : menu->actions())
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    menu->hide();
    show();
    chooseInMenu("Копировать изображение");
    EXPECT_EQ(QApplication::clipboard()->image().size(), chart.grab().size());
    QTemporaryDir folder;
    for (const int filter : {0, 1}) {
        shell::setSaveDialog([&folder, filter](QWidget*, const QString&, const QStringList&) {
            return std::optional<shell::SaveTarget>({folder.filePath("chart"), filter});
        });
        chooseInMenu("Сохранить изображение…");
    }
    EXPECT_EQ(QImage(folder.filePath("chart.png")).size(), chart.grab().size());
    QFile svg(folder.filePath("chart.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    for (const char* text : {"<title>Время</title>", ">Изменять<", ">Тики<", ">Поток 3<", "<path"})
        EXPECT_TRUE(drawing.contains(text)) << text;
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
