// The "Склад по дням" window: inside the last press's run, a chosen good's
// stock day by day or all ten goods side by side on one scale, and the
// measures of each good and of the whole warehouse.
#pragma once

#include "PressDays.h"

#include <QDialog>

#include <array>
#include <memory>

namespace shell {
class ResultsTable;
}

namespace kestrin {

class StockChart;

namespace Ui {
class DaysWindow;
}

// Asks where to save the run's day records and writes them as DayRecordsCsv.
void saveDayRecords(QWidget* parent, const PressDays& run);

// A dialog so that Esc closes it; it never blocks the main window. It shows
// what the main window's presses hand it and runs nothing itself.
class DaysWindow : public QDialog {
    Q_OBJECT

public:
    explicit DaysWindow(QWidget* parent = nullptr);
    ~DaysWindow() override;

    // Shows the run now when the window is shown, else when it is shown next.
    void showRun(std::shared_ptr<const PressDays> run);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void refresh();
    void showChosen() const;
    std::array<StockChart*, GoodsCount> smallCharts() const;
    void arrangeSmallCharts();
    void saveTable();

    std::unique_ptr<Ui::DaysWindow> ui;
    shell::ResultsTable* table_ = nullptr;
    std::shared_ptr<const PressDays> run_;
    bool stale_ = false;
    bool tableFitted_ = false;
    int smallColumns_ = 5;  // as the form lays them out
};

}  // namespace kestrin
