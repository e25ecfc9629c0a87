// The series runs on threads that take only the time the windows leave, so
// that a press in the main window is drawn at once; the window polls the
// progress, and the results arrive when the future finishes.
#include "SeriesWindow.h"

#include "Application.h"
#include "ChartMenu.h"
#include "ExperimentFile.h"
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
#include <QScrollBar>
#include <QSettings>
#include <QThread>

#include <cmath>

namespace shell {

PointsPresentation::PointsPresentation(const SeriesModel& model, std::vector<SeriesPoint> points, CsvWriter writer)
    : swept_(model.sweep().has_value())
    , statistics_(model.statisticCount())
    , points_(std::move(points))
    , csv_(std::move(writer))
{
}

QStringList PointsPresentation::header(const QStringList& titles, const Comparison& comparison) const
{
    QStringList all = swept_ ? QStringList{QStringLiteral("Значение")} : QStringList();
    all += titles;
    // The comparison follows the chart's statistic, which the column names.
    if (comparison.baseline)
        all << QStringLiteral("Отличие от базовой:\n%1").arg(chartStatistics().value(comparison.statistic));
    return all;
}

std::vector<TableCell> PointsPresentation::row(const SeriesPoint& point) const
{
    if (!point.value)
        return {};
    return {TableCell::Number(*point.value)};
}

TableCell PointsPresentation::comparisonCell(std::size_t point, int statistic, const Comparison& comparison) const
{
    if (point == *comparison.baseline)
        return TableCell::Text(QStringLiteral("базовая"));
    const Estimate difference = estimateAt(point, statistic, comparison.baseline);
    return TableCell::Text(difference.low > 0 || difference.high < 0 ? QStringLiteral("да") : QStringLiteral("нет"));
}

Estimate PointsPresentation::estimateAt(std::size_t point, int statistic, std::optional<std::size_t> baseline) const
{
    if (!baseline)
        return points_[point].summary.estimates[static_cast<std::size_t>(statistic)];
    // A point's differences are worked out once for each baseline it is compared with.
    auto& differences = differences_[*baseline];
    if (differences.empty()) {
        for (const SeriesPoint& each : points_)
            differences.push_back(PairedDifferences(each, points_[*baseline], statistics_).summary.estimates);
    }
    return differences[point][static_cast<std::size_t>(statistic)];
}

SweepLine PointsPresentation::line(const QString& name, const QColor& color, int statistic,
                                   std::optional<std::size_t> baseline) const
{
    SweepLine drawn{name, color, {}, {}};
    for (std::size_t point = 0; point < points_.size(); ++point) {
        drawn.values.push_back(*points_[point].value);
        drawn.estimates.push_back(estimateAt(point, statistic, baseline));
    }
    return drawn;
}

QString SeriesPresentation::conclusion() const
{
    return {};
}

int SeriesPresentation::defaultStatistic() const
{
    return 0;
}

QString SeriesPresentation::chartTitle(int statistic) const
{
    return chartStatistics().value(statistic);
}

QString SeriesPresentation::chartAxisTitle(int statistic) const
{
    return chartStatistics().value(statistic);
}

QStringList PointsPresentation::oneLine(QStringList titles)
{
    return titles.replaceInStrings(QStringLiteral("\n"), QStringLiteral(" "));
}

double SeriesProgram::readSweepBound(const std::string&, std::string_view text) const
{
    return StrToFloat(text);
}

bool SeriesProgram::wholeSweep(const std::string&) const
{
    return false;
}

QString SeriesProgram::extrasTitle() const
{
    return {};
}

std::vector<ExtraField> SeriesProgram::extraFields() const
{
    return {};
}

bool SeriesProgram::usesExtras(const std::string&) const
{
    return true;
}

double SeriesProgram::readExtra(const std::string&, std::string_view text) const
{
    return StrToFloat(text);
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
    measures_ = program_->measureChoices();
    for (const MeasureChoice& choice : measures_)
        ui->MeasureCombo->addItem(choice.name);
    ui->MeasureLabel->setVisible(measures_.size() > 1);
    ui->MeasureCombo->setVisible(measures_.size() > 1);
    addExtraFields();
    ui->ChartPanel->hide();
    // What the window grows by goes to the chart rather than to the table.
    ui->ResultsSplitter->setStretchFactor(0, 2);
    ui->ResultsSplitter->setStretchFactor(1, 3);
    ui->ImageButton->setMenu(ui->Chart->menu()->menu());
    ui->ResultsTable->verticalHeader()->hide();
    table_ = new ResultsTable(ui->ResultsTable);
    // A seed may have twenty digits, all of them to be seen.
    ui->SeedEdit->setMinimumWidth(ui->SeedEdit->fontMetrics().horizontalAdvance(QStringLiteral("18446744073709551615"))
                                  + 2 * ui->SeedEdit->fontMetrics().averageCharWidth());
    nameControls();
    refreshChoices();
    recall();
    enableSettings();
    connectHandlers();
}

// The program's own settings, each in a field named by its caption.
void SeriesWindow::addExtraFields()
{
    ui->ExtrasBox->setTitle(program_->extrasTitle());
    for (const ExtraField& extra : program_->extraFields()) {
        auto* field = new QLineEdit(ui->ExtrasBox);
        field->setObjectName(QString::fromStdString(extra.key) + QStringLiteral("Edit"));
        field->setPlaceholderText(QStringLiteral("0"));
        field->setAccessibleName(fieldName(program_->extrasTitle(), extra.caption));
        ui->ExtrasLayout->addRow(extra.caption, field);
        extraFields_.emplace_back(extra, field);
    }
    ui->ExtrasBox->setVisible(!extraFields_.empty());
    QWidget* previous = ui->PointsEdit;
    for (const auto& [extra, field] : extraFields_) {
        setTabOrder(previous, field);
        previous = field;
    }
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
    connectGuarded(ui->MeasureCombo, &QComboBox::currentIndexChanged, this, [this] { enableSettings(); });
    connectGuarded(ui->StatisticCombo, &QComboBox::currentIndexChanged, this, [this] {
        showChart();
        showTable();
    });
    connectGuarded(ui->BaselineCombo, &QComboBox::currentIndexChanged, this, [this] {
        showChart();
        showTable();
    });
    connectGuarded(ui->LogScaleCheck, &QCheckBox::toggled, this,
                   [this](bool checked) { ui->Chart->setLogarithmic(checked); });
    connectGuarded(ui->Chart, &SweepChart::shownLinesChanged, this, [this] { enableScaleSwitch(); });
    connectGuarded(ui->ResultsSplitter, &QSplitter::splitterMoved, this,
                   [this] { split_ = ui->ResultsSplitter->sizes(); });
    connectGuarded(&progressTimer_, &QTimer::timeout, this, [this] { showProgress(); });
    connectGuarded(&watcher_, &QFutureWatcher<void>::finished, this, [this] { finishSeries(); });
    // Quitting the program destroys the window without hiding it first.
    connectGuarded(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { remember(); });
}

// Assistive tools and messages name each field by its caption, and a field of
// the sweep by the frame's caption too.
void SeriesWindow::nameControls()
{
    ui->RunsEdit->setAccessibleName(ui->RunsLabel->text());
    ui->SeedEdit->setAccessibleName(ui->SeedLabel->text());
    ui->PrecisionEdit->setAccessibleName(ui->PrecisionLabel->text());
    ui->MeasureCombo->setAccessibleName(ui->MeasureLabel->text());
    ui->BaselineCombo->setAccessibleName(QStringLiteral("Разность с базовой точкой"));
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
    for (QWidget* control : std::initializer_list<QWidget*>{ui->RunsEdit, ui->SeedEdit, ui->PrecisionEdit,
                                                            ui->MeasureCombo, ui->VaryCombo, ui->RunButton})
        control->setEnabled(idle);
    const bool used = program_->usesExtras(measure());
    ui->ExtrasBox->setEnabled(idle && used);
    ui->ExtrasBox->setToolTip(
        used ? QString() : QStringLiteral("С показателями «%1» не считаются.").arg(ui->MeasureCombo->currentText()));
    ui->StopButton->setEnabled(!idle);
    const bool sweep = ui->VaryCombo->currentIndex() > 0 && idle;
    for (QWidget* field : {ui->FromEdit, ui->ToEdit, ui->PointsEdit})
        field->setEnabled(sweep);
}

// A series runs until its results are shown: its future ends a moment before
// the window hears of it, and nothing may start or read in that moment.
bool SeriesWindow::running() const
{
    return running_;
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

// A percentage in the field, a share in the series.
std::optional<double> SeriesWindow::readPrecision() const
{
    if (ui->PrecisionEdit->text().trimmed().isEmpty())
        return std::nullopt;
    return readText(ui->PrecisionEdit, [](std::string_view text) {
        const double percent = StrToFloat(text);
        if (!(percent > 0 && percent < 100))
            throw Exception(Quoted(text) + " — задайте число больше 0 и меньше 100 или оставьте поле пустым");
        return percent / 100;
    });
}

std::string SeriesWindow::measure() const
{
    return measures_.at(static_cast<std::size_t>(std::max(0, ui->MeasureCombo->currentIndex()))).key;
}

std::map<std::string, double> SeriesWindow::extras() const
{
    std::map<std::string, double> values;
    for (const auto& [extra, field] : extraFields_) {
        if (field->text().trimmed().isEmpty())
            values[extra.key] = 0;
        else
            values[extra.key] =
                readText(field, [&](std::string_view text) { return program_->readExtra(extra.key, text); });
    }
    return values;
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
    const std::optional<double> precision = readPrecision();
    std::optional<Sweep> sweep = readSweep();
    const bool swept = sweep.has_value();
    std::map<std::string, double> values = extras();
    // Settings that the measures do not count are shown unavailable, and left out.
    if (!program_->usesExtras(measure()))
        std::ranges::for_each(values, [](auto& value) { value.second = 0; });
    const QJsonObject settings = program_->experimentSettings(values);
    const std::shared_ptr<const SeriesModel> model =
        program_->makeModel({seed, std::move(sweep), measure(), std::move(values)});
    if (const auto refused = model->refusedPoint())
        reportFailure(*model, *refused);
    if (ui->SeedEdit->text().trimmed().isEmpty())
        ui->SeedEdit->setText(QString::number(seed));
    experiment_ = ExperimentBytes(settings, setup());
    sweepName_ = model->sweep() ? ui->VaryCombo->currentText() : QString();
    clearResults();
    remember();
    // A sweep's rows are kept for the paired comparisons of its points.
    runner_ = std::make_unique<SeriesRunner>(model, SeriesPlan{runs, precision, swept});
    // Idle priority: the workers take only the time the windows leave.
    watcher_.setFuture(runner_->start({QThread::idealThreadCount(), true}));
    running_ = true;
    enableSettings();
    showProgress();
    progressTimer_.start();
}

void SeriesWindow::clearResults()
{
    presentation_.reset();
    kept_.clear();
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

// Called by the watcher, and by a close that waits for the end rather than
// leave the window thinking that a series still runs.
void SeriesWindow::finishSeries()
{
    if (!running_)
        return;
    running_ = false;
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
    kept_ = runner_->keptPoints();
    const int total = runner_->model().pointCount();
    presentation_ = program_->present(runner_->model(), kept_);
    {
        // The chart's statistics follow the measures; the one chosen stays while offered.
        const QSignalBlocker statistics(ui->StatisticCombo);
        const QString chosen = ui->StatisticCombo->currentText();
        ui->StatisticCombo->clear();
        ui->StatisticCombo->addItems(presentation_->chartStatistics());
        const int kept = ui->StatisticCombo->findText(chosen);
        ui->StatisticCombo->setCurrentIndex(kept >= 0 ? kept : presentation_->defaultStatistic());
        ui->StatisticLabel->setVisible(ui->StatisticCombo->count() > 1);
        ui->StatisticCombo->setVisible(ui->StatisticCombo->count() > 1);
        const QSignalBlocker baseline(ui->BaselineCombo);
        ui->BaselineCombo->clear();
        ui->BaselineCombo->addItem(QStringLiteral("ничем: значения"));
        for (const SeriesPoint& point : kept_) {
            if (point.value)
                ui->BaselineCombo->addItem(NumberLocale().toString(*point.value, 'g', 12));
        }
    }
    showTable();
    QString status = statusText(kept_, total, runner_->plan().runs);
    if (const QString conclusion = presentation_->conclusion(); !conclusion.isEmpty())
        status += QLatin1Char(' ') + conclusion;
    ui->StatusLabel->setText(status);
    ui->SaveButton->setEnabled(!kept_.empty());
    // The chart is drawn before it shows, so that the layout knows the room it asks for.
    if (!sweepName_.isEmpty() && !kept_.empty()) {
        showChart();
        showChartPanel();
    }
}

void SeriesWindow::showTable()
{
    if (presentation_ == nullptr)
        return;
    Comparison comparison;
    comparison.statistic = std::max(0, ui->StatisticCombo->currentIndex());
    if (ui->BaselineCombo->currentIndex() > 0)
        comparison.baseline = static_cast<std::size_t>(ui->BaselineCombo->currentIndex() - 1);
    table_->show(presentation_->tableHeader(comparison), presentation_->tableRows(comparison));
    // However small the screen, the table keeps its header and three rows in
    // view, beside a scroll bar for its columns; the window's content scrolls instead.
    QTableWidget* table = ui->ResultsTable;
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height()
                            + 3 * table->verticalHeader()->defaultSectionSize()
                            + table->horizontalScrollBar()->sizeHint().height() + 2 * table->frameWidth());
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

// Each point ended on its own, at the first stage precise enough or at the
// ceiling; of those that missed, the row furthest from the precision is named.
QString SeriesWindow::precisionText(const std::vector<SeriesPoint>& points, int runs) const
{
    const QLocale locale = NumberLocale();
    const auto outcomes = runner_->outcomes();
    std::vector<int> reached;
    struct Worst {
        double share = -1;
        std::size_t point = 0;
        std::size_t statistic = 0;
    } worst;
    for (std::size_t point = 0; point < points.size(); ++point) {
        if (outcomes[point]->precise) {
            reached.push_back(points[point].summary.runs);
            continue;
        }
        const std::vector<Estimate>& estimates = points[point].summary.estimates;
        for (std::size_t statistic = 0; statistic < estimates.size(); ++statistic) {
            const Estimate& estimate = estimates[statistic];
            // Runs all equal (0 / 0) count as precise.
            const double share = (estimate.high - estimate.low) / 2 / std::abs(estimate.mean);
            if (share > worst.share)
                worst = {share, point, statistic};
        }
    }
    const QString target = locale.toString(*runner_->plan().precision * 100, 'g', 6) + QStringLiteral(" %");
    QString span;
    if (!reached.empty()) {
        const auto [fewest, most] = std::minmax_element(reached.begin(), reached.end());
        const QString noun = NumberWithNoun(locale, *most, "прогон", "прогона", "прогонов");
        span = *fewest == *most ? noun : locale.toString(*fewest) + QStringLiteral("–") + noun;
    }
    if (reached.size() == points.size())
        return QStringLiteral("Серия закончена: точность %1 достигнута за %2 (число — в столбце «Прогонов»).")
            .arg(target, span);
    const QString row = QStringLiteral("«%1»").arg(
        QString::fromStdString(runner_->model().statisticLabel(static_cast<int>(worst.statistic))));
    const QString reachedShare = std::isinf(worst.share)
        ? QStringLiteral("среднее 0")
        : QStringLiteral("±%1 %").arg(locale.toString(worst.share * 100, 'g', 3));
    if (points.size() == 1)
        return QStringLiteral("Серия закончена: точность %1 не достигнута за наибольшее число прогонов, %2; хуже всех "
                              "строка %3: %4.")
            .arg(target, locale.toString(runs), row, reachedShare);
    QString text =
        QStringLiteral("Серия закончена: точность %1 не достигнута в %2 из %3 за наибольшее число прогонов, "
                       "%4; хуже всех строка %5 при значении %6: %7.")
            .arg(target, locale.toString(static_cast<qlonglong>(points.size() - reached.size())),
                 NumberWithNoun(locale, std::ssize(points), "точки", "точек", "точек"), locale.toString(runs), row,
                 locale.toString(*points[worst.point].value, 'g', 12), reachedShare);
    if (!reached.empty())
        text += QStringLiteral(" В остальных она достигнута за %1.").arg(span);
    return text;
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
    if (runner_->plan().precision && !runner_->stopped() && std::ssize(points) == total)
        return precisionText(points, runs) + interval;
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
    std::optional<std::size_t> baseline;
    QString title = presentation_->chartTitle(statistic) + QStringLiteral(", среднее по прогонам");
    if (ui->BaselineCombo->currentIndex() > 0) {
        baseline = static_cast<std::size_t>(ui->BaselineCombo->currentIndex() - 1);
        title = QStringLiteral("Разность с базовой точкой %1: %2").arg(ui->BaselineCombo->currentText(), title);
    }
    ui->Chart->showLines(title, sweepName_, presentation_->chartAxisTitle(statistic),
                         presentation_->sweepLines(statistic, baseline));
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
    // The experiment beside the results makes them again.
    if (target && saveText(target->path, presentation_->csv()))
        saveText(ExperimentPathBeside(target->path), experiment_.toStdString());
}

namespace {

// The series window's settings between starts of the program: the user's
// configuration folder, a file for each program.
QSettings settings()
{
    return QSettings(QStringLiteral("velmora-kestrin"), QCoreApplication::applicationName());
}

}  // namespace

// What is kept is the fields' texts, as typed; the seed is not, since a fresh
// one is what a new start of the program should give.
void SeriesWindow::remember() const
{
    QSettings kept = settings();
    kept.beginGroup(QStringLiteral("series"));
    kept.setValue(QStringLiteral("runs"), ui->RunsEdit->text());
    kept.setValue(QStringLiteral("precision"), ui->PrecisionEdit->text());
    kept.setValue(QStringLiteral("measures"), QString::fromStdString(measure()));
    const int vary = ui->VaryCombo->currentIndex();
    kept.setValue(QStringLiteral("vary"),
                  vary > 0 ? QString::fromStdString(choices_[static_cast<std::size_t>(vary - 1)].key) : QString());
    kept.setValue(QStringLiteral("from"), ui->FromEdit->text());
    kept.setValue(QStringLiteral("to"), ui->ToEdit->text());
    kept.setValue(QStringLiteral("points"), ui->PointsEdit->text());
    for (const auto& [extra, field] : extraFields_)
        kept.setValue(QStringLiteral("extra/") + QString::fromStdString(extra.key), field->text());
}

void SeriesWindow::recall()
{
    QSettings kept = settings();
    kept.beginGroup(QStringLiteral("series"));
    const auto text = [&kept](QLineEdit* field, const QString& key) {
        if (kept.contains(key))
            field->setText(kept.value(key).toString());
    };
    text(ui->RunsEdit, QStringLiteral("runs"));
    text(ui->PrecisionEdit, QStringLiteral("precision"));
    text(ui->FromEdit, QStringLiteral("from"));
    text(ui->ToEdit, QStringLiteral("to"));
    text(ui->PointsEdit, QStringLiteral("points"));
    for (const auto& [extra, field] : extraFields_)
        text(field, QStringLiteral("extra/") + QString::fromStdString(extra.key));
    const std::string measureKey = kept.value(QStringLiteral("measures")).toString().toStdString();
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        if (measures_[i].key == measureKey)
            ui->MeasureCombo->setCurrentIndex(static_cast<int>(i));
    }
    // A parameter the main window does not show now is not chosen.
    const std::string varyKey = kept.value(QStringLiteral("vary")).toString().toStdString();
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].key == varyKey)
            ui->VaryCombo->setCurrentIndex(static_cast<int>(i) + 1);
    }
}

SeriesSetup SeriesWindow::setup() const
{
    SeriesSetup setup;
    setup.runs = readRuns();
    if (!ui->SeedEdit->text().trimmed().isEmpty())
        setup.seed = readSeed();
    setup.precision = readPrecision();
    setup.measures = measure();
    if (const int vary = ui->VaryCombo->currentIndex(); vary > 0) {
        const std::string key = choices_[static_cast<std::size_t>(vary - 1)].key;
        const auto bound = [&](QLineEdit* field) {
            return readText(field, [&](std::string_view text) { return program_->readSweepBound(key, text); });
        };
        setup.vary =
            SeriesSetup::Vary{key, bound(ui->FromEdit), bound(ui->ToEdit), readText(ui->PointsEdit, ReadSweepPoints)};
    }
    return setup;
}

QByteArray SeriesWindow::experiment() const
{
    return ExperimentBytes(program_->experimentSettings(extras()), setup());
}

void SeriesWindow::check(const SeriesSetup& setup) const
{
    if (running())
        throw Exception("идёт серия прогонов: остановите её, чтобы открыть другие настройки");
    if (setup.measures.empty() || std::ranges::any_of(measures_, [&setup](const MeasureChoice& choice) {
            return choice.key == setup.measures;
        }))
        return;
    QStringList keys;
    for (const MeasureChoice& choice : measures_)
        keys << QString::fromStdString(choice.key);
    throw Exception("поле «series.measures» — " + Quoted(setup.measures) + ": ожидается "
                    + keys.join(QStringLiteral(" или ")).toStdString());
}

// Results shown beside other settings would be taken for theirs, so they go.
void SeriesWindow::apply(const SeriesSetup& setup, const std::map<std::string, double>& values)
{
    clearResults();
    ui->Progress->setValue(0);
    ui->StatusLabel->setText(QStringLiteral("Настройки эксперимента открыты: итоги появятся после «Запустить»."));
    ui->RunsEdit->setText(QString::number(setup.runs));
    ui->SeedEdit->setText(setup.seed ? QString::number(*setup.seed) : QString());
    // A share's percentage to twelve digits, so that 0.07 shows as 7.
    ui->PrecisionEdit->setText(setup.precision ? FieldText(QString::number(*setup.precision * 100, 'g', 12).toDouble())
                                               : QString());
    ui->MeasureCombo->setCurrentIndex(0);
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        if (measures_[i].key == setup.measures)
            ui->MeasureCombo->setCurrentIndex(static_cast<int>(i));
    }
    ui->VaryCombo->setCurrentIndex(0);
    if (setup.vary) {
        for (std::size_t i = 0; i < choices_.size(); ++i) {
            if (choices_[i].key == setup.vary->parameter)
                ui->VaryCombo->setCurrentIndex(static_cast<int>(i) + 1);
        }
        ui->FromEdit->setText(FieldText(setup.vary->from));
        ui->ToEdit->setText(FieldText(setup.vary->to));
        ui->PointsEdit->setText(QString::number(setup.vary->points));
    }
    for (const auto& [extra, field] : extraFields_) {
        const auto value = values.find(extra.key);
        field->setText(value == values.end() || value->second == 0 ? QString() : FieldText(value->second));
    }
}

// The window system hides a minimised window too, which leaves its series running.
void SeriesWindow::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous()) {
        stopSeries();
        watcher_.waitForFinished();
        finishSeries();
        remember();
    }
    QDialog::hideEvent(event);
}

}  // namespace shell
