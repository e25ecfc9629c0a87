// The window reads the run only when it is to be seen: a press while it is
// closed only tells it which tables are the last.
#include "ServersWindow.h"

#include "Flows.h"
#include "ServerTitles.h"
#include "ui_ServersWindow.h"

#include "shell/ui/Application.h"
#include "shell/ui/Files.h"
#include "shell/ui/NumberText.h"

#include <QHeaderView>
#include <QShowEvent>

#include <algorithm>

namespace velmora {
namespace {

QStringList tableHeader()
{
    return QStringList{QStringLiteral("Сервер")} + ServerStatisticTitles();
}

// Digits after the point that each statistic shows, in ServerStatistic's order.
constexpr std::array<int, ServerStatisticCount> shownDecimals{0, 3, 1, 0, 2, 2, 2};

// The one file type offered, and the text it gets; nothing without an answer.
void askAndSave(QWidget* parent, const QString& title, const QString& filter, const std::string& text)
{
    if (const auto target = shell::askSavePath(parent, title, {filter}))
        shell::saveText(target->path, text);
}

}  // namespace

void saveTaskRecords(QWidget* parent, const TRunWorkspace& run)
{
    askAndSave(parent, QStringLiteral("Сохранить записи задач"), QStringLiteral("Записи задач, CSV (*.csv)"),
               TaskRecordsCsv(TaskRecords(run)));
}

ServersWindow::ServersWindow(QWidget* parent)
    : QDialog(parent, Qt::Window)
    , ui(std::make_unique<Ui::ServersWindow>())
{
    ui->setupUi(this);
    ui->Table->verticalHeader()->hide();
    ui->Table->verticalHeader()->setDefaultSectionSize(ui->Table->fontMetrics().height() + 6);
    table_ = new shell::ResultsTable(ui->Table);
    table_->show(tableHeader(), {});
    arrangeParts();
    ui->DiagramScroll->setAccessibleDescription(ui->Diagram->accessibleDescription());
    connectHandlers();
}

ServersWindow::~ServersWindow() = default;

// The diagram and the table get the height their contents take once a run is
// shown, and the chart the rest and whatever the window gains.
void ServersWindow::arrangeParts()
{
    // Every line of the table has a mean wait.
    const auto lines = std::ranges::count(ServerRows(), ServerStatistic::WaitMean, &ServerRow::statistic);
    const int rowHeight = ui->Table->fontMetrics().height() + 6;
    const int tableHeight = ui->Table->horizontalHeader()->sizeHint().height() + static_cast<int>(lines) * rowHeight
        + 2 * ui->Table->frameWidth();
    const int diagramHeight = NetworkDiagram::LoadedSize.height();
    const int chartHeight = std::max(ui->Chart->minimumHeight(), height() - diagramHeight - tableHeight);
    ui->Splitter->setSizes({diagramHeight, tableHeight, chartHeight});
    ui->Splitter->setStretchFactor(2, 1);
}

void ServersWindow::connectHandlers()
{
    shell::connectGuarded(ui->SaveButton, &QPushButton::clicked, this, [this] { save(); });
    shell::connectGuarded(ui->RecordsButton, &QPushButton::clicked, this, [this] {
        if (run_ != nullptr)
            saveTaskRecords(this, *run_);
    });
    shell::connectGuarded(ui->CloseButton, &QPushButton::clicked, this, [this] { close(); });
}

void ServersWindow::showRun(const TRunWorkspace* run)
{
    run_ = run;
    stale_ = true;
    if (isVisible())
        refresh();
}

void ServersWindow::showEvent(QShowEvent* event)
{
    if (stale_)
        shell::guarded([this] { refresh(); });
    QDialog::showEvent(event);
}

void ServersWindow::refresh()
{
    stale_ = false;
    if (run_ == nullptr)
        return;
    const NetworkMeasures measures = MeasureServers(*run_);
    measures_ = measures;
    const QLocale locale = shell::NumberLocale();
    ui->StatusLabel->setText(
        QStringLiteral("Прогон последнего нажатия «Смоделировать». Наблюдаемый период: тики %1–%2, всего %3. "
                       "Ожидание — в тиках.")
            .arg(locale.toString(measures.start), locale.toString(measures.end),
                 shell::NumberWithNoun(locale, static_cast<std::int64_t>(measures.period()), "тик", "тика", "тиков")));
    ServerLoads loads{};
    ServerQueues queues;
    for (int s = 0; s < ServerCount; ++s) {
        const auto server = static_cast<Server>(s);
        loads[static_cast<std::size_t>(s)] = {measures.at(server).utilisation, measures.at(server).queueMean};
        queues[static_cast<std::size_t>(s)] = QueueOverTime(*run_, server);
    }
    ui->Diagram->showLoads(loads);
    ui->DiagramScroll->setAccessibleDescription(ui->Diagram->accessibleDescription());
    fillTable(measures);
    ui->Chart->showQueues(std::move(queues));
    ui->SaveButton->setEnabled(true);
    ui->RecordsButton->setEnabled(true);
}

// A flow's line is named by its server and the flow.
void ServersWindow::fillTable(const NetworkMeasures& measures)
{
    shell::TableRows rows;
    for (const ServerLine& line : ServerLines(measures)) {
        QString name = ServerTitle(line.server);
        if (line.flow != 0)
            name += QStringLiteral(", ") + FlowTitle(line.flow).toLower();
        std::vector<shell::TableCell> cells{shell::TableCell::Text(name)};
        for (std::size_t statistic = 0; statistic < line.values.size(); ++statistic) {
            const std::optional<double>& value = line.values[statistic];
            cells.push_back(value ? shell::TableCell::Fixed(*value, shownDecimals[statistic])
                                  : shell::TableCell::Text({}));
        }
        rows.push_back(std::move(cells));
    }
    table_->show(tableHeader(), std::move(rows));
}

QString ServersWindow::tableText() const
{
    return table_->text();
}

void ServersWindow::save()
{
    if (!measures_)
        return;
    askAndSave(this, QStringLiteral("Сохранить показатели серверов"),
               QStringLiteral("Показатели серверов, CSV (*.csv)"), ServerLinesCsv(*measures_));
}

}  // namespace velmora
