// velmora's series window driven as a user would: opened from the menu, filled
// in, run, stopped, copied and saved.
#include "velmora/ui/Unit1.h"

#include "velmora/model/Series.h"
#include "velmora/model/Servers.h"
#include "velmora/ui/Chart.h"

#include "../../support/ChartText.h"
#include "../../support/SeriesWindowFixture.h"
#include "shell/ui/SweepChart.h"

#include <QAbstractAxis>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

class SeriesWindowTest : public SeriesWindowFixture<TForm1> {
protected:
    QTableWidget* table() { return control<QTableWidget>("ResultsTable"); }
};

const QString arrival = "Распределения появления задач, ";
const QString processing = "Распределение обработки задач, ";

// Ctrl+R opens the window, whose fields are named as their captions; what it can
// vary follows the distributions the main window shows.
TEST_F(SeriesWindowTest, OpensFromTheMenuAndOffersTheParametersShown)
{
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Серия прогонов");
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(control("RunsEdit")), "Число прогонов");
    EXPECT_EQ(name(control("SeedEdit")), "Начальное число");
    // A combo box is heard by its value, and labelled by its frame.
    const auto labels = QAccessible::queryAccessibleInterface(control("VaryCombo"))->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Изменять");
    EXPECT_EQ(name(control("FromEdit")), "Изменять, от");
    EXPECT_EQ(name(control("ResultsTable")), "Итоги серии");
    EXPECT_EQ(name(control("Chart")), "График серии");
    const auto choices = [this] {
        auto* combo = control<QComboBox>("VaryCombo");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    };
    EXPECT_EQ(choices(), QStringList({"ничего", arrival + "MAX", processing + "MAX"}));
    vary(processing + "MAX");
    QTest::mouseClick(form.findChild<QRadioButton*>("norm"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(choices(), QStringList({"ничего", arrival + "Матожидание", arrival + "Дисперсия", processing + "MAX"}));
    // The chosen parameter stays chosen while it is shown.
    EXPECT_EQ(control<QComboBox>("VaryCombo")->currentText(), processing + "MAX");
}

// A bad field, in this window or in the main one, gives one message naming it,
// puts the focus on it with its text selected, and leaves no results; a swept
// value the model refuses is corrected in the range, and times out of range in
// the field named first. With every field valid, a series without a sweep runs.
TEST_F(SeriesWindowTest, BadFieldsAreNamedFocusedAndLeaveNoResults)
{
    struct Case {
        const char* field;  // in this window, or Edit1 of the main window
        QString text;
        QString message;
    };
    const std::vector<Case> cases{
        {"RunsEdit", "1", "Число прогонов: \"1\" — задайте число от 2 до 1000000"},
        {"SeedEdit", "-5", "Начальное число: \"-5\" — не целое неотрицательное число"},
        {"PrecisionEdit", "100", "Точность, %: \"100\" — задайте число больше 0 и меньше 100 или оставьте поле пустым"},
        {"FromEdit", "x", "Изменять, от: \"x\" — не число"},
        {"PointsEdit", "51", "Изменять, Точек: \"51\" — задайте число от 2 до 50"},
        {"ToEdit", "50", "Изменять, до: \"50\" — задайте конец, отличный от начала: иначе все точки одинаковы"},
        {"Edit1", "abc", arrival + "MAX: \"abc\" — не число"},
        {"FromEdit", "3e9",
         arrival + "MAX = 3000000000: значение вне допустимого диапазона, задайте число от -2147483648 до 2147483647"},
        {"Edit5", "2e9", "Моделируемые времена выходят за допустимый диапазон: уменьшите «" + processing + "MAX»"},
    };
    vary(arrival + "MAX");
    type("FromEdit", "50");
    type("ToEdit", "150");
    type("RunsEdit", "3");
    for (const Case& c : cases) {
        const bool main = QString::fromLatin1(c.field).startsWith("Edit");
        auto* field = main ? form.findChild<QLineEdit*>(c.field) : control<QLineEdit>(c.field);
        const QString valid = field->text();
        field->setText(c.text);
        control("RunButton")->setFocus();
        QTest::keyClick(control("RunButton"), Qt::Key_Space);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.isEmpty(); }, 60'000)) << c.field;
        ASSERT_EQ(messages.size(), 1) << c.field;
        EXPECT_EQ(messages.front(), c.message);
        EXPECT_FALSE(window->running());
        EXPECT_EQ(table()->rowCount(), 0);
        // The field's window comes to the front, with the field focused.
        ASSERT_TRUE(focused(field->window())) << c.field;
        EXPECT_EQ(QApplication::focusWidget(), field) << c.field;
        EXPECT_EQ(field->selectedText(), c.text) << c.field;
        messages.clear();
        field->setText(valid);
    }
    vary("ничего");
    run();
    EXPECT_TRUE(control<QLabel>("StatusLabel")->text().startsWith("Серия закончена: 3 прогона."));
}

// The window runs the very series the command line prints: its file is the
// command line's output, byte for byte, and Ctrl+C copies the table.
TEST_F(SeriesWindowTest, SameNumbersAsTheCommandLineInTheTableTheFileAndTheClipboard)
{
    QTest::mouseClick(form.findChild<QRadioButton*>("eksp2"), Qt::LeftButton, {}, QPoint(5, 8));
    form.findChild<QLineEdit*>("Edit5")->setText("0.05");
    type("RunsEdit", "20");
    type("SeedEdit", "5");
    vary(processing + "Интенсивность");
    type("FromEdit", "0.03");
    type("ToEdit", "0.06");
    type("PointsEdit", "3");
    run();
    ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
    EXPECT_EQ(table()->rowCount(), 3 * FlowCount);
    EXPECT_TRUE(control<QLabel>("StatusLabel")->text().startsWith("Серия закончена"));
    const auto* chart = control<shell::SweepChart>("Chart");
    EXPECT_TRUE(chart->isVisible());
    ASSERT_EQ(chart->lines().size(), 3u);
    EXPECT_EQ(chart->lines()[2].values, std::vector<double>({0.03, 0.045, 0.06}));

    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("series.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(VELMORA),
                      {"--series", "--runs", "20", "--seed", "5", "--processing", "exponential:0.05", "--vary",
                       "processing:1=0.03:0.06:3"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());

    // The clipboard holds numbers a spreadsheet reads: a mean and its bounds
    // in columns of their own, in the locale's format.
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 3 * FlowCount);
    EXPECT_TRUE(lines.front().startsWith("Значение\tПоток\tСреднее\tСреднее — нижняя граница\t"
                                         "Среднее — верхняя граница\tМедиана\t"))
        << lines.front().toStdString();
    EXPECT_TRUE(lines.front().endsWith("\t95-й процентиль — верхняя граница\tПрогонов"));
    const QStringList row = lines[3].split('\t');
    ASSERT_EQ(row.size(), 2 + 3 * FlowStatisticCount + 1);
    EXPECT_EQ(row[0], "0" + QLocale().decimalPoint() + "03");
    EXPECT_EQ(row[1], "Поток 3");
    for (qsizetype column = 2; column < row.size(); ++column) {
        bool number = false;
        QLocale().toDouble(row[column], &number);
        EXPECT_TRUE(number) << row[column].toStdString();
    }
    const double mean = QLocale().toDouble(row[2]);
    EXPECT_TRUE(QLocale().toDouble(row[3]) < mean && mean < QLocale().toDouble(row[4]));
    EXPECT_EQ(row.back(), "20");
}

// The servers' measures are the command line's too, a row per server and per
// flow at a server of several; with a baseline the chart shows each point's
// paired difference from it, whose mean is the difference of the means, and
// the table says which rows differ from it by the chart's measure.
TEST_F(SeriesWindowTest, TheServersMeasuresAndTheirDifferencesFromABaseline)
{
    type("RunsEdit", "20");
    type("SeedEdit", "8");
    auto* measures = control<QComboBox>("MeasureCombo");
    measures->setCurrentIndex(measures->findText("серверы"));
    vary(processing + "MAX");
    type("FromEdit", "40");
    type("ToEdit", "60");
    type("PointsEdit", "3");
    run();
    ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
    constexpr int rowsPerPoint = ServerCount + 2 + 3;
    ASSERT_EQ(table()->rowCount(), 3 * rowsPerPoint);
    EXPECT_EQ(table()->item(ServerCount, 1)->text(), "Общий сервер");
    EXPECT_EQ(table()->item(ServerCount, 2)->text(), "2");
    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("servers.csv"));
    QProcess commandLine;
    commandLine.start(
        QStringLiteral(VELMORA),
        {"--series", "--runs", "20", "--seed", "8", "--measures", "servers", "--vary", "processing:1=40:60:3"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());

    // The servers' load comes first, as the count of tasks never varies.
    EXPECT_EQ(control<QComboBox>("StatisticCombo")->currentText(), "Загрузка");
    const auto* chart = control<shell::SweepChart>("Chart");
    ASSERT_EQ(chart->lines().size(), std::size_t{ServerCount});
    const std::vector<shell::SweepLine> means = chart->lines();
    auto* baseline = control<QComboBox>("BaselineCombo");
    baseline->setCurrentIndex(2);
    ASSERT_EQ(baseline->currentText(), "50");
    const std::vector<shell::SweepLine> differences = chart->lines();
    for (std::size_t server = 0; server < means.size(); ++server) {
        for (std::size_t point = 0; point < 3; ++point)
            EXPECT_NEAR(differences[server].estimates[point].mean,
                        means[server].estimates[point].mean - means[server].estimates[1].mean, 1e-12);
    }
    EXPECT_EQ(differences[4].estimates[1].low, 0.0);
    const int compared = table()->columnCount() - 1;
    EXPECT_EQ(table()->horizontalHeaderItem(compared)->text(), "Отличие от базовой:\nЗагрузка");
    // Longer processing loads the final server more, and no server's flow row
    // has a utilisation to compare.
    EXPECT_EQ(table()->item(rowsPerPoint + rowsPerPoint - 4, compared)->text(), "базовая");
    EXPECT_EQ(table()->item(2 * rowsPerPoint + rowsPerPoint - 4, compared)->text(), "да");
    EXPECT_EQ(table()->item(2 * rowsPerPoint + rowsPerPoint - 1, compared)->text(), "");
}

// With a precision the runs go in stages until every row is precise enough,
// as the command line's --precision makes them.
TEST_F(SeriesWindowTest, APrecisionEndsTheSeriesAsTheCommandLinesDoes)
{
    type("RunsEdit", "5000");
    type("SeedEdit", "4");
    type("PrecisionEdit", QLocale().toString(2.5));
    run();
    const QString status = control<QLabel>("StatusLabel")->text();
    EXPECT_TRUE(status.startsWith("Серия закончена: точность 2" + QLocale().decimalPoint() + "5 % достигнута за "))
        << status.toStdString();
    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("precise.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(VELMORA), {"--series", "--runs", "5000", "--seed", "4", "--precision", "0.025"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());
    const int runs = table()->item(0, table()->columnCount() - 1)->text().toInt();
    EXPECT_GT(runs, 10);
    EXPECT_LT(runs, 5000);

    // A ceiling too low names the row furthest from the precision.
    type("RunsEdit", "40");
    type("PrecisionEdit", QLocale().toString(0.1));
    run();
    const QString missed = control<QLabel>("StatusLabel")->text();
    EXPECT_TRUE(missed.startsWith("Серия закончена: точность 0" + QLocale().decimalPoint()
                                  + "1 % не достигнута за наибольшее число прогонов, 40; хуже всех строка «поток 3, "))
        << missed.toStdString();
}

// An experiment keeps both windows' settings: saved with Ctrl+S and opened
// with Ctrl+O after everything changed, it shows them all again. A series'
// results are saved with their experiment beside them, which the command line
// runs into the same results. A file that is damaged, of a later version,
// another program's, or that varies a parameter its distribution lacks, is
// refused with a message naming it, and nothing changes.
TEST_F(SeriesWindowTest, AnExperimentKeepsBothWindowsSettings)
{
    const auto click = [this](const char* button) {
        QTest::mouseClick(form.findChild<QRadioButton*>(button), Qt::LeftButton, {}, QPoint(5, 8));
    };
    const auto edit = [this](const char* name) { return form.findChild<QLineEdit*>(name); };
    const QString half = "4" + QLocale().decimalPoint() + "5";
    click("norm");
    edit("Edit1")->setText("50");
    edit("Edit2")->setText(half);
    click("erl2");
    edit("Edit5")->setText("0" + QLocale().decimalPoint() + "1");
    edit("Edit6")->setText("0" + QLocale().decimalPoint() + "2");
    type("RunsEdit", "30");
    type("SeedEdit", "11");
    type("PrecisionEdit", "2" + QLocale().decimalPoint() + "5");
    auto* measures = control<QComboBox>("MeasureCombo");
    measures->setCurrentIndex(measures->findText("серверы"));
    vary(arrival + "Матожидание");
    type("FromEdit", "40");
    type("ToEdit", "60");
    type("PointsEdit", "5");
    const auto shown = [&] {
        QStringList texts;
        for (const char* field : {"Edit1", "Edit2", "Edit5", "Edit6"})
            texts << edit(field)->text();
        for (const char* button : {"norm", "erl2"})
            texts << QString::number(form.findChild<QRadioButton*>(button)->isChecked());
        for (const char* field : {"RunsEdit", "SeedEdit", "PrecisionEdit", "FromEdit", "ToEdit", "PointsEdit"})
            texts << control<QLineEdit>(field)->text();
        texts << measures->currentText() << control<QComboBox>("VaryCombo")->currentText();
        return texts;
    };
    const QStringList saved = shown();
    QTemporaryDir folder;
    const QString path = folder.filePath("experiment.json");
    fileCommand(Qt::Key_S, path);
    ASSERT_TRUE(QFile::exists(path));
    run();
    ASSERT_GT(table()->rowCount(), 0);

    click("rav");
    click("rav2");
    for (const char* field : {"Edit1", "Edit2", "Edit5", "Edit6"})
        edit(field)->setText("7");
    measures->setCurrentIndex(0);
    for (const char* field : {"RunsEdit", "SeedEdit", "PrecisionEdit", "FromEdit", "ToEdit", "PointsEdit"})
        type(field, "");
    const QStringList changed = shown();
    ASSERT_NE(changed, saved);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray experiment = file.readAll();
    file.close();
    const auto with = [&experiment](const QString& field, const QJsonValue& value) {
        QJsonObject object = QJsonDocument::fromJson(experiment).object();
        object[field] = value;
        return QJsonDocument(object).toJson();
    };
    const std::vector<std::pair<QByteArray, QString>> refused{
        {"{", "файл эксперимента не прочитан"},
        {with("version", 2), "формат 2"},
        {with("program", "kestrin"), "kestrin"},
        {QByteArray(experiment).replace("\"arrival:1\"", "\"arrival:3\""), "arrival:3"},
        {QByteArray(experiment).replace("\"servers\"", "\"queues\""), "queues"},
    };
    const QString damaged = folder.filePath("damaged.json");
    for (const auto& [bytes, reason] : refused) {
        QFile broken(damaged);
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write(bytes);
        broken.close();
        fileCommand(Qt::Key_O, damaged);
        ASSERT_EQ(messages.size(), 1) << reason.toStdString();
        EXPECT_TRUE(messages.front().startsWith("Эксперимент не открыт: «" + damaged + "» — "))
            << messages.front().toStdString();
        EXPECT_TRUE(messages.front().contains(reason)) << messages.front().toStdString();
        EXPECT_EQ(shown(), changed);
        messages.clear();
    }

    // The series window opens experiments too, and shows no results of other settings.
    window->activateWindow();
    ASSERT_TRUE(focused(window));
    shell::setOpenDialog([path](QWidget*, const QString&, const QStringList&) { return path; });
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(messages.isEmpty()) << messages.front().toStdString();
    EXPECT_EQ(shown(), saved);
    EXPECT_TRUE(focused(window));
    EXPECT_EQ(table()->rowCount(), 0);

    run();
    ASSERT_TRUE(messages.isEmpty()) << messages.front().toStdString();
    const QByteArray results = saveAs(folder.filePath("results.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(VELMORA), {"--series", "--experiment", folder.filePath("results.json")});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(results, commandLine.readAllStandardOutput());
}

// The main window goes on working while a series runs. A stop keeps the runs
// from the first up to the first that did not finish: the very numbers of a
// whole series of that many runs.
TEST_F(SeriesWindowTest, AStoppedSeriesKeepsTheRunsThatFinishedAsAShorterSeries)
{
    type("RunsEdit", "1000000");
    type("SeedEdit", "9");
    QTest::mouseClick(control<QPushButton>("RunButton"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_EQ(form.Series1->points().size(), 31);
    auto* progress = control<QProgressBar>("Progress");
    ASSERT_TRUE(QTest::qWaitFor([progress] { return progress->value() >= 300; }, 60'000));
    QTest::mouseClick(control<QPushButton>("StopButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->running(); }, 60'000));
    QApplication::processEvents();
    const QString status = control<QLabel>("StatusLabel")->text();
    EXPECT_TRUE(status.startsWith("Серия остановлена: итоги по первым ")) << status.toStdString();
    ASSERT_EQ(table()->rowCount(), FlowCount);
    const int kept = table()->item(0, table()->columnCount() - 1)->text().toInt();
    EXPECT_GE(kept, 300);
    EXPECT_LT(kept, 1'000'000);
    EXPECT_TRUE(status.contains(QLocale().toString(kept).remove(QLocale().groupSeparator()))) << status.toStdString();

    QTemporaryDir folder;
    const QByteArray saved = saveAs(folder.filePath("stopped.csv"));
    QProcess commandLine;
    commandLine.start(QStringLiteral(VELMORA), {"--series", "--runs", QString::number(kept), "--seed", "9"});
    ASSERT_TRUE(commandLine.waitForFinished(60'000));
    EXPECT_EQ(saved, commandLine.readAllStandardOutput());
}

// The switch beside the statistic puts the chart's Y axis on a logarithmic
// scale and back; response times are never 0, so it is always offered.
TEST_F(SeriesWindowTest, TheScaleSwitchMakesTheYAxisLogarithmic)
{
    vary(arrival + "MAX");
    type("RunsEdit", "5");
    type("FromEdit", "50");
    type("ToEdit", "150");
    type("PointsEdit", "3");
    run();
    auto* chart = control<shell::SweepChart>("Chart");
    auto* check = control<QCheckBox>("LogScaleCheck");
    ASSERT_TRUE(check->isEnabled());
    const auto axisType = [chart] { return chart->chart()->axes(Qt::Vertical).value(0)->type(); };
    EXPECT_EQ(axisType(), QAbstractAxis::AxisTypeValue);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    EXPECT_EQ(axisType(), QAbstractAxis::AxisTypeLogValue);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    EXPECT_EQ(axisType(), QAbstractAxis::AxisTypeValue);
}

// Ctrl+R brings a minimised series window back as it was, in front.
TEST_F(SeriesWindowTest, CtrlRBringsBackTheMinimisedWindow)
{
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMinimized(); }));
    form.activateWindow();
    ASSERT_TRUE(focused(&form));
    QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(focused(window));
}

// Wherever the window opens, a sweep's chart is readable: a plot 200 px high
// at least, every tick label and title whole, and in view, scrolled to on a
// small screen, where the table still shows three rows; at the window's own size it takes more height than the table,
// and the window stays as it opened.
using SeriesScreenFitTest = SeriesWindowTest;
TEST_F(SeriesScreenFitTest, TheSweepChartIsReadable)
{
    const QSize opened = window->size();
    const bool roomy = window->screen()->availableGeometry().height() >= 1000;
    vary(arrival + "MAX");
    type("RunsEdit", "20");
    type("FromEdit", "50");
    type("ToEdit", "150");
    type("PointsEdit", "9");
    run();
    auto* chart = control<shell::SweepChart>("Chart");
    EXPECT_GE(chart->chart()->plotArea().height(), 200);
    const QStringList texts = shownTexts(*chart);
    for (const QString& whole :
         {arrival + "MAX", QString("Время отклика, тики"), QString("Поток 3"),
          QString("Среднее время отклика, среднее по прогонам"), QString("62.5"), QString("137.5")})
        EXPECT_TRUE(texts.contains(whole)) << whole.toStdString();
    for (const QString& text : texts)
        EXPECT_FALSE(text.contains("...") || text.contains(u'…')) << text.toStdString();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    // The table keeps three rows in view however small the screen.
    EXPECT_GE(table()->viewport()->height(), 3 * table()->verticalHeader()->defaultSectionSize());
    auto* scroll = control<QScrollArea>("ContentScroll");
    auto* panel = control("ChartPanel");
    EXPECT_TRUE(scroll->viewport()->rect().contains(QRect(panel->mapTo(scroll->viewport(), QPoint()), panel->size())));
    if (roomy) {
        EXPECT_EQ(window->size(), opened);
        EXPECT_GT(panel->height(), table()->height());
    }
}

}  // namespace
}  // namespace velmora
