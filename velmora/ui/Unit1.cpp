// Handlers of the simulation window. They only read the controls, call the model
// and hand its results to the chart.
#include "Unit1.h"

#include "AboutModel.h"
#include "Chart.h"
#include "ChartTools.h"
#include "CommandLine.h"
#include "Experiment.h"
#include "Flows.h"
#include "ui_Unit1.h"

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

#include <QKeyEvent>

namespace velmora {

TForm1* Form1 = nullptr;

namespace {

const QString sigmaHint = QStringLiteral("Число используется как среднеквадратическое отклонение σ");

// One arrival draw x sets the intervals of all three flows, so flows 1 and 2
// arrive less often than the intensity on this side suggests.
const QString arrivalHint = QStringLiteral(
    "Один розыгрыш x задаёт интервалы всех трёх потоков: у потока 3 интервал равен x + 1 тиков, "
    "у потока 2 — 2x + 1, у потока 1 — 4x + 1. Интервалы потока 1 в 4 раза, а потока 2 в 2 раза "
    "длиннее, чем у потока 3, интенсивность которого названа в подписи экспоненциального распределения.");

// Sets a label panel's caption; a caption too long for one line wraps and the
// panel grows downward instead of clipping it.
void setCaption(QLabel* panel, const QString& caption)
{
    constexpr int designHeight = 17;
    panel->setText(caption);
    shell::fitLabel(panel, designHeight);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    arrival_ = {ui->RadioGroup1, ui->rav, ui->erl, ui->norm, ui->eksp, ui->Edit1, ui->Edit2, ui->Panel1, ui->Panel2};
    processing_ = {ui->GroupBox1, ui->rav2,  ui->erl2,   ui->norm2, ui->eksp2,
                   ui->Edit5,     ui->Edit6, ui->Panel5, ui->Panel6};

    Series2 = ui->Chart1->addAreaSeries(FlowTitle(2), FlowColor(2));
    Series3 = ui->Chart1->addAreaSeries(FlowTitle(3), FlowColor(3));
    Series1 = ui->Chart1->addAreaSeries(FlowTitle(1), FlowColor(1));
    ui->RadioGroup1->setToolTip(arrivalHint);

    nameFields(arrival_);
    nameFields(processing_);
    // The chart's readouts, menu and files; they read the results when asked.
    // Its actions are also the file menu's, so that the keyboard reaches them.
    chartTools_ =
        new ChartTools(ui->Chart1, {Series1, Series2, Series3}, [this] { return results_ ? &*results_ : nullptr; });
    ui->FileMenu->insertActions(ui->RecordsAction, chartTools_->actions());
    ui->FileMenu->insertSeparator(ui->QuitAction);
    connectHandlers();
    anchorControls();
    // The window opens with the run button, first in the tab order, focused.
    ui->Button1->setFocus();
    // A top-level widget's position in the form is that of its frame.
    shell::placeMainWindow(this, ui->DesignedArea, QPoint(204, 120), false);

    shell::Randomize();
    shell::SRand(shell::ClockSeed());
}

TForm1::~TForm1() = default;

void TForm1::connectHandlers()
{
    // A radio button's handler runs when it becomes the selected one, by the user
    // or by the program, as a click handler of a radio button does.
    auto onClick = [this](QRadioButton* button, void (TForm1::*handler)()) {
        shell::connectGuarded(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onClick(ui->rav, &TForm1::ravClick);
    onClick(ui->erl, &TForm1::erlClick);
    onClick(ui->norm, &TForm1::normClick);
    onClick(ui->eksp, &TForm1::ekspClick);
    onClick(ui->rav2, &TForm1::rav2Click);
    onClick(ui->erl2, &TForm1::erl2Click);
    onClick(ui->norm2, &TForm1::norm2Click);
    onClick(ui->eksp2, &TForm1::eksp2Click);

    shell::connectGuarded(ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    shell::connectGuarded(ui->FileMenu, &QMenu::aboutToShow, this, [this] {
        chartTools_->updateActions();
        ui->RecordsAction->setEnabled(run_ != nullptr);
    });
    shell::connectGuarded(ui->RecordsAction, &QAction::triggered, this, [this] {
        if (run_ != nullptr)
            saveTaskRecords(this, *run_);
    });
    shell::connectGuarded(ui->ServersAction, &QAction::triggered, this, [this] { openServers(); });
    shell::connectMainMenus(this, ui->QuitAction, ui->AboutProgramAction, ProgramDescription());
    shell::connectGuarded(ui->SeriesAction, &QAction::triggered, this, [this] { openSeries(); });
    shell::connectGuarded(ui->OpenExperimentAction, &QAction::triggered, this, [this] { openExperiment(); });
    shell::connectGuarded(ui->SaveExperimentAction, &QAction::triggered, this, [this] { saveExperiment(); });
    shell::connectGuarded(ui->AboutModelAction, &QAction::triggered, this,
                          [this] { shell::showOwnWindow(aboutModel_, this); });
    // activated, unlike currentIndexChanged, also reports choosing the item already chosen.
    shell::connectGuarded(ui->ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
}

// The chart grows with the window; the two distribution frames with their fields
// keep their distance to the right edge, and the run button to the bottom.
void TForm1::anchorControls()
{
    auto* anchors = new shell::Anchors(ui->DesignedArea);
    anchors->add(ui->Chart1, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    anchors->add(ui->Button1, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui->RadioGroup1, ui->Edit1, ui->Edit2, ui->Panel1, ui->Panel2, ui->GroupBox1,
                                         ui->Panel5, ui->Edit5, ui->Edit6, ui->Panel6})
        anchors->add(control, Qt::TopEdge | Qt::RightEdge);
}

// Enter in a field, on a radio button or on the closed selector reaches the
// window and presses the run button, as a dialog's default button would be.
// The selector's open list is a window of its own, so choosing a view there
// with Enter never gets here.
void TForm1::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        ui->Button1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::Button1Click()
{
    ui->ComboBox1->setEnabled(true);
    arrivalDraws_.reset();
    processingDraws_.reset();
    // The previous results and their run stay until a run has completed.
    if (nextRun_ == nullptr)
        nextRun_ = std::make_unique_for_overwrite<TRunWorkspace>();
    TResultArrays results;
    try {
        RunModel(
            *nextRun_, results, [this] { return NextArrivalInterval(); }, [this] { return NextProcessingTime(); });
    } catch (const TimeRangeError& error) {
        timesOutOfRange(error);
    }
    std::swap(run_, nextRun_);
    results_ = results;
    ShowDistribution();
    if (servers_)
        servers_->showRun(run_.get());
}

void TForm1::ravClick()
{
    arrange(arrival_, DistributionKind::Uniform, {});
}
void TForm1::erlClick()
{
    arrange(arrival_, DistributionKind::Erlang2, {});
}
void TForm1::normClick()
{
    arrange(arrival_, DistributionKind::Normal, {});
}
void TForm1::ekspClick()
{
    arrange(arrival_, DistributionKind::Exponential, QStringLiteral("Интенсивность 3 потока:"));
}
void TForm1::rav2Click()
{
    arrange(processing_, DistributionKind::Uniform, {});
}
void TForm1::erl2Click()
{
    arrange(processing_, DistributionKind::Erlang2, {});
}
void TForm1::norm2Click()
{
    arrange(processing_, DistributionKind::Normal, {});
}
void TForm1::eksp2Click()
{
    arrange(processing_, DistributionKind::Exponential, QStringLiteral("Интенсивность:"));
}

void TForm1::arrange(const SideControls& side, DistributionKind kind, const QString& exponentialCaption)
{
    bool secondShown = false;
    switch (kind) {
    case DistributionKind::Uniform:
        setCaption(side.firstLabel, QStringLiteral("MAX:"));
        break;
    case DistributionKind::Erlang2:
        setCaption(side.firstLabel, QStringLiteral("Lambda 1:"));
        setCaption(side.secondLabel, QStringLiteral("Lambda 2:"));
        side.secondLabel->setToolTip({});
        side.second->setToolTip({});
        secondShown = true;
        break;
    case DistributionKind::Normal:
        setCaption(side.firstLabel, QStringLiteral("Матожидание:"));
        setCaption(side.secondLabel, QStringLiteral("Дисперсия:"));
        side.secondLabel->setToolTip(sigmaHint);
        side.second->setToolTip(sigmaHint);
        secondShown = true;
        break;
    case DistributionKind::Exponential:
        setCaption(side.firstLabel, exponentialCaption);
        break;
    }
    side.secondLabel->setVisible(secondShown);
    side.second->setVisible(secondShown);
    nameFields(side);
    emit parametersChanged();
}

// Assistive tools name each field as messages do, by its frame and its label;
// a second field without a caption yet stays unnamed while it is hidden.
void TForm1::nameFields(const SideControls& side)
{
    side.first->setAccessibleName(parameterName(side, 1));
    side.second->setAccessibleName(side.secondLabel->text().isEmpty() ? QString() : parameterName(side, 2));
}

void TForm1::ComboBox1Change()
{
    ShowDistribution();
}

void TForm1::ShowDistribution()
{
    Series1->Clear();
    Series2->Clear();
    Series3->Clear();
    if (!results_)
        return;
    const TResultArrays& r = *results_;
    switch (ui->ComboBox1->currentIndex()) {
    case 0:
        showFlow(Series1, r.Result1, FlowRange(r.Result1));
        break;
    case 1:
        showFlow(Series2, r.Result2, FlowRange(r.Result2));
        break;
    case 2:
        showFlow(Series3, r.Result3, FlowRange(r.Result3));
        break;
    case 3: {
        const HistogramRange common = CommonRange(r.Result1, r.Result2, r.Result3);
        showFlow(Series3, r.Result3, common);
        showFlow(Series1, r.Result1, common);
        showFlow(Series2, r.Result2, common);
        break;
    }
    default:
        break;
    }
}

void TForm1::showFlow(TAreaSeries* series, SortedFlow values, const HistogramRange& range)
{
    for (const HistogramPoint& point : BuildHistogram(values, range.L, range.h))
        series->AddXY(point.X, point.Y, QString(), clTeeColor);
}

std::int32_t TForm1::NextArrivalInterval()
{
    return draw(arrival_, arrivalDraws_, [this] { return ReadArrivalSetting(); });
}

std::int32_t TForm1::NextProcessingTime()
{
    return draw(processing_, processingDraws_, [this] { return ReadProcessingSetting(); });
}

template <typename Read>
std::int32_t TForm1::draw(const SideControls& side, std::optional<VariateDraw>& draws, Read&& read)
{
    try {
        if (!draws)
            draws.emplace(read());
        return (*draws)(shell::ProcessRandomSources());
    } catch (const ParameterError& error) {
        throw shell::FieldError(parameterName(side, error.parameter()), error.message(),
                                parameterField(side, error.parameter()));
    }
}

// The kinds come from the buttons, which cannot change while a press runs.
void TForm1::timesOutOfRange(const TimeRangeError& error) const
{
    const auto name = [this](Side side, int parameter) {
        return parameterName(controls(side), parameter).toStdString();
    };
    const Side first = error.arrival() ? Side::Arrival : Side::Processing;
    throw shell::FieldError(TimeRangeMessage(error, readKind(arrival_), readKind(processing_), name),
                            parameterField(controls(first), 1));
}

std::vector<ShownParameter> TForm1::shownParameters() const
{
    std::vector<ShownParameter> shown;
    for (const Side side : {Side::Arrival, Side::Processing}) {
        for (int parameter = 1; parameter <= 2; ++parameter) {
            if (!parameterField(controls(side), parameter)->isHidden())
                shown.push_back(shownParameter({side, parameter}));
        }
    }
    return shown;
}

ShownParameter TForm1::shownParameter(SweepParameter parameter) const
{
    const SideControls& side = controls(parameter.side);
    return {parameter, parameterName(side, parameter.parameter), parameterField(side, parameter.parameter)};
}

void TForm1::openSeries()
{
    shell::bringToFront(seriesWindow(), this);
}

shell::SeriesWindow* TForm1::seriesWindow()
{
    if (series_ == nullptr) {
        NetworkWindowView view{[this] {
                                   return SeriesSettings{ReadArrivalSetting(), ReadProcessingSetting()};
                               },
                               [this] { return shownParameters(); },
                               [this](SweepParameter parameter) { return shownParameter(parameter); },
                               [this](Side side) { return readKind(controls(side)); }};
        series_ =
            new shell::SeriesWindow(QStringLiteral("Серия прогонов"), MakeNetworkSeriesProgram(std::move(view)), this);
        shell::connectGuarded(this, &TForm1::parametersChanged, series_, [this] { series_->refreshChoices(); });
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
        const SeriesSettings settings = SettingsFromJson(parts.settings);
        if (parts.series.vary)
            ReadVariedParameter(settings, parts.series.vary->parameter);
        seriesWindow()->check(parts.series);
        return settings;
    });
    if (!opened)
        return;
    showSetting(arrival_, opened->first.arrival);
    showSetting(processing_, opened->first.processing);
    seriesWindow()->apply(opened->second, {});
    openSeries();
}

// As a user would: the distribution's button clicked, then its fields typed.
void TForm1::showSetting(const SideControls& side, const DistributionSetting& setting)
{
    const std::array buttons{side.uniform, side.erlang, side.normal, side.exponential};
    buttons[static_cast<std::size_t>(setting.kind)]->click();
    side.first->setText(shell::FieldText(setting.p1));
    if (ParameterCount(setting.kind) == 2)
        side.second->setText(shell::FieldText(setting.p2));
}

void TForm1::openServers()
{
    if (!servers_) {
        servers_ = new ServersWindow(this);
        servers_->showRun(run_.get());
    }
    shell::bringToFront(servers_, this);
}

DistributionSetting TForm1::ReadArrivalSetting() const
{
    return readSetting(arrival_);
}

DistributionSetting TForm1::ReadProcessingSetting() const
{
    return readSetting(processing_);
}

// The frame's caption and the parameter's label, as the user sees them.
QString TForm1::parameterName(const SideControls& side, int parameter)
{
    const QLabel* label = parameter == 1 ? side.firstLabel : side.secondLabel;
    return shell::fieldName(side.frame->title(), label->text());
}

QLineEdit* TForm1::parameterField(const SideControls& side, int parameter)
{
    return parameter == 1 ? side.first : side.second;
}

DistributionKind TForm1::readKind(const SideControls& side)
{
    if (side.uniform->isChecked())
        return DistributionKind::Uniform;
    if (side.erlang->isChecked())
        return DistributionKind::Erlang2;
    if (side.normal->isChecked())
        return DistributionKind::Normal;
    return DistributionKind::Exponential;
}

DistributionSetting TForm1::readSetting(const SideControls& side)
{
    const auto fieldValue = [&side](int parameter) {
        QLineEdit* field = parameterField(side, parameter);
        return shell::readField(field, parameterName(side, parameter),
                                [field] { return shell::StrToFloat(field->text().toStdString()); });
    };
    DistributionSetting setting{readKind(side), 0.0, 0.0};
    setting.p1 = fieldValue(1);
    // A hidden second field is not read, so whatever it holds cannot stop a run.
    if (setting.kind == DistributionKind::Erlang2 || setting.kind == DistributionKind::Normal)
        setting.p2 = fieldValue(2);
    return setting;
}

}  // namespace velmora
