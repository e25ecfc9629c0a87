// The handler reads every field before the first day, so a bad field stops the
// press before L changes; an error during the days puts L's text back. Messages
// about a field name its column and good, or the day count.
#include "Kestrin.h"

#include "AboutModel.h"
#include "CommandLine.h"
#include "DaysWindow.h"
#include "Experiment.h"
#include "WarehouseSeriesWindow.h"
#include "ui_Kestrin.h"

#include "kestrin/model/Inputs.h"
#include "kestrin/model/Series.h"

#include "shell/core/Convert.h"
#include "shell/core/Random.h"
#include "shell/ui/About.h"
#include "shell/ui/Application.h"
#include "shell/ui/ExperimentFile.h"
#include "shell/ui/FieldError.h"
#include "shell/ui/Layout.h"
#include "shell/ui/NumberText.h"
#include "shell/ui/Screen.h"
#include "shell/ui/SeriesWindow.h"

#include <QLabel>
#include <QLocale>

namespace kestrin {

TForm1* Form1 = nullptr;

namespace {

// Messages and assistive tools name a field alike: its column and good, or the
// caption of the day count.
template <typename Read>
auto fieldValue(QLineEdit* field, Read read)
{
    const std::string text = field->text().toStdString();
    return shell::readField(field, field->accessibleName(), [&] { return read(text); });
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    // A fixed size, unless the screen is smaller; then the designed area scrolls.
    shell::placeMainWindow(this, ui->DesignedArea, QPoint(220, 94), true);
    ui->Edit1->setFocus();
    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label4, ui->Label5})
        shell::fitLabel(label);
    const auto orderFields = orders();
    const auto thresholdFields = thresholds();
    for (int good = 0; good < GoodsCount; ++good) {
        const QString name = QStringLiteral("товар %1").arg(good + 1);
        orderFields[good]->setAccessibleName(shell::fieldName(QStringLiteral("Заказ"), name));
        thresholdFields[good]->setAccessibleName(shell::fieldName(QStringLiteral("Порог"), name));
        // The rows have no labels of their own, so the name shows on hovering.
        for (QLineEdit* field : {orderFields[good], thresholdFields[good]})
            field->setToolTip(field->accessibleName());
    }
    ui->G->setAccessibleName(ui->Label4->text());
    ui->L->setAccessibleName(QStringLiteral("L"));
    shell::connectGuarded(ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    shell::connectMainMenus(this, ui->QuitAction, ui->AboutProgramAction, ProgramDescription());
    shell::connectGuarded(ui->SeriesAction, &QAction::triggered, this, [this] { openSeries(); });
    shell::connectGuarded(ui->OpenExperimentAction, &QAction::triggered, this, [this] { openExperiment(); });
    shell::connectGuarded(ui->SaveExperimentAction, &QAction::triggered, this, [this] { saveExperiment(); });
    shell::connectGuarded(ui->DaysAction, &QAction::triggered, this, [this] { openDays(); });
    shell::connectGuarded(ui->SaveDaysAction, &QAction::triggered, this, [this] { saveDayRecords(this, *lastDays_); });
    shell::connectGuarded(ui->AboutModelAction, &QAction::triggered, this,
                          [this] { shell::showOwnWindow(aboutModel_, this); });
}

void TForm1::openSeries()
{
    shell::bringToFront(seriesWindow(), this);
}

shell::SeriesWindow* TForm1::seriesWindow()
{
    if (series_ == nullptr) {
        WarehouseWindowView view{[this] { return ReadWarehouseInput(); }, orders(), thresholds()};
        series_ = new shell::SeriesWindow(QStringLiteral("Серия расчётов"), MakeWarehouseSeriesProgram(std::move(view)),
                                          this);
        // An experiment holds both windows' settings, and either window saves or opens it.
        series_->addActions({ui->OpenExperimentAction, ui->SaveExperimentAction});
    }
    return series_;
}

void TForm1::saveExperiment()
{
    shell::saveExperiment(this, seriesWindow()->experiment());
}

void TForm1::openExperiment()
{
    const auto opened = shell::openExperiment(this, [this](const shell::ExperimentParts& parts) {
        const WarehouseSetup setup = SettingsFromJson(parts.settings);
        if (parts.series.vary)
            ReadQuantityKey(parts.series.vary->parameter);
        seriesWindow()->check(parts.series);
        return setup;
    });
    if (!opened)
        return;
    showInput(opened->first.input);
    seriesWindow()->apply(opened->second, CostExtras(opened->first.costs));
    openSeries();
}

void TForm1::showInput(const TWarehouseInput& input)
{
    const auto orderFields = orders();
    const auto thresholdFields = thresholds();
    for (std::size_t good = 0; good < GoodsCount; ++good) {
        orderFields[good]->setText(shell::FieldText(input.Order[good]));
        thresholdFields[good]->setText(shell::FieldText(input.Threshold[good]));
    }
    ui->G->setText(QString::number(input.DayCount));
}

void TForm1::openDays()
{
    if (days_ == nullptr) {
        days_ = new DaysWindow(this);
        if (lastDays_ != nullptr)
            days_->showRun(lastDays_);
    }
    shell::bringToFront(days_, this, shell::Placement::BesideOwner);
}

TForm1::~TForm1() = default;

std::array<QLineEdit*, GoodsCount> TForm1::orders() const
{
    return {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5,
            ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9, ui->Edit10};
}

std::array<QLineEdit*, GoodsCount> TForm1::thresholds() const
{
    return {ui->Edit11, ui->Edit12, ui->Edit13, ui->Edit14, ui->Edit15,
            ui->Edit16, ui->Edit17, ui->Edit18, ui->Edit19, ui->Edit20};
}

TWarehouseInput TForm1::ReadWarehouseInput() const
{
    TWarehouseInput input;
    const auto thresholdFields = thresholds();
    for (int good = 0; good < GoodsCount; ++good)
        input.Threshold[good] = fieldValue(thresholdFields[good], ReadThreshold);
    const auto orderFields = orders();
    for (int good = 0; good < GoodsCount; ++good)
        input.Order[good] = fieldValue(orderFields[good], ReadOrder);
    input.DayCount = fieldValue(ui->G, ReadDayCount);
    return input;
}

void TForm1::Button1Click()
{
    shell::SRand(shell::ClockSeed());
    auto days = std::make_shared<PressDays>();
    days->input = ReadWarehouseInput();
    days->recorder.days.reserve(static_cast<std::size_t>(std::min(days->input.DayCount, MaxDays)) * GoodsCount);
    const QString previous = ui->L->text();
    try {
        // The days take microseconds and nothing is painted meanwhile; what
        // they saw is kept for the days window and the day records.
        const double lost = SimulateWarehouse(
            days->input,
            [&source = shell::ProcessStandardSource()](std::int32_t n) { return shell::RandomBelow(n, source); }, *days,
            *days);
        ui->L->setText(QString::fromStdString(shell::FloatToStr(lost, QLocale().decimalPoint().toStdString())));
    } catch (...) {
        ui->L->setText(previous);
        throw;
    }
    lastDays_ = std::move(days);
    ui->SaveDaysAction->setEnabled(true);
    if (days_ != nullptr)
        days_->showRun(lastDays_);
}

}  // namespace kestrin
