// The window of kestrin: ten orders, ten thresholds, the number of days, and the
// share of unmet demand in L.
#pragma once

#include "AboutModel.h"
#include "PressDays.h"

#include "kestrin/model/Warehouse.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QLineEdit;

namespace shell {
class SeriesWindow;
}

namespace kestrin {

class DaysWindow;

namespace Ui {
class TForm1;
}

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void Button1Click();

    // Thresholds, then orders, then the day count, each converted as it is read.
    TWarehouseInput ReadWarehouseInput() const;

    // Opens the series window, or brings it to the front.
    void openSeries();
    // Saves both windows' settings as an experiment, or shows those of a saved
    // one, the series window in front, ready to run.
    void saveExperiment();
    void openExperiment();
    // The days of the last press that computed L; null before the first.
    std::shared_ptr<const PressDays> lastDays() const { return lastDays_; }
    // The fields of goods 1 to 10 in each column.
    std::array<QLineEdit*, GoodsCount> orders() const;
    std::array<QLineEdit*, GoodsCount> thresholds() const;

private:
    void openDays();
    // The series window, made hidden at its first use.
    shell::SeriesWindow* seriesWindow();
    void showInput(const TWarehouseInput& input);

    std::unique_ptr<Ui::TForm1> ui;
    std::shared_ptr<const PressDays> lastDays_;
    QPointer<DaysWindow> days_;
    QPointer<shell::SeriesWindow> series_;
    QPointer<TAboutModel> aboutModel_;
};

extern TForm1* Form1;

}  // namespace kestrin
