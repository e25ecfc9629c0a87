// The Серверы window driven as a user would: opened by Ctrl+U or the menu,
// following the presses of the main window, and showing, copying and saving
// what the model reads from the very run of the press.
#include "velmora/ui/ServersWindow.h"

#include "../../support/Menus.h"
#include "../../support/OwnWindowFixture.h"
#include "../../support/Pixels.h"
#include "shell/core/Random.h"
#include "shell/ui/Application.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/Files.h"
#include "shell/ui/NumberText.h"
#include "velmora/ui/NetworkDiagram.h"
#include "velmora/ui/QueueChart.h"
#include "velmora/ui/Unit1.h"

#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

class ServersWindowTest : public OwnWindowFixture<TForm1, ServersWindow, Qt::Key_U> {
protected:
    template <typename T = QWidget>
    T* formControl(const char* name)
    {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void press() { QTest::mouseClick(formControl<QPushButton>("Button1"), Qt::LeftButton); }
    void enter(const char* field, const QString& text) { formControl<QLineEdit>(field)->setText(text); }
    // Both generators give 0: see the worked case of the model's tests.
    void pressWithAllDrawsZero()
    {
        enter("Edit1", "0");
        enter("Edit5", "0");
        press();
    }
    // What Ctrl+C on the table puts on the clipboard, cell by cell.
    std::vector<QStringList> copiedTable()
    {
        auto* table = control<QTableWidget>("Table");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        std::vector<QStringList> rows;
        for (const QString& line : QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts))
            rows.push_back(line.split('\t'));
        return rows;
    }
    // The tables of a run with every draw 0, made apart from the window.
    static std::unique_ptr<TRunWorkspace> runWithAllDrawsZero()
    {
        auto run = std::make_unique<TRunWorkspace>();
        SimulateNetwork(
            *run, [] { return 0; }, [] { return 0; });
        return run;
    }
    std::string savedBy(const std::function<void()>& action)
    {
        const QString path = directory.filePath("saved.csv");
        QFile::remove(path);
        shell::setSaveDialog([path](QWidget*, const QString&, const QStringList&) {
            return std::optional<shell::SaveTarget>({path, 0});
        });
        action();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir directory;
};

// Ctrl+U opens the window, which says what it waits for until the first press,
// then follows each press; a press that fails leaves the run shown before. A
// line edit keeps Ctrl+U where the platform binds it there (X11: delete to the
// start of the line), and Esc closes the window.
TEST_F(ServersWindowTest, CtrlUOpensItAndItFollowsEveryPress)
{
    EXPECT_EQ(window->windowTitle(), "Серверы");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(control<QLabel>("StatusLabel")->text(),
              "Показатели серверов появятся после нажатия «Смоделировать» в главном окне.");
    EXPECT_EQ(control<QTableWidget>("Table")->rowCount(), 0);
    EXPECT_FALSE(control("SaveButton")->isEnabled());
    EXPECT_FALSE(control("RecordsButton")->isEnabled());
    QTest::keyClick(control("Table"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    form.activateWindow();
    ASSERT_TRUE(focused(&form));

    auto* field = formControl<QLineEdit>("Edit1");
    field->setFocus();
    field->setCursorPosition(2);
    QTest::keyClick(field, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(window->isVisible(), field->text() == "100");
    enter("Edit1", "100");
    QTest::keyClick(formControl("Button1"), Qt::Key_U, Qt::ControlModifier);
    ASSERT_TRUE(window->isVisible());

    std::vector<std::vector<QStringList>> shown;
    for (int seed : {3, 4}) {
        shell::SRand(static_cast<unsigned>(seed));
        press();
        shown.push_back(copiedTable());
        ASSERT_EQ(shown.back().size(), 11u);
    }
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_TRUE(control<QLabel>("StatusLabel")->text().contains("Наблюдаемый период"));
    EXPECT_TRUE(control("SaveButton")->isEnabled() && control("RecordsButton")->isEnabled());

    enter("Edit1", "abc");
    press();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(copiedTable(), shown[1]);
    enter("Edit1", "100");

    QTest::keyClick(control("Table"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    // While closed it is not redrawn; it shows the last press when it opens again.
    shell::SRand(3);
    press();
    EXPECT_EQ(copiedTable(), shown[1]);
    EXPECT_TRUE(chooseFromMenu(form, "Вид", "Серверы…"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(copiedTable(), shown[0]);
}

// With every draw 0 the final server works 3000 of the 3002 ticks and flow 3
// waits 2001 ticks there; every number is the model's for the same run, as the
// table shows it and copies it.
TEST_F(ServersWindowTest, TheTableHoldsTheMeasuresOfThePress)
{
    pressWithAllDrawsZero();
    const std::vector<QStringList> rows = copiedTable();
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0],
              QStringList({"Сервер", "Задач", "Загрузка", "Среднее ожидание", "Наибольшее ожидание", "Средняя очередь",
                           "В среднем на сервере", "Задач на 1000 тиков"}));
    const QLocale locale = shell::NumberLocale();
    const auto number = [&locale](const QString& text) {
        bool ok = false;
        const double value = locale.toDouble(text, &ok);
        EXPECT_TRUE(ok) << text.toStdString();
        return value;
    };
    EXPECT_EQ(rows[7][0], "Последний сервер");
    EXPECT_NEAR(number(rows[7][2]), 3000.0 / 3002, 1e-12);
    EXPECT_EQ(rows[10][0], "Последний сервер, поток 3");
    EXPECT_EQ(number(rows[10][3]), 2001);

    const auto run = runWithAllDrawsZero();
    const std::vector<ServerLine> lines = ServerLines(MeasureServers(*run));
    auto* table = control<QTableWidget>("Table");
    ASSERT_EQ(table->rowCount(), static_cast<int>(lines.size()));
    for (std::size_t row = 0; row < lines.size(); ++row) {
        for (std::size_t statistic = 0; statistic < lines[row].values.size(); ++statistic) {
            const QString copied = rows[row + 1][static_cast<qsizetype>(statistic + 1)];
            const QString cell = table->item(static_cast<int>(row), static_cast<int>(statistic + 1))->text();
            const std::optional<double> value = lines[row].values[statistic];
            SCOPED_TRACE(rows[row + 1][0].toStdString() + ", "
                         + rows[0][static_cast<qsizetype>(statistic + 1)].toStdString());
            ASSERT_EQ(copied.isEmpty(), !value);
            ASSERT_EQ(cell.isEmpty(), !value);
            if (value) {
                EXPECT_NEAR(number(copied), *value, 1e-10 * std::max(1.0, *value));
                EXPECT_NEAR(number(cell), *value, 0.05 + 1e-3 * *value);
            }
        }
    }
}

// Five step lines, one a server, are the queues of the press's run; each
// one's average over the period is the server's mean queue in the table. The
// chart's menu hides and shows them, and the readout names the time and each
// shown queue.
TEST_F(ServersWindowTest, TheChartHasAStepLineAServerAveragingItsMeanQueue)
{
    auto* chart = control<QueueChart>("Chart");
    // The time average of each line, and whether each line is made of steps.
    const auto averages = [chart] {
        std::array<double, ServerCount> average{};
        for (int s = 0; s < ServerCount; ++s) {
            const QList<QPointF> points = chart->linePoints(static_cast<Server>(s));
            double area = 0;
            for (qsizetype i = 0; i + 1 < points.size(); ++i) {
                EXPECT_TRUE(points[i].x() == points[i + 1].x() || points[i].y() == points[i + 1].y()) << s << " " << i;
                area += points[i].y() * (points[i + 1].x() - points[i].x());
            }
            average[static_cast<std::size_t>(s)] = area / (points.back().x() - points.front().x());
        }
        return average;
    };
    shell::SRand(9);
    press();
    const std::vector<QStringList> rows = copiedTable();
    const std::array<double, ServerCount> random = averages();
    for (int s = 0; s < ServerCount; ++s) {
        const QStringList& row = *std::find_if(rows.begin(), rows.end(), [s](const QStringList& cells) {
            return cells[0] == QString::fromUtf8(ServerName(static_cast<Server>(s)));
        });
        EXPECT_NEAR(random[static_cast<std::size_t>(s)], shell::NumberLocale().toDouble(row[5]), 1e-9) << s;
    }

    pressWithAllDrawsZero();
    const auto run = runWithAllDrawsZero();
    const NetworkMeasures measures = MeasureServers(*run);
    const std::array<double, ServerCount> zero = averages();
    for (int s = 0; s < ServerCount; ++s) {
        const auto server = static_cast<Server>(s);
        SCOPED_TRACE(ServerName(server));
        EXPECT_EQ(chart->line(server)->name(), QString::fromUtf8(ServerName(server)));
        // Each step's corner and its own point, a vertex that repeats drawn once.
        QList<QPointF> stairs;
        for (const QueueStep& step : QueueOverTime(*run, server)) {
            for (const QPointF vertex : {QPointF(step.time, stairs.isEmpty() ? step.waiting : stairs.back().y()),
                                         QPointF(step.time, step.waiting)}) {
                if (stairs.isEmpty() || stairs.back() != vertex)
                    stairs.append(vertex);
            }
        }
        EXPECT_EQ(chart->linePoints(server), stairs);
        EXPECT_NEAR(zero[static_cast<std::size_t>(s)], measures.at(server).queueMean, 1e-9);
    }

    window->activateWindow();
    chart->setFocus();
    const auto readout = [chart] {
        const QPoint point = chart->mapFromScene(chart->chart()->mapToScene(chart->chart()->plotArea().center()));
        QHelpEvent event(QEvent::ToolTip, point, chart->viewport()->mapToGlobal(point));
        QApplication::sendEvent(chart->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const QString all = readout();
    EXPECT_TRUE(all.startsWith("Время: "));
    EXPECT_TRUE(all.contains("Общий сервер: ") && all.contains("Последний сервер: "));
    // Shift+F10 opens the chart's menu, whose items show and hide each line.
    const auto switchFinal = [chart] {
        QTest::keyClick(chart, Qt::Key_F10, Qt::ShiftModifier);
        QMenu* menu = chart->menu()->menu();
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        for (QAction* action : menu->actions()) {
            if (action->text() == "Последний сервер")
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        menu->hide();
    };
    switchFinal();
    EXPECT_FALSE(chart->line(Server::Final)->isVisible());
    EXPECT_FALSE(readout().contains("Последний сервер"));
    switchFinal();
    EXPECT_TRUE(chart->line(Server::Final)->isVisible());
}

// The fill of each box is the class of its utilisation: a third for the entry
// servers, two thirds for the shared one and nearly all for the final one;
// the other classes show only in the legend. The numbers are in its description.
TEST_F(ServersWindowTest, TheDiagramsColoursFollowUtilisation)
{
    pressWithAllDrawsZero();
    auto* diagram = control<NetworkDiagram>("Diagram");
    QApplication::processEvents();
    const QImage image = diagram->grab().toImage();
    std::array<int, NetworkDiagram::LoadClassCount> seen{};
    for (int k = 0; k < NetworkDiagram::LoadClassCount; ++k)
        seen[k] = pixelsNear(image, NetworkDiagram::loadColor(k), 6);
    EXPECT_GT(seen[1], 3 * 4000);
    EXPECT_GT(seen[3], 8000);
    EXPECT_GT(seen[4], 8000);
    EXPECT_LT(seen[0], 500);
    EXPECT_LT(seen[2], 500);

    const QLocale locale = shell::NumberLocale();
    const QString description =
        QAccessible::queryAccessibleInterface(control("DiagramScroll"))->text(QAccessible::Description);
    EXPECT_TRUE(description.contains(
        QStringLiteral("Последний сервер: загрузка %1, средняя очередь %2")
            .arg(locale.toString(3000.0 / 3002, 'f', 3), locale.toString(2001.0 * 1000 / 3002, 'f', 2))))
        << description.toStdString();
}

// "Сохранить…" writes the table as the model's CSV, and "Сохранить записи
// задач…", in the window and in the Файл menu, the records of the press.
TEST_F(ServersWindowTest, SavesTheTableAndTheRecordsOfThePress)
{
    EXPECT_FALSE(chooseFromMenu(form, "Файл", "Сохранить записи задач…"));
    pressWithAllDrawsZero();
    const auto run = runWithAllDrawsZero();
    const std::string records = TaskRecordsCsv(TaskRecords(*run));
    EXPECT_EQ(savedBy([&] { QTest::mouseClick(control<QPushButton>("RecordsButton"), Qt::LeftButton); }), records);
    EXPECT_EQ(savedBy([&] { EXPECT_TRUE(chooseFromMenu(form, "Файл", "Сохранить записи задач…")); }), records);
    EXPECT_EQ(savedBy([&] { QTest::mouseClick(control<QPushButton>("SaveButton"), Qt::LeftButton); }),
              ServerLinesCsv(MeasureServers(*run)));
    EXPECT_TRUE(messages.isEmpty());
}

// Tab reaches the diagram, the table, the chart and the buttons in turn, and a
// screen reader hears each by name.
TEST_F(ServersWindowTest, TheKeyboardReachesEverythingAndEverythingIsNamed)
{
    pressWithAllDrawsZero();
    window->activateWindow();
    ASSERT_TRUE(focused(window));
    control("DiagramScroll")->setFocus();
    QStringList chain;
    for (QWidget* focus = QApplication::focusWidget(); focus && !chain.contains(focus->objectName());
         focus = QApplication::focusWidget()) {
        chain << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(chain, QStringList({"DiagramScroll", "Table", "Chart", "SaveButton", "RecordsButton", "CloseButton"}));
    const auto name = [&](const char* control) {
        return QAccessible::queryAccessibleInterface(this->control(control))->text(QAccessible::Name);
    };
    EXPECT_EQ(name("DiagramScroll"), "Схема сети");
    EXPECT_EQ(name("Table"), "Показатели серверов");
    EXPECT_EQ(name("Chart"), "Очередь во времени");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(control("Chart"))
                    ->text(QAccessible::Description)
                    .contains("Последний сервер: наибольшая очередь 1000"));
    QTest::mouseClick(control<QPushButton>("CloseButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace velmora
