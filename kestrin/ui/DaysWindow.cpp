// Only what is seen is drawn: a hidden window waits for its next show, and
// the small charts are drawn only while they are the chosen view.
#include "DaysWindow.h"

#include "GoodTitles.h"
#include "StockChart.h"
#include "ui_DaysWindow.h"

#include "shell/ui/Application.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/Files.h"
#include "shell/ui/ResultsTable.h"

#include <QGridLayout>
#include <QHeaderView>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kestrin {
namespace {

QStringList measuresHeader()
{
    return QStringList{QStringLiteral("Товар")} + GoodStatisticTitles();
}

shell::TableRows measuresRows(const PressDays& run)
{
    shell::TableRows rows;
    const auto measures = run.meter.measures();
    for (std::size_t row = 0; row < measures.size(); ++row) {
        const GoodMeasures& m = measures[row];
        rows.push_back({shell::TableCell::Text(GoodTitle(static_cast<int>(row) + 1)),
                        shell::TableCell::Number(m.demand, 6), shell::TableCell::Number(m.lost, 6),
                        shell::TableCell::Number(m.fillRate, 4), shell::TableCell::Number(m.readyRate, 4),
                        shell::TableCell::Number(m.deliveries), shell::TableCell::Number(m.stockMean, 4),
                        shell::TableCell::Number(m.stockMin, 6)});
    }
    return rows;
}

}  // namespace

void saveDayRecords(QWidget* parent, const PressDays& run)
{
    const auto target = shell::askSavePath(parent, QStringLiteral("Сохранить записи дней"),
                                           {QStringLiteral("Записи дней, CSV (*.csv)")});
    if (target)
        shell::saveText(target->path, DayRecordsCsv(run.recorder.days));
}

DaysWindow::DaysWindow(QWidget* parent)
    : QDialog(parent, Qt::Window)
    , ui(std::make_unique<Ui::DaysWindow>())
{
    ui->setupUi(this);
    for (int good = 1; good <= GoodsCount; ++good)
        ui->GoodCombo->addItem(QStringLiteral("Товар %1").arg(good));
    ui->GoodCombo->addItem(GoodTitle(0));
    for (StockChart* chart : smallCharts()) {
        chart->makeCompact();
        // The keyboard reaches the chart of one good; the small ones are for the eye.
        chart->setFocusPolicy(Qt::NoFocus);
    }
    ui->ImageButton->setMenu(ui->Chart->menu()->menu());
    ui->MeasuresTable->setAccessibleName(QStringLiteral("Показатели товаров"));
    ui->MeasuresTable->verticalHeader()->hide();
    // Rows as low as their text, so that all eleven fit where the screen allows.
    ui->MeasuresTable->verticalHeader()->setDefaultSectionSize(
        ui->MeasuresTable->verticalHeader()->minimumSectionSize());
    ui->AllGoodsPage->installEventFilter(this);
    // When the window grows, the chart does.
    ui->Splitter->setStretchFactor(0, 1);
    ui->Splitter->setStretchFactor(1, 0);
    table_ = new shell::ResultsTable(ui->MeasuresTable);
    connectHandlers();
}

DaysWindow::~DaysWindow() = default;

std::array<StockChart*, GoodsCount> DaysWindow::smallCharts() const
{
    return {ui->Chart1, ui->Chart2, ui->Chart3, ui->Chart4, ui->Chart5,
            ui->Chart6, ui->Chart7, ui->Chart8, ui->Chart9, ui->Chart10};
}

void DaysWindow::connectHandlers()
{
    shell::connectGuarded(ui->GoodCombo, &QComboBox::currentIndexChanged, this, [this] { showChosen(); });
    shell::connectGuarded(ui->SaveButton, &QPushButton::clicked, this, [this] { saveTable(); });
    shell::connectGuarded(ui->SaveDaysButton, &QPushButton::clicked, this, [this] { saveDayRecords(this, *run_); });
    shell::connectGuarded(ui->CloseButton, &QPushButton::clicked, this, [this] { close(); });
}

void DaysWindow::showRun(std::shared_ptr<const PressDays> run)
{
    run_ = std::move(run);
    stale_ = true;
    if (isVisible())
        refresh();
}

void DaysWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (stale_)
        refresh();
}

void DaysWindow::refresh()
{
    stale_ = false;
    ui->Pages->setCurrentWidget(ui->RunPage);
    ui->SaveButton->setEnabled(true);
    ui->SaveDaysButton->setEnabled(true);
    table_->show(measuresHeader(), measuresRows(*run_));
    // The first table takes the height of its rows, as long as the chart keeps
    // more than half; later the splitter stays where the user left it.
    if (!tableFitted_) {
        tableFitted_ = true;
        const QList<int> sizes = ui->Splitter->sizes();
        const int total = sizes[0] + sizes[1];
        const QTableWidget* table = ui->MeasuresTable;
        const int rows = table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->length()
            + 2 * table->frameWidth();
        const int height = std::min(rows, total * 9 / 20);
        ui->Splitter->setSizes({total - height, height});
    }
    showChosen();
}

// The small charts take as many columns as keeps each nearest to a landscape
// of 8 by 5.
void DaysWindow::arrangeSmallCharts()
{
    const QSize area = ui->AllGoodsPage->size();
    if (area.isEmpty())
        return;
    int best = 1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const int columns : {1, 2, 5, 10}) {
        const double ratio = (area.width() / double(columns)) / (area.height() / double(GoodsCount / columns));
        const double distance = std::abs(std::log(ratio / 1.6));
        if (distance < bestDistance) {
            best = columns;
            bestDistance = distance;
        }
    }
    if (best == smallColumns_)
        return;
    smallColumns_ = best;
    auto* grid = static_cast<QGridLayout*>(ui->AllGoodsPage->layout());
    const auto charts = smallCharts();
    for (StockChart* chart : charts)
        grid->removeWidget(chart);
    for (int good = 0; good < GoodsCount; ++good)
        grid->addWidget(charts[static_cast<std::size_t>(good)], good / best, good % best);
}

bool DaysWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->AllGoodsPage && event->type() == QEvent::Resize)
        arrangeSmallCharts();
    return QDialog::eventFilter(watched, event);
}

void DaysWindow::showChosen() const
{
    if (run_ == nullptr)
        return;
    const int chosen = ui->GoodCombo->currentIndex() + 1;
    // The picture is the one good's chart.
    ui->ImageButton->setEnabled(chosen <= GoodsCount);
    if (chosen <= GoodsCount) {
        ui->ChartPages->setCurrentWidget(ui->Chart);
        ui->Chart->showGood(run_, chosen);
        return;
    }
    double top = 0;
    for (int good = 1; good <= GoodsCount; ++good)
        top = std::max(top, StockChart::stockTop(*run_, good));
    const auto charts = smallCharts();
    for (int good = 1; good <= GoodsCount; ++good)
        charts[static_cast<std::size_t>(good - 1)]->showGood(run_, good, top);
    ui->ChartPages->setCurrentWidget(ui->AllGoodsPage);
}

void DaysWindow::saveTable()
{
    const auto target = shell::askSavePath(this, QStringLiteral("Сохранить показатели"),
                                           {QStringLiteral("Показатели товаров, CSV (*.csv)")});
    if (target)
        shell::saveText(target->path, GoodMeasuresCsv(run_->meter.measures()));
}

}  // namespace kestrin
