// The simulation window of velmora: distribution choices, the run button, the
// result chart and the flow selector.
#pragma once

#include "AboutModel.h"
#include "NetworkSeriesWindow.h"
#include "ServersWindow.h"

#include "velmora/model/Engine.h"
#include "velmora/model/Histogram.h"
#include "velmora/model/Variates.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace shell {
class SeriesWindow;
}

namespace velmora {

namespace Ui {
class TForm1;
}

class ChartTools;
class TAreaSeries;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The chart's series, in the order they were declared.
    TAreaSeries* Series2;
    TAreaSeries* Series3;
    TAreaSeries* Series1;

    void Button1Click();
    void erlClick();
    void normClick();
    void ekspClick();
    void ravClick();
    void ComboBox1Change();
    void norm2Click();
    void rav2Click();
    void erl2Click();
    void eksp2Click();

    // Redraws the flow or flows chosen in the selector from the last results.
    void ShowDistribution();

    // One draw each. A side's buttons and fields are read at its first draw of a
    // press, and that setting serves the rest of the press: nothing can change
    // them while it runs.
    std::int32_t NextArrivalInterval();
    std::int32_t NextProcessingTime();
    DistributionSetting ReadArrivalSetting() const;
    DistributionSetting ReadProcessingSetting() const;

    // The parameters the window shows now, arrival side first.
    std::vector<ShownParameter> shownParameters() const;
    // A parameter's name in messages and its field.
    ShownParameter shownParameter(SweepParameter parameter) const;

    // Opens the series window, or brings it to the front.
    void openSeries();
    // Saves both windows' settings as an experiment, or shows those of a saved
    // one, the series window in front, ready to run.
    void saveExperiment();
    void openExperiment();
    // Opens the Серверы window, or brings it to the front.
    void openServers();

signals:
    // A distribution was chosen, so the parameters shown changed.
    void parametersChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The controls of one side: its frame, four buttons, two fields and their labels.
    struct SideControls {
        QGroupBox* frame;
        QRadioButton* uniform;
        QRadioButton* erlang;
        QRadioButton* normal;
        QRadioButton* exponential;
        QLineEdit* first;
        QLineEdit* second;
        QLabel* firstLabel;
        QLabel* secondLabel;
    };

    const SideControls& controls(Side side) const { return side == Side::Arrival ? arrival_ : processing_; }
    static DistributionKind readKind(const SideControls& side);
    static DistributionSetting readSetting(const SideControls& side);
    template <typename Read>
    static std::int32_t draw(const SideControls& side, std::optional<VariateDraw>& draws, Read&& read);
    static QString parameterName(const SideControls& side, int parameter);
    static QLineEdit* parameterField(const SideControls& side, int parameter);
    static void nameFields(const SideControls& side);
    void arrange(const SideControls& side, DistributionKind kind, const QString& exponentialCaption);
    [[noreturn]] void timesOutOfRange(const TimeRangeError& error) const;
    void connectHandlers();
    void anchorControls();
    void showFlow(TAreaSeries* series, SortedFlow values, const HistogramRange& range);
    // The series window, made hidden at its first use.
    shell::SeriesWindow* seriesWindow();
    void showSetting(const SideControls& side, const DistributionSetting& setting);

    std::unique_ptr<Ui::TForm1> ui;
    SideControls arrival_;
    SideControls processing_;
    std::optional<VariateDraw> arrivalDraws_;
    std::optional<VariateDraw> processingDraws_;
    ChartTools* chartTools_;
    QPointer<shell::SeriesWindow> series_;
    QPointer<TAboutModel> aboutModel_;
    QPointer<ServersWindow> servers_;
    std::optional<TResultArrays> results_;
    // The tables of the run that made results_, none before; a press runs in
    // the other workspace, so that a failed one leaves them as they were.
    std::unique_ptr<TRunWorkspace> run_;
    std::unique_ptr<TRunWorkspace> nextRun_;
};

extern TForm1* Form1;

}  // namespace velmora
