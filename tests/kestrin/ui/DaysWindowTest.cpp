// The "Склад по дням" window: opened from the main window, following its
// presses with what those very runs saw, its chart, table and files, driven by
// keys and the mouse.
#include "kestrin/ui/DaysWindow.h"
#include "kestrin/ui/Kestrin.h"
#include "kestrin/ui/StockChart.h"

#include "shell/ui/ChartMenu.h"

#include "../../support/ChartEvents.h"
#include "../../support/Menus.h"
#include "../../support/OwnWindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLegend>
#include <QLocale>
#include <QMenu>
#include <QScatterSeries>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <gtest/gtest.h>

namespace kestrin {
namespace {

class DaysWindowTest : public OwnWindowFixture<TForm1, DaysWindow, Qt::Key_U> {
protected:
    ~DaysWindowTest() override { QLocale::setDefault(QLocale::c()); }

    QLineEdit* field(const QString& name) { return form.findChild<QLineEdit*>(name); }
    // Orders are Edit1 to Edit10, thresholds Edit11 to Edit20.
    void typeGoods(int first, const QString& text)
    {
        for (int n = first; n < first + GoodsCount; ++n)
            field(QStringLiteral("Edit%1").arg(n))->setText(text);
    }
    void press() { QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton); }
    std::vector<GoodDay> days() { return form.lastDays()->recorder.days; }
    // The measures counted again from the recorded days of the last press.
    std::array<GoodMeasures, GoodsCount + 1> recount()
    {
        GoodsMeter meter;
        for (const GoodDay& day : days())
            meter(day);
        return meter.measures();
    }
    // The table as Ctrl+C copies it, cells split.
    std::vector<QStringList> copied()
    {
        QTest::keyClick(control("MeasuresTable"), Qt::Key_C, Qt::ControlModifier);
        std::vector<QStringList> lines;
        for (const QString& line : QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts))
            lines.push_back(line.split('\t'));
        return lines;
    }
    // Every number of the table is the recount's, and the warehouse's fill
    // rate is 1 − L as the main window shows it.
    void expectTableOfLastPress()
    {
        const std::vector<QStringList> lines = copied();
        ASSERT_EQ(lines.size(), 1u + GoodsCount + 1);
        EXPECT_EQ(lines[0].join('\t'),
                  "Товар\tСпрос\tПотеряно мест\tДоля удовлетворённого спроса\tДоля дней без "
                  "нехватки\tПоставок\tСредний запас\tНаименьший запас");
        const auto measures = recount();
        for (std::size_t row = 0; row < measures.size(); ++row) {
            const QStringList& cells = lines[row + 1];
            ASSERT_EQ(cells.size(), 1 + GoodStatisticCount);
            EXPECT_EQ(cells[0], row < GoodsCount ? QString::number(row + 1) : "Все товары");
            for (int statistic = 0; statistic < GoodStatisticCount; ++statistic) {
                const double expected = StatisticValue(measures[row], static_cast<GoodStatistic>(statistic));
                EXPECT_NEAR(QLocale().toDouble(cells[statistic + 1]), expected, std::abs(expected) * 1e-11)
                    << row << " " << statistic;
            }
        }
        const double l = QLocale().toDouble(field("L")->text());
        EXPECT_NEAR(QLocale().toDouble(lines.back()[3]), 1 - l, 1e-11);
    }
    QString shown(int row, int column) { return control<QTableWidget>("MeasuresTable")->item(row, column)->text(); }
    static QXYSeries* series(StockChart* chart, const QString& name)
    {
        for (QAbstractSeries* series : chart->chart()->series()) {
            if (series->name() == name)
                return static_cast<QXYSeries*>(series);
        }
        return nullptr;
    }
    static QPoint at(StockChart* chart, QPointF value)
    {
        QChart* plot = chart->chart();
        return chart->mapFromScene(plot->mapToScene(plot->mapToPosition(value, plot->series().front())));
    }
};

TEST_F(DaysWindowTest, CtrlUOpensItFromAFieldAndBeforeTheFirstPressItSaysWhenDaysCome)
{
    EXPECT_EQ(window->windowTitle(), "Склад по дням");
    EXPECT_EQ(field("Edit1")->text(), "100");
    auto* waiting = control<QLabel>("WaitingLabel");
    EXPECT_TRUE(waiting->isVisible());
    EXPECT_EQ(waiting->text(), "Дни склада появятся здесь после нажатия «Посчитать» в главном окне.");
    EXPECT_FALSE(control("SaveButton")->isEnabled());
    EXPECT_FALSE(control("SaveDaysButton")->isEnabled());
    shell::setSaveDialog([](QWidget*, const QString&, const QStringList&) {
        ADD_FAILURE() << "asked where to save days before the first press";
        return std::optional<shell::SaveTarget>();
    });
    EXPECT_FALSE(chooseFromMenu(form, "Файл", "Сохранить записи дней…"));
    press();
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_TRUE(control("MeasuresTable")->isVisible());
    EXPECT_TRUE(control("SaveDaysButton")->isEnabled());
}

// Orders of 3 and thresholds of 0 make goods run short on most days.
TEST_F(DaysWindowTest, FollowsEveryPressWithWhatThatRunSaw)
{
    typeGoods(1, "3");
    typeGoods(11, "0");
    press();
    expectTableOfLastPress();
    const auto first = form.lastDays();
    press();
    EXPECT_NE(form.lastDays(), first);
    expectTableOfLastPress();
    // A press while the window is closed shows when it opens again.
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    press();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
    ASSERT_TRUE(focused(window));
    expectTableOfLastPress();
    EXPECT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
}

// Measures that no draw changes: with nothing in stock every good runs short
// every day; with orders and thresholds of 100 none ever does.
TEST_F(DaysWindowTest, MeasuresThatNoDrawChangesInTheLocalesFormat)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    field("G")->setText("30");
    typeGoods(1, "0");
    typeGoods(11, "0");
    press();
    for (const int row : {0, 9, 10}) {
        EXPECT_EQ(shown(row, 4), "0") << row;
        EXPECT_EQ(shown(row, 5), row == 10 ? "300" : "30") << row;
        EXPECT_EQ(shown(row, 6), "0") << row;
        EXPECT_EQ(shown(row, 7), "0") << row;
    }
    EXPECT_EQ(shown(10, 0), "Все товары");
    EXPECT_TRUE(shown(10, 3).startsWith("0,")) << shown(10, 3).toStdString();
    typeGoods(1, "100");
    typeGoods(11, "100");
    press();
    for (const int row : {0, 10}) {
        EXPECT_EQ(shown(row, 2), "0") << row;
        EXPECT_EQ(shown(row, 3), "1") << row;
        EXPECT_EQ(shown(row, 4), "1") << row;
        EXPECT_EQ(shown(row, 7), row == 10 ? "1000" : "100") << row;
    }
}

TEST_F(DaysWindowTest, TheChartShowsTheChosenGoodsDaysThresholdAndReadout)
{
    field("G")->setText("40");
    typeGoods(1, "5");
    typeGoods(11, "2");
    field("Edit13")->setText("3");
    press();
    auto* combo = control<QComboBox>("GoodCombo");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->currentText(), "Товар 3");
    auto* chart = control<StockChart>("Chart");
    const auto expectGood = [this](StockChart* shown, int good) {
        const QList<QPointF> steps = series(shown, "Запас на начало дня")->points();
        ASSERT_EQ(steps.size(), 80);
        QList<QPointF> shortages;
        QList<QPointF> reorders;
        for (const GoodDay& day : days()) {
            if (day.good != good)
                continue;
            EXPECT_EQ(steps[2 * day.day - 2], QPointF(day.day - 0.5, day.stock)) << good << " " << day.day;
            EXPECT_EQ(steps[2 * day.day - 1], QPointF(day.day + 0.5, day.stock)) << good << " " << day.day;
            if (day.action != DayAction::None)
                (day.action == DayAction::Shortage ? shortages : reorders) << QPointF(day.day, day.stock);
        }
        EXPECT_EQ(series(shown, "Нехватка")->points(), shortages) << good;
        EXPECT_EQ(series(shown, "Дозаказ")->points(), reorders) << good;
        const float threshold = good == 3 ? 3 : 2;
        EXPECT_EQ(series(shown, "Порог")->points(), QList<QPointF>({{0.5, threshold}, {40.5, threshold}})) << good;
    };
    expectGood(chart, 3);
    auto* shortageMarks = static_cast<QScatterSeries*>(series(chart, "Нехватка"));
    EXPECT_NE(shortageMarks->markerShape(), static_cast<QScatterSeries*>(series(chart, "Дозаказ"))->markerShape());

    const GoodDay& first = form.lastDays()->at(1, 3);
    const QStringList readout = QString::fromStdString(tooltipAt(*chart, at(chart, {1, first.stock}))).split('\n');
    ASSERT_EQ(readout.size(), 5) << readout.join('\n').toStdString();
    EXPECT_EQ(readout[0], "Товар 3, день 1");
    EXPECT_EQ(readout[1], "Запас на начало дня: 5");
    ASSERT_TRUE(readout[2].startsWith("Спрос: "));
    EXPECT_NEAR(QLocale().toDouble(readout[2].mid(7)), first.demand, 5e-4);
    const char* happened = first.action == DayAction::Shortage ? "Нехватка: "
        : first.action == DayAction::Reorder                   ? "Дозаказ: "
                                                               : "Ни нехватки, ни дозаказа: ";
    EXPECT_TRUE(readout[3].startsWith(happened)) << readout[3].toStdString();
    EXPECT_EQ(chart->readoutAt(at(chart, {41.2, first.stock})), "");
    // The legend hides what it names, and says so; the picture comes from the
    // chart's menu.
    const QPointF legend = chart->chart()->legend()->geometry().center();
    EXPECT_TRUE(tooltipAt(*chart, chart->mapFromScene(chart->chart()->mapToScene(legend))).starts_with("Щелчок"));
    ASSERT_TRUE(clickLegend(*chart, "Дозаказ"));
    EXPECT_FALSE(series(chart, "Дозаказ")->isVisible());
    EXPECT_TRUE(series(chart, "Нехватка")->isVisible());
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = chart->menu()->menu();
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().front()).center());
    EXPECT_EQ(QApplication::clipboard()->image().size(), chart->grab().size());

    for (int down = 0; down < 8; ++down)
        QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->currentText(), "Все товары");
    EXPECT_FALSE(chart->isVisible());
    const auto axisY = [](StockChart* shown) {
        return static_cast<QValueAxis*>(shown->chart()->axes(Qt::Vertical)[0]);
    };
    for (int good = 1; good <= GoodsCount; ++good) {
        auto* small = window->findChild<StockChart*>(QStringLiteral("Chart%1").arg(good));
        EXPECT_TRUE(small->isVisible());
        expectGood(small, good);
        EXPECT_EQ(axisY(small)->max(), axisY(window->findChild<StockChart*>("Chart1"))->max());
    }
}

TEST_F(DaysWindowTest, SavesTheTableAndThePressesDayRecords)
{
    press();
    QTemporaryDir folder;
    EXPECT_EQ(saveAs(folder.filePath("goods.csv")), QByteArray::fromStdString(GoodMeasuresCsv(recount())));
    const QByteArray records = QByteArray::fromStdString(DayRecordsCsv(days()));
    EXPECT_EQ(saveAs(folder.filePath("days.csv"), "SaveDaysButton"), records);
    const QString fromMenu = folder.filePath("menu.csv");
    shell::setSaveDialog([&](QWidget*, const QString&, const QStringList&) { return shell::SaveTarget{fromMenu, 0}; });
    ASSERT_TRUE(chooseFromMenu(form, "Файл", "Сохранить записи дней…"));
    QFile saved(fromMenu);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), records);
}

TEST_F(DaysWindowTest, TabReachesEveryControlAndScreenReadersHearThem)
{
    field("G")->setText("7");
    press();
    control("GoodCombo")->setFocus();
    for (const char* next :
         {"ImageButton", "Chart", "MeasuresTable", "SaveButton", "SaveDaysButton", "CloseButton", "GoodCombo"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), next);
    }
    const auto spoken = [](QWidget* widget, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(widget)->text(text);
    };
    const auto labels = QAccessible::queryAccessibleInterface(control("GoodCombo"))->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Показать");
    EXPECT_EQ(spoken(control("MeasuresTable"), QAccessible::Name), "Показатели товаров");
    EXPECT_EQ(spoken(control("Chart"), QAccessible::Name), "График запаса");
    EXPECT_TRUE(
        spoken(control("Chart"), QAccessible::Description).startsWith("Товар 1, 7 дней: запас на начало дня от "));
    QTest::mouseClick(control<QPushButton>("CloseButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

// Run again on a small screen and at scale factor 2 (see tests/CMakeLists.txt).
using DaysScreenFitTest = DaysWindowTest;
TEST_F(DaysScreenFitTest, TheWindowAndItsControlsStayOnTheScreen)
{
    press();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    for (const char* name : {"GoodCombo", "Chart", "MeasuresTable", "SaveButton", "SaveDaysButton", "CloseButton"}) {
        QWidget* control = this->control(name);
        EXPECT_TRUE(window->rect().contains(QRect(control->mapTo(window, QPoint(0, 0)), control->size()))) << name;
    }
}

}  // namespace
}  // namespace kestrin
