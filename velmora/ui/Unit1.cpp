// Handlers of the simulation window. They only read the controls, call the model
// and hand its results to the chart.
#include "Unit1.h"

#include "Chart.h"
#include "ChartTools.h"
#include "ui_Unit1.h"

#include "shell/Application.h"
#include "shell/Controls.h"
#include "shell/Convert.h"
#include "shell/Random.h"

#include <QKeyEvent>

namespace velmora {

TForm1* Form1 = nullptr;

namespace {

const QString sigmaHint = QStringLiteral("Число используется как среднеквадратическое отклонение σ");

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
    : QWidget(parent)
    , ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    arrival_ = {ui->RadioGroup1, ui->rav, ui->erl, ui->norm, ui->eksp, ui->Edit1, ui->Edit2, ui->Panel1, ui->Panel2};
    processing_ = {ui->GroupBox1, ui->rav2,  ui->erl2,   ui->norm2, ui->eksp2,
                   ui->Edit5,     ui->Edit6, ui->Panel5, ui->Panel6};

    Series2 = ui->Chart1->addAreaSeries(QStringLiteral("Поток 2"), QColor(0x00, 0x80, 0x00));
    Series3 = ui->Chart1->addAreaSeries(QStringLiteral("Поток 3"), QColor(0xFF, 0xFF, 0x00));
    Series1 = ui->Chart1->addAreaSeries(QStringLiteral("Поток 1"), QColor(0xFF, 0x00, 0x00));

    nameFields(arrival_);
    nameFields(processing_);
    // The chart's readouts, menu and files; they read the results when asked.
    new ChartTools(ui->Chart1, {Series1, Series2, Series3}, [this] { return results_ ? &*results_ : nullptr; });
    connectHandlers();
    anchorControls();
    // The window opens with the run button, first in the tab order, focused.
    ui->Button1->setFocus();
    // A top-level widget's position in the form is that of its frame.
    move(204, 120);

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
    // activated, unlike currentIndexChanged, also reports choosing the item already chosen.
    shell::connectGuarded(ui->ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
}

// The chart grows with the window; the two distribution frames with their fields
// keep their distance to the right edge, and the run button to the bottom.
void TForm1::anchorControls()
{
    anchors_.emplace(this);
    anchors_->add(ui->Chart1, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    anchors_->add(ui->Button1, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui->RadioGroup1, ui->Edit1, ui->Edit2, ui->Panel1, ui->Panel2, ui->GroupBox1,
                                         ui->Panel5, ui->Edit5, ui->Edit6, ui->Panel6})
        anchors_->add(control, Qt::TopEdge | Qt::RightEdge);
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
    QWidget::keyPressEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (anchors_)
        anchors_->apply();
}

void TForm1::Button1Click()
{
    ui->ComboBox1->setEnabled(true);
    arrivalDraws_.reset();
    processingDraws_.reset();
    // The previous results stay until a run has completed.
    try {
        results_ = RunModel([this] { return NextArrivalInterval(); }, [this] { return NextProcessingTime(); });
    } catch (const TimeRangeError& error) {
        // Both sides were read by then: every run draws from both before its times can grow.
        throw shell::Exception(TimeRangeMessage(
            error, arrivalDraws_->setting().kind, processingDraws_->setting().kind, [this](Side side, int parameter) {
                return parameterName(side == Side::Arrival ? arrival_ : processing_, parameter).toStdString();
            }));
    }
    ShowDistribution();
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

void TForm1::showFlow(TAreaSeries* series, std::span<const std::int32_t, 1000> values, const HistogramRange& range)
{
    for (const HistogramPoint& point : BuildHistogram(values, range.L, range.h))
        series->AddXY(point.X, point.Y, QString(), clTeeColor);
}

std::int32_t TForm1::NextArrivalInterval()
{
    return draw(arrival_, arrivalDraws_);
}

std::int32_t TForm1::NextProcessingTime()
{
    return draw(processing_, processingDraws_);
}

std::int32_t TForm1::draw(const SideControls& side, std::optional<VariateDraw>& draws)
{
    try {
        if (!draws)
            draws.emplace(readSetting(side));
        return (*draws)(shell::ProcessRandomSources());
    } catch (const ParameterError& error) {
        throw shell::fieldError(parameterName(side, error.parameter()), error.message());
    }
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

DistributionSetting TForm1::readSetting(const SideControls& side)
{
    const auto fieldValue = [&side](int parameter) {
        const QLineEdit* field = parameter == 1 ? side.first : side.second;
        return shell::readField(parameterName(side, parameter),
                                [field] { return shell::StrToFloat(field->text().toStdString()); });
    };
    DistributionSetting setting{DistributionKind::Exponential, 0.0, 0.0};
    if (side.uniform->isChecked())
        setting.kind = DistributionKind::Uniform;
    else if (side.erlang->isChecked())
        setting.kind = DistributionKind::Erlang2;
    else if (side.normal->isChecked())
        setting.kind = DistributionKind::Normal;
    setting.p1 = fieldValue(1);
    // A hidden second field is not read, so whatever it holds cannot stop a run.
    if (setting.kind == DistributionKind::Erlang2 || setting.kind == DistributionKind::Normal)
        setting.p2 = fieldValue(2);
    return setting;
}

}  // namespace velmora
