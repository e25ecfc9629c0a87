// The result chart: round axis scales, flows that stay visible where they
// coincide, what it tells a screen reader, and its readouts, menu and files,
// driven by tooltip, mouse and key events.
#include "velmora/ui/Chart.h"

#include "../../support/ChartEvents.h"
#include "../../support/Pixels.h"
#include "shell/ui/Application.h"
#include "shell/ui/Files.h"
#include "velmora/ui/ChartTools.h"

#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QImage>
#include <QLegend>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <numeric>

namespace velmora {
namespace {

class ChartTest : public testing::Test {
protected:
    ChartTest()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
        chart.resize(577, 465);
        // Added as the window adds them: flow 2 at the bottom, flow 1 on top.
        flows[1] = chart.addAreaSeries("Поток 2", QColor(0x00, 0x80, 0x00));
        flows[2] = chart.addAreaSeries("Поток 3", QColor(0xFF, 0xFF, 0x00));
        flows[0] = chart.addAreaSeries("Поток 1", QColor(0xFF, 0x00, 0x00));
        tools = new ChartTools(&chart, flows, [this] { return haveResults ? &results : nullptr; });
        std::iota(results.Result1.begin(), results.Result1.end(), 10);
        results.Result2.fill(12);
        results.Result3.fill(70);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    ~ChartTest() override
    {
        shell::setErrorDisplay(nullptr);
        shell::setSaveDialog(nullptr);
    }
    void fill(int flow, const std::vector<QPointF>& points)
    {
        flows[flow]->Clear();
        for (const QPointF& point : points)
            flows[flow]->AddXY(point.x(), point.y(), QString(), clTeeColor);
    }
    // Bins of 2 ticks from 10 to 70, flow f's share in bin k being shares[f][k];
    // the results they stand for are there.
    void show(const std::vector<std::vector<double>>& shares)
    {
        haveResults = true;
        for (int f = 0; f < 3; ++f) {
            std::vector<QPointF> points;
            for (int k = 0; k < 31 && !shares[f].empty(); ++k)
                points.emplace_back(10 + 2 * k, k < static_cast<int>(shares[f].size()) ? shares[f][k] : 0);
            fill(f, points);
        }
        QApplication::processEvents();
    }
    // Flow f's histogram of its results over the range, as the window builds it.
    void showHistogram(int f, const HistogramRange& range)
    {
        haveResults = true;
        const auto& values = f == 0 ? results.Result1 : f == 1 ? results.Result2 : results.Result3;
        std::vector<QPointF> points;
        for (const HistogramPoint& point : BuildHistogram(values, range.L, range.h))
            points.emplace_back(point.X, point.Y);
        fill(f, points);
    }
    QImage render()
    {
        QApplication::processEvents();
        return chart.grab().toImage();
    }
    // How many pixels of flow f's outline colour the plot's column at x holds:
    // the thickness of its top where a single bar stands there.
    int outlinePixelsAt(int f, double x)
    {
        QApplication::processEvents();
        const QImage image = chart.viewport()->grab().toImage();
        return pixelsNear(image, flows[f]->color(), 60, QRect(at(x, 0).x(), 0, 1, image.height()));
    }
    // Whether a flow's fill colours the plot at that value.
    bool filledAt(double x, double y)
    {
        QApplication::processEvents();
        return chart.viewport()->grab().toImage().pixelColor(at(x, y)).hsvSaturation() > 50;
    }
    QPoint at(double x, double y)
    {
        return chart.mapFromScene(chart.chart()->mapToScene(chart.chart()->mapToPosition(QPointF(x, y))));
    }
    // The tooltip that resting the pointer there brings up.
    std::string tooltipAt(QPoint position) { return ::tooltipAt(chart, position); }
    // Whether no tooltip stays there (Qt takes a moment to hide one).
    bool noTooltipAt(QPoint position)
    {
        tooltipAt(position);
        return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000);
    }
    // The event that a right click, the Menu key or a touch hold brings.
    void requestMenu(QContextMenuEvent::Reason reason, QWidget* target)
    {
        QContextMenuEvent event(reason, QPoint(100, 100), target->mapToGlobal(QPoint(100, 100)));
        QApplication::sendEvent(target, &event);
    }
    // Chooses a menu item by its text with the mouse.
    void chooseInMenu(const QString& text)
    {
        requestMenu(QContextMenuEvent::Keyboard, &chart);
        QMenu* menu = tools->menu();
        ASSERT_TRUE(menu->isVisible());
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        ASSERT_FALSE(menu->isVisible()) << text.toStdString();
    }
    void answerSaveDialog(const QString& path, int filter)
    {
        shell::setSaveDialog([path, filter](QWidget*, const QString&, const QStringList&) {
            return std::optional<shell::SaveTarget>({path, filter});
        });
    }

    QStringList messages;
    TChart chart;
    std::array<TAreaSeries*, 3> flows;  // flows 1, 2 and 3
    ChartTools* tools;
    TResultArrays results;
    bool haveResults = false;
};

TEST_F(ChartTest, CoincidingFlowsAllStayVisible)
{
    const std::vector<QPointF> points{{0, 0.9}, {100, 0.1}, {200, 0}};
    for (int flow = 0; flow < 3; ++flow)
        fill(flow, points);
    const QImage image = render();
    for (TAreaSeries* s : flows)
        EXPECT_GT(pixelsNear(image, s->color(), 40), 200) << s->title().toStdString();
}

TEST_F(ChartTest, AxesCoverThePointsWithRoundPlainTicks)
{
    fill(1, {{11720, 0.35}, {12215, 0.65}, {12710, 0}});
    fill(2, {{11720, 0.1}, {12710, 0}});
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
    flows[2]->Clear();
    // The tallest bar's top, here on a tick, gets room for the whole of its
    // outline, which is widest for the lowest series, flow 2.
    fill(1, {{0, 0.3}, {5, 0}});
    render();
    EXPECT_EQ(x->max(), 5);
    EXPECT_NEAR(y->max(), 0.35, 1e-12);
    EXPECT_EQ(y->tickCount(), 8);
    EXPECT_GE(outlinePixelsAt(1, 2.5), 5);
    // Long numbers get fewer ticks, so that no label is elided.
    fill(1, {{0, 1}, {144'000'000, 0}});
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
    fill(0, points);
    points[0].setY(0);
    points[1].setY(0.5);
    points[29].setY(0.25);
    points[28].setY(0.25);
    fill(1, points);
    render();
    EXPECT_EQ(chart.accessibleDescription(),
              "Поток 1: от 10 до 70 тиков, наибольшая доля 50.0 % — от 10 до 12 тиков; "
              "Поток 2: от 13 до 70 тиков, наибольшая доля 50.0 % — от 13 до 14 тиков.");
}

TEST_F(ChartTest, ReadoutListsEveryShownFlowInTheBinUnderThePointer)
{
    EXPECT_TRUE(noTooltipAt(at(11, 0.1)));
    show({{0.5, 0.002}, {0, 0.011}, {0.001, 0.021}});
    EXPECT_EQ(tooltipAt(at(11, 0.1)),
              "Поток 1: от 10 до 12 тиков — 500 задач, 50.0 %\n"
              "Поток 2: от 10 до 12 тиков — 0 задач, 0.0 %\n"
              "Поток 3: от 10 до 12 тиков — 1 задача, 0.1 %");
    EXPECT_EQ(tooltipAt(at(13.5, 0.4)),
              "Поток 1: от 13 до 14 тиков — 2 задачи, 0.2 %\n"
              "Поток 2: от 13 до 14 тиков — 11 задач, 1.1 %\n"
              "Поток 3: от 13 до 14 тиков — 21 задача, 2.1 %");
    EXPECT_TRUE(noTooltipAt(QPoint(2, 2)));
    // A single flow's readout opens with its summary.
    show({{}, {0, 1}, {}});
    EXPECT_EQ(tooltipAt(at(13, 0.5)),
              tools->summary(2).toStdString() + "\nПоток 2: от 13 до 14 тиков — 1000 задач, 100.0 %");
    EXPECT_EQ(tools->summary(2).toStdString(),
              "Поток 2, время отклика в тиках:\nсреднее 12.0, медиана 12.0,\n90-й процентиль 12, "
              "95-й процентиль 12,\nнаименьшее 12, наибольшее 12");
}

// With MAX 1 on both sides every time of flows 1 and 2 is 3 ticks and of flow
// 3 2 ticks: a flow's own range is then empty, and in the common one each flow
// fills a bin much narrower than a tick.
TEST_F(ChartTest, FlowsWhoseTimesAreAllEqualShowOneBarATickWideWithItsReadout)
{
    results.Result1.fill(3);
    results.Result2.fill(3);
    results.Result3.fill(2);
    showHistogram(1, FlowRange(results.Result2));
    render();
    EXPECT_EQ(tooltipAt(at(3.5, 0.5)), tools->summary(2).toStdString() + "\nПоток 2: 3 тика — 1000 задач, 100.0 %");
    // The bar stands in the plot with room on either side, not filling it.
    EXPECT_TRUE(chart.axisX()->min() <= 2 && chart.axisX()->max() >= 5);
    EXPECT_TRUE(filledAt(3.05, 0.5) && filledAt(3.95, 0.5));
    EXPECT_FALSE(filledAt(2.5, 0.5) || filledAt(4.5, 0.5));
    EXPECT_EQ(chart.accessibleDescription(), "Поток 2: 3 тика, наибольшая доля 100.0 % — 3 тика.");
    const HistogramRange common = CommonRange(results.Result1, results.Result2, results.Result3);
    for (int f = 0; f < 3; ++f)
        showHistogram(f, common);
    render();
    EXPECT_EQ(tooltipAt(at(2.5, 0.5)),
              "Поток 1: 2 тика — 0 задач, 0.0 %\nПоток 2: 2 тика — 0 задач, 0.0 %\n"
              "Поток 3: 2 тика — 1000 задач, 100.0 %");
    EXPECT_EQ(tooltipAt(at(3.9, 0.5)),
              "Поток 1: 3 тика — 1000 задач, 100.0 %\nПоток 2: 3 тика — 1000 задач, 100.0 %\n"
              "Поток 3: 3 тика — 0 задач, 0.0 %");
    EXPECT_TRUE(filledAt(2.05, 0.5) && filledAt(3.95, 0.5));
    EXPECT_FALSE(filledAt(1.5, 0.5) || filledAt(4.5, 0.5));
    // Beside a flow of equal times, one whose times spread over fewer ticks than
    // bins: every tick of the range a bar of its own, the last one included.
    for (int i = 0; i < 1000; ++i)
        results.Result1[i] = 2 + i / 125;
    for (int f = 0; f < 3; ++f)
        showHistogram(f, CommonRange(results.Result1, results.Result2, results.Result3));
    render();
    for (const auto& [x, first, last] : {std::tuple{2.5, "2 тика — 125 задач, 12.5 %", "2 тика — 1000 задач, 100.0 %"},
                                         {6.5, "6 тиков — 125 задач, 12.5 %", "6 тиков — 0 задач, 0.0 %"},
                                         {9.5, "9 тиков — 125 задач, 12.5 %", "9 тиков — 0 задач, 0.0 %"}}) {
        const std::string readout = tooltipAt(at(x, 0.05));
        EXPECT_TRUE(readout.starts_with(std::string("Поток 1: ") + first)) << readout;
        EXPECT_TRUE(readout.ends_with(std::string("Поток 3: ") + last)) << readout;
    }
}

// Resting the pointer on a flow's legend entry shows its summary.
TEST_F(ChartTest, LegendEntriesShowTheirFlowsSummary)
{
    show({{1}, {1}, {1}});
    const QRectF legend = chart.chart()->legend()->geometry();
    QStringList seen;
    for (double y = legend.top(); y < legend.bottom(); y += 3) {
        const QPoint position = chart.mapFromScene(chart.chart()->mapToScene(QPointF(legend.left() + 12, y)));
        QTest::mouseMove(chart.viewport(), position);
        const QString text = QString::fromStdString(tooltipAt(position));
        if (!text.isEmpty() && !seen.contains(text))
            seen << text;
    }
    EXPECT_EQ(seen, QStringList({tools->summary(2), tools->summary(3), tools->summary(1)}));
}

TEST_F(ChartTest, MenuOpensOnceByMouseMenuKeyOrShiftF10AndWaitsForResults)
{
    QMenu* menu = tools->menu();
    const auto expectOpenWithActions = [menu](bool enabled) {
        ASSERT_TRUE(menu->isVisible());
        for (QAction* action : menu->actions())
            EXPECT_EQ(action->isEnabled(), enabled) << action->text().toStdString();
        menu->hide();
    };
    requestMenu(QContextMenuEvent::Mouse, chart.viewport());
    expectOpenWithActions(false);
    show({{1}, {1}, {1}});
    chart.setFocus();
    QTest::keyClick(&chart, Qt::Key_F10, Qt::ShiftModifier);
    QSignalSpy shown(menu, &QMenu::aboutToShow);
    requestMenu(QContextMenuEvent::Keyboard, &chart);
    EXPECT_EQ(shown.count(), 0);
    expectOpenWithActions(true);
}

TEST_F(ChartTest, SavesThePictureAndTheDataWholeOrNotAtAllAndCopiesThePicture)
{
    show({{0.5, 0.5}, {1}, {}});
    QTemporaryDir folder;
    chooseInMenu("Копировать изображение");
    EXPECT_EQ(QApplication::clipboard()->image().size(), chart.grab().size());
    // The name gets the chosen type's extension, and a typed one chooses its type.
    answerSaveDialog(folder.filePath("chart"), 0);
    chooseInMenu("Сохранить изображение…");
    EXPECT_EQ(QImage(folder.filePath("chart.png")).size(), chart.grab().size());
    answerSaveDialog(folder.filePath("chart.svg"), 0);
    chooseInMenu("Сохранить изображение…");
    QFile svg(folder.filePath("chart.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    EXPECT_TRUE(drawing.contains("<svg") && drawing.contains("<path"));
    for (const char* title : {">Распределение<", ">Время отклика, тики<", ">Доля задач<"})
        EXPECT_TRUE(drawing.contains(title)) << title;
    EXPECT_FALSE(drawing.contains("<image"));
    for (const auto& [filter, header, rows] : {std::tuple{0, "flow,response_time", 3001}, {1, "flow,x,y", 63}}) {
        answerSaveDialog(folder.filePath("data.csv"), filter);
        chooseInMenu("Сохранить данные…");
        QFile csv(folder.filePath("data.csv"));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        EXPECT_EQ(lines.front(), QByteArray(header) + "\r");
        EXPECT_EQ(lines.size(), rows + 1);
    }
    EXPECT_TRUE(messages.isEmpty());
    // A save that cannot succeed says so, naming the file, and leaves nothing.
    QFile blocker(folder.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = folder.filePath("blocker/chart.png");
    answerSaveDialog(path, 0);
    chooseInMenu("Сохранить изображение…");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().startsWith("Не удалось сохранить файл «" + QDir::toNativeSeparators(path) + "»: "));
    EXPECT_FALSE(QFile::exists(path));
}

// What a menu action throws is shown like any handler's error, and the chart
// goes on: it still redraws and its next save succeeds.
TEST_F(ChartTest, AFailingMenuActionIsShownAndTheChartGoesOn)
{
    show({{1}, {1}, {1}});
    shell::setSaveDialog([](QWidget*, const QString&, const QStringList&) -> std::optional<shell::SaveTarget> {
        throw shell::Exception("Диалог сохранения недоступен");
    });
    chooseInMenu("Сохранить данные…");
    EXPECT_EQ(messages, QStringList{"Диалог сохранения недоступен"});
    fill(0, {{0, 0.3}, {500, 0}});
    render();
    EXPECT_EQ(chart.axisX()->max(), 500);
    QTemporaryDir folder;
    answerSaveDialog(folder.filePath("data.csv"), 0);
    chooseInMenu("Сохранить данные…");
    EXPECT_TRUE(QFile::exists(folder.filePath("data.csv")));
    EXPECT_EQ(messages.size(), 1);
}

}  // namespace
}  // namespace velmora
