// kestrin's series window driven as a user would.
#include "kestrin/ui/Kestrin.h"

#include "../../support/Menus.h"
#include "../../support/SeriesWindowFixture.h"
#include "shell/ui/SweepChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace kestrin {
namespace {

using SeriesWindowTest = SeriesWindowFixture<TForm1>;

// A sweep of every good's threshold, as the window and the command line both
// run it: the same bytes, a row and a chart point per value, L falling.
TEST_F(SeriesWindowTest, ASweepOfTheThresholdsGivesTheCommandLinesNumbers)
{
    EXPECT_EQ(window->windowTitle(), "Серия расчётов");
    auto* vary = control<QComboBox>("VaryCombo");
    ASSERT_EQ(vary->count(), 1 + 2 + 2 * GoodsCount);
    EXPECT_EQ(vary->itemText(1), "Порог, все товары");
    EXPECT_EQ(vary->itemText(2), "Заказ, все товары");
    EXPECT_EQ(vary->itemText(3), "Порог, товар 1");
    EXPECT_EQ(vary->itemText(22), "Заказ, товар 10");
    for (QLineEdit* order : form.orders())
        order->setText("5");
    vary->setCurrentIndex(1);
    type("RunsEdit", "20");
    type("SeedEdit", "5");
    type("FromEdit", "0");
    type("ToEdit", "19");
    type("PointsEdit", "20");
    QTest::keyClick(control("RunsEdit"), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->running(); }, 60'000));
    QApplication::processEvents();
    ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
    const auto* table = control<QTableWidget>("ResultsTable");
    EXPECT_EQ(table->rowCount(), 20);
    // After the value and L's interval: median, 95th percentile, smallest and largest.
    const auto cell = [table](int column) { return QLocale().toDouble(table->item(0, column)->text()); };
    EXPECT_TRUE(cell(4) <= cell(2) && cell(2) < cell(3) && cell(3) <= cell(5));
    const auto* chart = control<shell::SweepChart>("Chart");
    ASSERT_EQ(chart->lines().size(), 1u);
    const auto& l = chart->lines().front().estimates;
    EXPECT_GT(l.front().mean, 0.2);
    EXPECT_LT(l.back().mean, 0.01);

    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("series.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(KESTRIN),
                      {"--series", "--runs", "20", "--seed", "5", "--orders", "5", "--vary", "threshold:all=0:19:20"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());
}

// With costs a sweep finds the cheapest value, as the command line does, and
// marks the values that its runs cannot tell from it; the chart can show the
// cost a day. Costs are counted with L alone, so with the goods' measures their
// fields are not available, and the series is the command line's of goods.
TEST_F(SeriesWindowTest, CostsFindTheCheapestValueAndGoodsLeaveThemOut)
{
    type("RunsEdit", "30");
    type("SeedEdit", "6");
    type("holdingEdit", QLocale().toString(0.1));
    type("shortageEdit", "5");
    type("deliveryEdit", "20");
    vary("Порог, все товары");
    type("FromEdit", "0");
    type("ToEdit", "200");
    type("PointsEdit", "5");
    run();
    ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
    auto* table = control<QTableWidget>("ResultsTable");
    ASSERT_EQ(table->rowCount(), 5);
    EXPECT_EQ(table->horizontalHeaderItem(6)->text(), "Затраты в день");
    QStringList marks;
    for (int row = 0; row < 5; ++row)
        marks << table->item(row, 7)->text();
    EXPECT_EQ(marks.count("самая дешёвая"), 1);
    EXPECT_TRUE(marks.contains("дороже"));

    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("costs.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(KESTRIN),
                      {"--series", "--runs", "30", "--seed", "6", "--vary", "threshold:all=0:200:5", "--holding-cost",
                       "0.1", "--shortage-cost", "5", "--delivery-cost", "20"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());
    const QString cheapest =
        QString::fromUtf8(commandLine.readAllStandardError()).section("cheapest: ", 1).section('\n', 0, 0);
    EXPECT_EQ(table->item(static_cast<int>(marks.indexOf("самая дешёвая")), 0)->text(), cheapest);
    const QString status = control<QLabel>("StatusLabel")->text();
    EXPECT_TRUE(status.contains("Меньше всего затрат в день — при значении " + cheapest + ".")) << status.toStdString();

    auto* statistic = control<QComboBox>("StatisticCombo");
    statistic->setCurrentIndex(statistic->findText("Затраты в день"));
    EXPECT_EQ(control<shell::SweepChart>("Chart")->lines().front().name, "Затраты в день");

    auto* measures = control<QComboBox>("MeasureCombo");
    measures->setCurrentIndex(measures->findText("товары"));
    EXPECT_FALSE(control("ExtrasBox")->isEnabled());
    run();
    EXPECT_EQ(table->rowCount(), 5 * (GoodsCount + 1));
    const QByteArray goods = saveAs(folder.filePath("goods.csv"));
    commandLine.start(
        QStringLiteral(KESTRIN),
        {"--series", "--runs", "30", "--seed", "6", "--vary", "threshold:all=0:200:5", "--measures", "goods"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(goods, commandLine.readAllStandardOutput());
    EXPECT_EQ(control<shell::SweepChart>("Chart")->lines().size(), std::size_t{GoodsCount + 1});
}

// An experiment keeps every order, threshold, the day count and the costs:
// opened after they changed, it shows them again, and the series it makes is
// the command line's of the experiment saved beside the results.
TEST_F(SeriesWindowTest, AnExperimentKeepsTheFieldsAndTheCosts)
{
    const auto fields = [this] {
        QStringList texts;
        for (int good = 0; good < GoodsCount; ++good)
            texts << form.orders()[good]->text() << form.thresholds()[good]->text();
        texts << form.findChild<QLineEdit*>("G")->text();
        for (const char* cost : {"holdingEdit", "shortageEdit", "deliveryEdit"})
            texts << control<QLineEdit>(cost)->text();
        return texts;
    };
    for (int good = 0; good < GoodsCount; ++good) {
        form.orders()[good]->setText(QString::number(10 + good) + QLocale().decimalPoint() + "5");
        form.thresholds()[good]->setText(QString::number(20 * good));
    }
    form.findChild<QLineEdit*>("G")->setText("120");
    type("holdingEdit", "0" + QLocale().decimalPoint() + "1");
    type("deliveryEdit", "30");
    type("RunsEdit", "12");
    type("SeedEdit", "3");
    const QStringList saved = fields();
    QTemporaryDir folder;
    fileCommand(Qt::Key_S, folder.filePath("warehouse.json"));
    for (QLineEdit* field : form.findChildren<QLineEdit*>())
        field->setText("1");
    ASSERT_NE(fields(), saved);
    fileCommand(Qt::Key_O, folder.filePath("warehouse.json"));
    ASSERT_TRUE(messages.isEmpty()) << messages.front().toStdString();
    EXPECT_EQ(fields(), saved);

    run();
    const QByteArray results = saveAs(folder.filePath("results.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(KESTRIN), {"--series", "--experiment", folder.filePath("results.json")});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(results, commandLine.readAllStandardOutput());
    EXPECT_TRUE(results.contains("cost")) << results.toStdString();
}

// Orders below 0 are refused in a sweep's range as in the fields, by the
// range field's name, which then has the focus.
TEST_F(SeriesWindowTest, AnOrderRangeBelowZeroIsRefusedByItsField)
{
    auto* vary = control<QComboBox>("VaryCombo");
    vary->setCurrentIndex(vary->findText("Заказ, товар 3"));
    ASSERT_EQ(vary->currentIndex(), 3 + GoodsCount + 2);
    type("FromEdit", "-1");
    type("ToEdit", "5");
    QTest::mouseClick(control<QPushButton>("RunButton"), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), "Изменять, от: \"-1\" — должно быть не меньше 0");
    EXPECT_FALSE(window->running());
    EXPECT_EQ(QApplication::focusWidget(), control("FromEdit"));
}

// With orders of 10 no good runs short at the highest thresholds: an L of 0,
// which a logarithmic scale cannot show, so the switch is not offered, and
// says why.
TEST_F(SeriesWindowTest, AnLOf0KeepsTheScaleLinear)
{
    for (QLineEdit* order : form.orders())
        order->setText("10");
    control<QComboBox>("VaryCombo")->setCurrentIndex(1);
    type("RunsEdit", "20");
    type("FromEdit", "0");
    type("ToEdit", "19");
    type("PointsEdit", "20");
    run();
    ASSERT_EQ(control<shell::SweepChart>("Chart")->lines().front().estimates.back().mean, 0);
    auto* check = control<QCheckBox>("LogScaleCheck");
    EXPECT_FALSE(check->isEnabled());
    EXPECT_TRUE(check->toolTip().startsWith("Недоступна: ")) << check->toolTip().toStdString();
}

// The menu item brings a minimised series window back as it was, in front.
TEST_F(SeriesWindowTest, TheMenuItemBringsBackTheMinimisedWindow)
{
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMinimized(); }));
    form.activateWindow();
    ASSERT_TRUE(focused(&form));
    ASSERT_TRUE(chooseFromMenu(form, "Эксперимент", "Серия расчётов…"));
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(focused(window));
}

}  // namespace
}  // namespace kestrin
