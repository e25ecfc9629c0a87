// The series window over a model whose runs wait at a gate the test opens, so
// that a series is running, or stopped with some runs made, whatever the
// machine's speed: what the window lets the user do meanwhile, and what a
// stopped series keeps.
#include "shell/ui/SeriesWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <tuple>

namespace {

// Runs from `blockedFrom` on (by point, then run) wait until it is opened.
struct Gate {
    int blockedPoint = 0;
    int blockedRun = 0;
    bool open = false;
    int waiting = 0;
    std::mutex mutex;
    std::condition_variable opened;

    void pass(int point, std::uint64_t run)
    {
        std::unique_lock lock(mutex);
        if (point > blockedPoint || (point == blockedPoint && static_cast<int>(run) >= blockedRun)) {
            ++waiting;
            opened.wait(lock, [this] { return open; });
        }
    }
    int waitingNow()
    {
        std::lock_guard lock(mutex);
        return waiting;
    }
    void release()
    {
        std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

class GatedModel : public shell::SeriesModel {
public:
    GatedModel(std::optional<shell::Sweep> sweep, Gate& gate)
        : SeriesModel(1, std::move(sweep))
        , gate_(gate)
    {
    }
    int statisticCount() const override { return 1; }
    std::string statisticLabel(int statistic) const override { return std::to_string(statistic); }
    void run(int point, std::uint64_t run, shell::SeriesWorkspace*, std::span<double> out) const override
    {
        gate_.pass(point, run);
        out[0] = static_cast<double>(run);
    }

private:
    Gate& gate_;
};

class Presentation : public shell::PointsPresentation {
public:
    using PointsPresentation::PointsPresentation;
    QStringList tableHeader(const shell::Comparison& comparison) const override
    {
        return header({"Прогон", "Прогонов"}, comparison);
    }
    shell::TableRows tableRows(const shell::Comparison& comparison) const override
    {
        shell::TableRows rows;
        for (std::size_t point = 0; point < points().size(); ++point) {
            auto cells = row(points()[point]);
            cells.push_back(shell::TableCell::Mean(points()[point].summary.estimates[0]));
            cells.push_back(shell::TableCell::Number(points()[point].summary.runs));
            if (comparison.baseline)
                cells.push_back(comparisonCell(point, 0, comparison));
            rows.push_back(cells);
        }
        return rows;
    }
    QStringList chartStatistics() const override { return {"x"}; }
    QString chartTitle(int) const override { return {}; }
    QString chartAxisTitle(int) const override { return {}; }
    std::vector<shell::SweepLine> sweepLines(int, std::optional<std::size_t>) const override { return {}; }
};

std::string noFile(std::span<const shell::SeriesPoint>)
{
    return {};
}

// Two measures, of which only the first counts the one setting of its own.
class Program : public shell::SeriesProgram {
public:
    Program(Gate& gate, std::vector<shell::SeriesRequest>& requests)
        : gate_(gate)
        , requests_(requests)
    {
    }
    std::vector<shell::SweepChoice> sweepChoices() const override { return {{"x", "x"}, {"y", "y"}}; }
    std::vector<shell::MeasureChoice> measureChoices() const override { return {{"а", "a"}, {"б", "b"}}; }
    QString extrasTitle() const override { return "Своё"; }
    std::vector<shell::ExtraField> extraFields() const override { return {{"k:", "k"}}; }
    bool usesExtras(const std::string& measure) const override { return measure == "a"; }
    std::shared_ptr<const shell::SeriesModel> makeModel(const shell::SeriesRequest& request) const override
    {
        requests_.push_back(request);
        return std::make_shared<GatedModel>(request.sweep, gate_);
    }
    QString parameterName(const std::string& key) const override { return QString::fromStdString(key); }
    QWidget* parameterField(const std::string&) const override { return nullptr; }
    std::unique_ptr<shell::SeriesPresentation> present(const shell::SeriesModel& model,
                                                       std::vector<shell::SeriesPoint> points) const override
    {
        return std::make_unique<Presentation>(model, std::move(points), noFile);
    }
    QJsonObject experimentSettings(const std::map<std::string, double>& extras) const override
    {
        return {{"k", extras.at("k")}};
    }

private:
    Gate& gate_;
    std::vector<shell::SeriesRequest>& requests_;
};

class SeriesWindowTest : public testing::Test {
protected:
    SeriesWindowTest()
        : window("Серия", std::make_unique<Program>(gate, requests), nullptr)
    {
        window.show();
        type("RunsEdit", "10");
    }
    ~SeriesWindowTest() override { gate.release(); }

    template <typename T = QWidget>
    T* control(const char* name)
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    void type(const char* field, const QString& text) { control<QLineEdit>(field)->setText(text); }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void waitForTheEnd()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window.running(); }, 60'000));
        QApplication::processEvents();
    }
    QString status() { return control<QLabel>("StatusLabel")->text(); }
    QString cell(int row, int column) { return control<QTableWidget>("ResultsTable")->item(row, column)->text(); }

    Gate gate;
    std::vector<shell::SeriesRequest> requests;
    shell::SeriesWindow window;
};

// While a series runs its settings are fixed and only "Остановить" acts. A
// stop lets the runs begun finish, one a worker, and keeps them if they are two
// or more; with fewer it says that there are no results.
TEST_F(SeriesWindowTest, WhileASeriesRunsOnlyStopActs)
{
    click("RunButton");
    ASSERT_TRUE(window.running());
    for (const char* name : {"RunButton", "RunsEdit", "SeedEdit", "VaryCombo"})
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    EXPECT_TRUE(control("StopButton")->isEnabled());
    EXPECT_TRUE(status().startsWith("Идёт серия: 0 из 10 прогонов.")) << status().toStdString();
    const int begun = std::min(10, QThread::idealThreadCount());
    ASSERT_TRUE(QTest::qWaitFor([this, begun] { return gate.waitingNow() == begun; }, 60'000));
    click("StopButton");
    gate.release();
    waitForTheEnd();
    if (begun < 2) {
        EXPECT_EQ(status(), "Серия остановлена раньше, чем закончились два прогона: итогов нет.");
        EXPECT_FALSE(control("SaveButton")->isEnabled());
    } else {
        EXPECT_TRUE(status().startsWith(QString("Серия остановлена: итоги по первым %1 ").arg(begun)))
            << status().toStdString();
    }
    EXPECT_TRUE(control("RunButton")->isEnabled());
}

// The runs' end reaches the window a moment later than the workers: until it
// does, the series counts as running, so that nothing reads the results early.
TEST_F(SeriesWindowTest, ASeriesRunsUntilItsResultsAreShown)
{
    click("RunButton");
    gate.release();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(window.running());
    EXPECT_EQ(control<QTableWidget>("ResultsTable")->rowCount(), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.running(); }, 60'000));
    EXPECT_EQ(control<QTableWidget>("ResultsTable")->rowCount(), 1);
}

// Closing the window stops its series.
TEST_F(SeriesWindowTest, ClosingTheWindowStopsItsSeries)
{
    click("RunButton");
    ASSERT_TRUE(window.running());
    QTest::qWait(10);
    gate.release();
    window.close();
    EXPECT_FALSE(window.running());
}

// A stop keeps each point's runs from the first up to the first that did not
// finish: a whole point, part of the next, nothing of the last.
TEST_F(SeriesWindowTest, AStoppedSweepKeepsEachPointsFinishedRuns)
{
    gate.blockedPoint = 1;
    gate.blockedRun = 5;
    auto* vary = control<QComboBox>("VaryCombo");
    vary->setCurrentIndex(1);
    type("FromEdit", "1");
    type("ToEdit", "3");
    type("PointsEdit", "3");
    click("RunButton");
    ASSERT_TRUE(QTest::qWaitFor([this] { return control<QProgressBar>("Progress")->value() >= 15; }, 60'000));
    click("StopButton");
    gate.release();
    waitForTheEnd();
    auto* table = control<QTableWidget>("ResultsTable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(cell(0, 2), "10");
    const int kept = cell(1, 2).toInt();
    EXPECT_GE(kept, 5);
    EXPECT_LT(kept, 10);
    EXPECT_TRUE(cell(1, 1).startsWith(QString::number((kept - 1) / 2.0, 'f', 1).replace('.', QLocale().decimalPoint())))
        << cell(1, 1).toStdString();
    EXPECT_TRUE(status().startsWith("Серия остановлена: в таблице 2 из 3 точек")) << status().toStdString();
    EXPECT_TRUE(control("SaveButton")->isEnabled());
}

// The program's own settings reach its series only with the measures that
// count them; with the others their frame is unavailable and they count as 0.
TEST_F(SeriesWindowTest, TheProgramsOwnSettingsCountOnlyWithItsMeasures)
{
    gate.release();
    type("kEdit", QLocale().toString(2.5));
    auto* measures = control<QComboBox>("MeasureCombo");
    for (const auto& [measure, value] : {std::pair{"а", 2.5}, {"б", 0.0}}) {
        measures->setCurrentIndex(measures->findText(measure));
        EXPECT_EQ(control("ExtrasBox")->isEnabled(), value != 0) << measure;
        click("RunButton");
        waitForTheEnd();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().extras.at("k"), value) << measure;
    }
    EXPECT_EQ(requests.back().measure, "b");
}

// The next start of the program finds the fields as the window was closed with
// them, but with a fresh seed; an experiment's settings shown are read back whole.
TEST_F(SeriesWindowTest, TheSettingsAreKeptForTheNextStartAndReadBackAsAnExperiment)
{
    gate.release();
    type("SeedEdit", "7");
    type("PrecisionEdit", "5");
    control<QComboBox>("MeasureCombo")->setCurrentIndex(1);
    control<QComboBox>("VaryCombo")->setCurrentIndex(2);
    type("FromEdit", "1");
    type("ToEdit", "2");
    type("PointsEdit", "3");
    type("kEdit", "4");
    window.close();
    {
        shell::SeriesWindow next("Серия", std::make_unique<Program>(gate, requests), nullptr);
        // The fields the choices offer are available as the choices are made by hand.
        EXPECT_TRUE(next.findChild<QLineEdit*>("FromEdit")->isEnabled());
        EXPECT_FALSE(next.findChild<QWidget*>("ExtrasBox")->isEnabled());
        const shell::SeriesSetup kept = next.setup();
        EXPECT_EQ(kept.runs, 10);
        EXPECT_EQ(kept.seed, std::nullopt);
        EXPECT_EQ(kept.precision, 0.05);
        EXPECT_EQ(kept.measures, "b");
        ASSERT_TRUE(kept.vary.has_value());
        EXPECT_EQ(kept.vary->parameter, "y");
        EXPECT_EQ(std::tuple(kept.vary->from, kept.vary->to, kept.vary->points), std::tuple(1.0, 2.0, 3));
        EXPECT_EQ(next.extras().at("k"), 4);
    }
    const shell::SeriesSetup setup{77, 123, shell::SeriesSetup::Vary{"x", 0.5, 1.25, 4}, "a", 0.125};
    window.apply(setup, {{"k", 0.75}});
    const shell::SeriesSetup shown = window.setup();
    EXPECT_EQ(std::tuple(shown.runs, shown.seed, shown.measures, shown.precision),
              std::tuple(setup.runs, setup.seed, setup.measures, setup.precision));
    ASSERT_TRUE(shown.vary.has_value());
    EXPECT_EQ(std::tuple(shown.vary->parameter, shown.vary->from, shown.vary->to, shown.vary->points),
              std::tuple(std::string("x"), 0.5, 1.25, 4));
    EXPECT_EQ(window.extras().at("k"), 0.75);
}

}  // namespace
