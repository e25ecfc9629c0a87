// The simulation window of velmora: distribution choices, the run button, the
// result chart and the flow selector.
#pragma once

#include "velmora/model/Engine.h"
#include "velmora/model/Histogram.h"
#include "velmora/model/Variates.h"

#include "shell/Controls.h"

#include <QWidget>

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

namespace Ui {
class TForm1;
}

class TAreaSeries;

class TForm1 : public QWidget {
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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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

    static DistributionSetting readSetting(const SideControls& side);
    static std::int32_t draw(const SideControls& side, std::optional<VariateDraw>& draws);
    static QString parameterName(const SideControls& side, int parameter);
    static void nameFields(const SideControls& side);
    static void arrange(const SideControls& side, DistributionKind kind, const QString& exponentialCaption);
    void connectHandlers();
    void anchorControls();
    void showFlow(TAreaSeries* series, std::span<const std::int32_t, 1000> values, const HistogramRange& range);

    std::unique_ptr<Ui::TForm1> ui;
    SideControls arrival_;
    SideControls processing_;
    std::optional<VariateDraw> arrivalDraws_;
    std::optional<VariateDraw> processingDraws_;
    std::optional<shell::Anchors> anchors_;
    std::optional<TResultArrays> results_;
};

extern TForm1* Form1;

}  // namespace velmora
