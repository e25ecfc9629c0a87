// The series runs on a pool of its own whose threads take only the time the
// windows leave, so that a press in the main window is drawn at once; the
// window polls the progress, and the results arrive when the future finishes.
#include "SeriesWindow.h"

#include "Application.h"
#include "Controls.h"
#include "Convert.h"
#include "Files.h"
#include "Random.h"
#include "SweepChart.h"
#include "ui_SeriesWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QThread>

#include <cmath>

namespace shell {
namespace {

// The user's decimal separator, but no group separators: 4720 must not read as 4,72.
QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

SeriesWindow::SeriesWindow(const QString& title, std::unique_ptr<SeriesProgram> program, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , ui(std::make_unique<Ui::SeriesWindow>())
    , program_(std::move(program))
{
    ui->setupUi(this);
    setWindowTitle(title);
    pool_.setMaxThreadCount(QThread::idealThreadCount());
    pool_.setThreadPriority(QThread::IdlePriority);
    // Ten and more updates a second.
    progressTimer_.setInterval(50);
    const QStringList statistics = program_->chartStatistics();
    ui->StatisticCombo->addItems(statistics);
    ui->StatisticLabel->setVisible(statistics.size() > 1);
    ui->StatisticCombo->setVisible(statistics.size() > 1);
    ui->ChartPanel->hide();
    ui->ResultsTable->verticalHeader()->hide();
    ui->ResultsTable->installEventFilter(this);
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
    ui->VaryCombo->clear();
    ui->VaryCombo->addItem(QStringLiteral("ничего"));
    ui->VaryCombo->addItems(program_->sweepChoices());
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
    return job_ != nullptr && watcher_.isRunning();
}

void SeriesWindow::startSeries()
{
    if (running())
        return;
    const auto text = [](const QLineEdit* field) { return field->text().toStdString(); };
    const int runs = readField(ui->RunsEdit, ui->RunsEdit->accessibleName(),
                               [&] { return StrToIntInRange(text(ui->RunsEdit), 2, 1'000'000); });
    const bool freshSeed = ui->SeedEdit->text().trimmed().isEmpty();
    const std::uint64_t seed = freshSeed
        ? ClockSeed()
        : readField(ui->SeedEdit, ui->SeedEdit->accessibleName(), [&] { return StrToUInt64(text(ui->SeedEdit)); });
    std::optional<SweepInput> sweep;
    if (ui->VaryCombo->currentIndex() > 0) {
        const auto number = [&](QLineEdit* field) {
            return readField(field, field->accessibleName(), [&] { return StrToFloat(text(field)); });
        };
        const double from = number(ui->FromEdit);
        const double to =
            readField(ui->ToEdit, ui->ToEdit->accessibleName(), [&] { return ReadSweepEnd(from, text(ui->ToEdit)); });
        const int points = readField(ui->PointsEdit, ui->PointsEdit->accessibleName(),
                                     [&] { return StrToIntInRange(text(ui->PointsEdit), 2, 50); });
        sweep = SweepInput{ui->VaryCombo->currentIndex() - 1, from, to, points, ui->FromEdit, ui->ToEdit};
    }
    job_ = program_->makeJob(runs, seed, sweep);
    if (freshSeed)
        ui->SeedEdit->setText(QString::number(seed));
    sweepName_ = sweep ? ui->VaryCombo->currentText() : QString();
    ui->ResultsTable->clear();
    ui->ResultsTable->setRowCount(0);
    ui->ResultsTable->setColumnCount(0);
    ui->ChartPanel->hide();
    ui->SaveButton->setEnabled(false);
    watcher_.setFuture(job_->start(&pool_));
    enableSettings();
    showProgress();
    progressTimer_.start();
}

void SeriesWindow::stopSeries()
{
    if (running())
        job_->stop();
}

void SeriesWindow::showProgress()
{
    if (job_ == nullptr)
        return;
    const QLocale locale = numberLocale();
    ui->Progress->setMaximum(static_cast<int>(job_->runsTotal()));
    ui->Progress->setValue(static_cast<int>(job_->runsDone()));
    if (running()) {
        ui->StatusLabel->setText(QStringLiteral("Идёт серия: %1 из %2 прогонов.")
                                     .arg(locale.toString(job_->runsDone()), locale.toString(job_->runsTotal())));
    }
}

void SeriesWindow::finishSeries()
{
    progressTimer_.stop();
    showProgress();
    enableSettings();
    try {
        job_->rethrowFailure();
    } catch (...) {
        ui->StatusLabel->setText(QStringLiteral("Серия не удалась, итогов нет."));
        throw;
    }
    showResults();
}

void SeriesWindow::showResults()
{
    const QLocale locale = numberLocale();
    const QStringList header = job_->tableHeader();
    const std::vector<QStringList> rows = job_->tableRows(locale);
    ui->ResultsTable->setColumnCount(static_cast<int>(header.size()));
    ui->ResultsTable->setHorizontalHeaderLabels(header);
    ui->ResultsTable->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (qsizetype column = 0; column < rows[row].size(); ++column)
            ui->ResultsTable->setItem(static_cast<int>(row), static_cast<int>(column),
                                      new QTableWidgetItem(rows[row][column]));
    }
    ui->ResultsTable->resizeColumnsToContents();
    const int kept = job_->pointsKept();
    const int total = job_->pointsTotal();
    const QString runs = NumberWithNoun(locale, job_->runsTotal() / total, "прогон", "прогона", "прогонов");
    // What the brackets hold, for those who meet them here first.
    const QString interval =
        QStringLiteral(" В квадратных скобках — 95-процентный доверительный интервал среднего по прогонам.");
    if (kept == total && total == 1) {
        ui->StatusLabel->setText(QStringLiteral("Серия закончена: %1.").arg(runs) + interval);
    } else if (kept == total) {
        ui->StatusLabel->setText(QStringLiteral("Серия закончена: %1 в каждой из %2.")
                                     .arg(runs, NumberWithNoun(locale, total, "точки", "точек", "точек"))
                                 + interval);
    } else if (kept == 0) {
        ui->StatusLabel->setText(
            QStringLiteral("Серия остановлена раньше, чем закончились прогоны первой точки: итогов нет."));
    } else {
        ui->StatusLabel->setText(
            QStringLiteral("Серия остановлена: в таблице %1 из %2 точек, в которых закончились все прогоны.")
                .arg(locale.toString(kept), locale.toString(total))
            + interval);
    }
    ui->SaveButton->setEnabled(kept > 0);
    ui->ChartPanel->setVisible(!sweepName_.isEmpty() && kept > 0);
    showChart();
}

void SeriesWindow::showChart()
{
    if (job_ == nullptr || running() || sweepName_.isEmpty() || job_->pointsKept() == 0)
        return;
    const int statistic = std::max(0, ui->StatisticCombo->currentIndex());
    ui->Chart->showLines(program_->chartTitle(statistic), sweepName_, program_->chartAxisTitle(),
                         job_->sweepLines(statistic));
}

void SeriesWindow::save() const
{
    if (job_ == nullptr || running())
        return;
    const auto target = askSavePath(const_cast<SeriesWindow*>(this), QStringLiteral("Сохранить итоги серии"),
                                    {QStringLiteral("Итоги серии, CSV (*.csv)")});
    if (!target)
        return;
    const std::string text = job_->csv();
    saveFile(target->path, [&text](QIODevice& device) {
        return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    });
}

QString SeriesWindow::tableText() const
{
    const QTableWidget* table = ui->ResultsTable;
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << table->horizontalHeaderItem(column)->text();
    lines << cells.join(QLatin1Char('\t'));
    for (int row = 0; row < table->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Ctrl+C on the table copies all of it, not the current cell alone.
bool SeriesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ResultsTable && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        guarded([this] { QApplication::clipboard()->setText(tableText()); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SeriesWindow::hideEvent(QHideEvent* event)
{
    stopSeries();
    watcher_.waitForFinished();
    QDialog::hideEvent(event);
}

QString EstimateText(const QLocale& locale, const Estimate& estimate)
{
    const double halfWidth = (estimate.high - estimate.low) / 2;
    const auto magnitude = [](double value) {
        return value == 0 || !std::isfinite(value) ? 0 : static_cast<int>(std::floor(std::log10(std::abs(value))));
    };
    // The interval's width to two significant digits, and the mean to three at least.
    const int decimals =
        std::clamp(std::max(halfWidth > 0 ? 1 - magnitude(halfWidth) : 0, 2 - magnitude(estimate.mean)), 0, 12);
    return QStringLiteral("%1 [%2; %3]")
        .arg(locale.toString(estimate.mean, 'f', decimals), locale.toString(estimate.low, 'f', decimals),
             locale.toString(estimate.high, 'f', decimals));
}

QString ValueText(const QLocale& locale, double value)
{
    return locale.toString(value, 'g', 12);
}

}  // namespace shell
