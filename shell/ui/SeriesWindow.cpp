// The series runs on threads that take only the time the windows leave, so
// that a press in the main window is drawn at once; the window polls the
// progress, and the results arrive when the future finishes.
#include "SeriesWindow.h"

#include "Application.h"
#include "ChartMenu.h"
#include "FieldError.h"
#include "Files.h"
#include "NumberText.h"
#include "Screen.h"
#include "SweepChart.h"
#include "ui_SeriesWindow.h"

#include "shell/core/Convert.h"
#include "shell/core/Random.h"
#include "shell/headless/SeriesRunner.h"

#include <QHeaderView>
#include <QHideEvent>
#include <QThread>

namespace shell {

PointsPresentation::PointsPresentation(const SeriesModel& model, std::vector<SeriesPoint> points, CsvWriter writer)
    : swept_(model.sweep().has_value())
    , points_(std::move(points))
    , csv_(std::move(writer))
{
}

QStringList PointsPresentation::header(const QStringList& titles) const
{
    return (swept_ ? QStringList{QStringLiteral("Значение")} : QStringList()) + titles;
}

std::vector<TableCell> PointsPresentation::row(const SeriesPoint& point) const
{
    if (!point.value)
        return {};
    return {TableCell::Number(*point.value)};
}

double SeriesProgram::readSweepBound(const std::string&, std::string_view text) const
{
    return StrToFloat(text);
}

bool SeriesProgram::wholeSweep(const std::string&) const
{
    return false;
}

SeriesWindow::SeriesWindow(const QString& title, std::unique_ptr<SeriesProgram> program, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , ui(std::make_unique<Ui::SeriesWindow>())
    , program_(std::move(program))
{
    ui->setupUi(this);
    setWindowTitle(title);
    // Ten and more updates a second.
    progressTimer_.setInterval(50);
    const QStringList statistics = program_->chartStatistics();
    ui->StatisticCombo->addItems(statistics);
    ui->StatisticLabel->setVisible(statistics.size() > 1);
    ui->StatisticCombo->setVisible(statistics.size() > 1);
    ui->ChartPanel->hide();
    // What the window grows by goes to the chart rather than to the table.
    ui->ResultsSplitter->setStretchFactor(0, 2);
    ui->ResultsSplitter->setStretchFactor(1, 3);
    ui->ImageButton->setMenu(ui->Chart->menu()->menu());
    ui->ResultsTable->verticalHeader()->hide();
    table_ = new ResultsTable(ui->ResultsTable);
    nameControls();
    refreshChoices();
    connectHandlers();
}

SeriesWindow::~SeriesWindow()
{
    stopSeries();
    watcher_.waitForFinished();
}

void SeriesWindow::connectHandlers()
{
    connectGuarded(ui->RunButton, &QPushButton::clicked, this, [this] { startSeries(); });
    connectGuarded(ui->StopButton, &QPushButton::clicked, this, [this] { stopSeries(); });
    connectGuarded(ui->CloseButton, &QPushButton::clicked, this, [this] { close(); });
    connectGuarded(ui->SaveButton, &QPushButton::clicked, this, [this] { save(); });
    connectGuarded(ui->VaryCombo, &QComboBox::currentIndexChanged, this, [this] { enableSettings(); });
    connectGuarded(ui->StatisticCombo, &QComboBox::currentIndexChanged, this, [this] { showChart(); });
    connectGuarded(ui->LogScaleCheck, &QCheckBox::toggled, this,
                   [this](bool checked) { ui->Chart->setLogarithmic(checked); });
    connectGuarded(ui->Chart, &SweepChart::shownLinesChanged, this, [this] { enableScaleSwitch(); });
    connectGuarded(ui->ResultsSplitter, &QSplitter::splitterMoved, this,
                   [this] { split_ = ui->ResultsSplitter->sizes(); });
    connectGuarded(&progressTimer_, &QTimer::timeout, this, [this] { showProgress(); });
    connectGuarded(&watcher_, &QFutureWatcher<void>::finished, this, [this] { finishSeries(); });
}

// Assistive tools and messages name each field by its caption, and a field of
// the sweep by the frame's caption too.
void SeriesWindow::nameControls()
{
    ui->RunsEdit->setAccessibleName(ui->RunsLabel->text());
    ui->SeedEdit->setAccessibleName(ui->SeedLabel->text());
    ui->VaryCombo->setAccessibleName(ui->VaryBox->title());
    for (const auto& [field, label] :
         {std::pair{ui->FromEdit, ui->FromLabel}, {ui->ToEdit, ui->ToLabel}, {ui->PointsEdit, ui->PointsLabel}})
        field->setAccessibleName(fieldName(ui->VaryBox->title(), label->text()));
    ui->StatisticCombo->setAccessibleName(ui->StatisticLabel->text());
    ui->Progress->setAccessibleName(QStringLiteral("Ход серии"));
    ui->ResultsTable->setAccessibleName(QStringLiteral("Итоги серии"));
}

void SeriesWindow::refreshChoices()
{
    const QString chosen = ui->VaryCombo->currentText();
    const QSignalBlocker blocker(ui->VaryCombo);
    choices_ = program_->sweepChoices();
    ui->VaryCombo->clear();
    ui->VaryCombo->addItem(QStringLiteral("ничего"));
    for (const SweepChoice& choice : choices_)
        ui->VaryCombo->addItem(choice.name);
    ui->VaryCombo->setCurrentIndex(std::max(0, ui->VaryCombo->findText(chosen)));
    enableSettings();
}

// While a series runs its settings are fixed, and only "Остановить" acts on it.
void SeriesWindow::enableSettings()
{
    const bool idle = !running();
    for (QWidget* control : std::initializer_list<QWidget*>{ui->RunsEdit, ui->SeedEdit, ui->VaryCombo, ui->RunButton})
        control->setEnabled(idle);
    ui->StopButton->setEnabled(!idle);
    const bool sweep = ui->VaryCombo->currentIndex() > 0 && idle;
    for (QWidget* field : {ui->FromEdit, ui->ToEdit, ui->PointsEdit})
        field->setEnabled(sweep);
}

bool SeriesWindow::running() const
{
    return runner_ != nullptr && watcher_.isRunning();
}

namespace {

template <typename Read>
auto readText(QLineEdit* field, Read&& read)
{
    const std::string text = field->text().toStdString();
    return readField(field, field->accessibleName(), [&] { return read(text); });
}

}  // namespace

int SeriesWindow::readRuns() const
{
    return readText(ui->RunsEdit, ReadRunCount);
}

std::uint64_t SeriesWindow::readSeed() const
{
    if (ui->SeedEdit->text().trimmed().isEmpty())
        return ClockSeed();
    return readText(ui->SeedEdit, StrToUInt64);
}

// Each bound is read as the varied parameter reads its values.
std::optional<Sweep> SeriesWindow::readSweep() const
{
    if (ui->VaryCombo->currentIndex() <= 0)
        return std::nullopt;
    const std::string key = choices_.at(static_cast<std::size_t>(ui->VaryCombo->currentIndex() - 1)).key;
    const double from =
        readText(ui->FromEdit, [&](std::string_view text) { return program_->readSweepBound(key, text); });
    const bool whole = program_->wholeSweep(key);
    const double to = readText(ui->ToEdit, [&](std::string_view text) {
        program_->readSweepBound(key, text);
        return ReadSweepEnd(from, text, whole);
    });
    // Too many points for the whole values of the range is the points' fault.
    const std::vector<double> values = readText(ui->PointsEdit, [&](std::string_view text) {
        const int points = ReadSweepPoints(text);
        return whole ? WholeSweepValues(from, to, points) : SweepValues(from, to, points);
    });
    return Sweep{key, values};
}

void SeriesWindow::startSeries()
{
    if (running())
        return;
    const int runs = readRuns();
    const std::uint64_t seed = readSeed();
    std::optional<Sweep> sweep = readSweep();
    const std::shared_ptr<const SeriesModel> model = program_->makeModel(seed, std::move(sweep));
    if (const auto refused = model->refusedPoint())
        reportFailure(*model, *refused);
    if (ui->SeedEdit->text().trimmed().isEmpty())
        ui->SeedEdit->setText(QString::number(seed));
    sweepName_ = model->sweep() ? ui->VaryCombo->currentText() : QString();
    clearResults();
    runner_ = std::make_unique<SeriesRunner>(model, SeriesPlan{runs});
    // Idle priority: the workers take only the time the windows leave.
    watcher_.setFuture(runner_->start({QThread::idealThreadCount(), true}));
    enableSettings();
    showProgress();
    progressTimer_.start();
}

void SeriesWindow::clearResults()
{
    presentation_.reset();
    table_->clear();
    ui->ChartPanel->hide();
    ui->SaveButton->setEnabled(false);
}

void SeriesWindow::stopSeries()
{
    if (running())
        runner_->stop();
}

void SeriesWindow::showProgress()
{
    if (runner_ == nullptr)
        return;
    const QLocale locale = NumberLocale();
    const std::int64_t done = runner_->runsDone();
    const std::int64_t total = runner_->runsTotal();
    ui->Progress->setMaximum(static_cast<int>(total));
    ui->Progress->setValue(static_cast<int>(done));
    if (running()) {
        ui->StatusLabel->setText(
            QStringLiteral("Идёт серия: %1 из %2 прогонов.").arg(locale.toString(done), locale.toString(total)));
    }
}

void SeriesWindow::finishSeries()
{
    progressTimer_.stop();
    showProgress();
    enableSettings();
    if (const auto failure = runner_->failure()) {
        ui->StatusLabel->setText(QStringLiteral("Серия не удалась, итогов нет."));
        reportFailure(runner_->model(), *failure);
    }
    showResults();
}

// A swept parameter is named as the sweep's choice and corrected in its range.
void SeriesWindow::reportFailure(const SeriesModel& model, const SeriesFailure& failure) const
{
    const auto swept = [&model](const std::string& key) { return model.sweep() && model.sweep()->key == key; };
    const NamedError error = model.describe(failure, [&](const std::string& key) {
        if (swept(key)) {
            for (const SweepChoice& choice : choices_) {
                if (choice.key == key)
                    return choice.name.toStdString();
            }
        }
        return program_->parameterName(key).toStdString();
    });
    QWidget* field = nullptr;
    if (!error.key.empty())
        field = swept(error.key) ? ui->FromEdit : program_->parameterField(error.key);
    throw FieldError(error.message, field);
}

void SeriesWindow::showResults()
{
    const std::vector<SeriesPoint> points = runner_->keptPoints();
    const int total = runner_->model().pointCount();
    presentation_ = program_->present(runner_->model(), points);
    table_->show(presentation_->tableHeader(), presentation_->tableRows());
    ui->StatusLabel->setText(statusText(points, total, runner_->plan().runs));
    ui->SaveButton->setEnabled(!points.empty());
    // The chart is drawn before it shows, so that the layout knows the room it asks for.
    if (!sweepName_.isEmpty() && !points.empty()) {
        showChart();
        showChartPanel();
    }
}

// The chart comes back with the share of the results area it had, at first
// three fifths. A window too small for its readable plot grows within the
// screen; beyond that its content scrolls, to the chart.
void SeriesWindow::showChartPanel()
{
    ui->ChartPanel->show();
    if (isVisible()) {
        // Laid out now, with the chart, the window tells what it needs.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QWidget* viewport = ui->ContentScroll->viewport();
        const int missing = ui->Content->heightForWidth(viewport->width()) - viewport->height();
        if (missing > 0) {
            resize(width(), height() + missing);
            fitToScreen(this, frameGeometry().topLeft(), false);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        }
    }
    // Qt takes the sizes as they are, so the shares are scaled to the area.
    const int area = ui->ResultsSplitter->height() - ui->ResultsSplitter->handleWidth();
    const int table = area * split_[0] / (split_[0] + split_[1]);
    ui->ResultsSplitter->setSizes({table, area - table});
    ui->ContentScroll->ensureWidgetVisible(ui->ChartPanel, 0, 0);
}

// A stopped series keeps each point's runs from run 0 up to the first that did
// not finish, so the status says how many runs its results rest on.
QString SeriesWindow::statusText(const std::vector<SeriesPoint>& points, int total, int runs) const
{
    const QLocale locale = NumberLocale();
    // What the brackets hold, for those who meet them here first.
    const QString interval =
        QStringLiteral(" В квадратных скобках — 95-процентный доверительный интервал среднего по прогонам.");
    const bool whole = std::ssize(points) == total
        && std::all_of(points.begin(), points.end(),
                       [runs](const SeriesPoint& point) { return point.summary.runs == runs; });
    const QString runsText = NumberWithNoun(locale, runs, "прогон", "прогона", "прогонов");
    if (whole && total == 1)
        return QStringLiteral("Серия закончена: %1.").arg(runsText) + interval;
    if (whole) {
        return QStringLiteral("Серия закончена: %1 в каждой из %2.")
                   .arg(runsText, NumberWithNoun(locale, total, "точки", "точек", "точек"))
            + interval;
    }
    if (points.empty())
        return QStringLiteral("Серия остановлена раньше, чем закончились два прогона: итогов нет.");
    if (!sweepName_.isEmpty()) {
        return QStringLiteral("Серия остановлена: в таблице %1 из %2 точек, каждая — по прогонам, закончившимся "
                              "подряд с первого (их число — в столбце «Прогонов»).")
                   .arg(locale.toString(static_cast<qlonglong>(points.size())), locale.toString(total))
            + interval;
    }
    const int kept = points.front().summary.runs;
    return QStringLiteral("Серия остановлена: итоги по первым %1 из %2.")
               .arg(NumberWithNoun(locale, kept, "прогону", "прогонам", "прогонам"), locale.toString(runs))
        + interval;
}

void SeriesWindow::showChart()
{
    if (presentation_ == nullptr || running() || sweepName_.isEmpty())
        return;
    const int statistic = std::max(0, ui->StatisticCombo->currentIndex());
    ui->Chart->showLines(program_->chartTitle(statistic), sweepName_, program_->chartAxisTitle(),
                         presentation_->sweepLines(statistic));
    enableScaleSwitch();
}

// The switch keeps what the user chose, which applies whenever the lines shown
// allow it; the tooltip says what the scale does, or why it cannot.
void SeriesWindow::enableScaleSwitch()
{
    const bool possible = ui->Chart->logarithmicPossible();
    ui->LogScaleCheck->setEnabled(possible);
    ui->LogScaleCheck->setToolTip(
        possible ? QStringLiteral("Ось значений — по десятичным порядкам. Полоса интервала, доходящего до 0 или "
                                  "ниже, обрезана по нижнему краю графика.")
                 : QStringLiteral("Недоступна: у показанных линий есть средние, равные 0 или меньше, а на "
                                  "логарифмической шкале их нет. Такие линии можно скрыть щелчком в легенде."));
    ui->LogScaleCheck->setAccessibleDescription(ui->LogScaleCheck->toolTip());
}

void SeriesWindow::save() const
{
    if (presentation_ == nullptr || running())
        return;
    const auto target = askSavePath(const_cast<SeriesWindow*>(this), QStringLiteral("Сохранить итоги серии"),
                                    {QStringLiteral("Итоги серии, CSV (*.csv)")});
    if (!target)
        return;
    saveText(target->path, presentation_->csv());
}

void SeriesWindow::hideEvent(QHideEvent* event)
{
    stopSeries();
    watcher_.waitForFinished();
    QDialog::hideEvent(event);
}

}  // namespace shell
