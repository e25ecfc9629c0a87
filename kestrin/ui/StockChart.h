// A good's stock at the start of each day of a press as a step line, its
// threshold dashed, the days it ran short and the days it was reordered
// marked; a readout of the day under the pointer, legend entries that hide and
// show what they name, and the picture from the context menu.
#pragma once

#include "PressDays.h"

#include <QChartView>
#include <QString>

#include <memory>

namespace shell {
class ChartMenu;
}

class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace kestrin {

class StockChart : public QChartView {
    Q_OBJECT

public:
    explicit StockChart(QWidget* parent = nullptr);

    // Makes it one of several small charts: titled by its good alone, without
    // a legend or axis titles, with fewer ticks and smaller marks.
    void makeCompact();

    // Good `good` (1 to GoodsCount) of the run. The stock axis reaches at least
    // `stockTop`, so that charts given the same top share one scale.
    void showGood(std::shared_ptr<const PressDays> run, int good, double stockTop = 0);

    // The largest stock or threshold of a good over the run's days.
    static double stockTop(const PressDays& run, int good);

    // The readout of the day under a point of the viewport; empty off the days.
    QString readoutAt(QPoint position) const;

    shell::ChartMenu* menu() const { return menu_; }

protected:
    bool viewportEvent(QEvent* event) override;

private:
    QString describe() const;

    std::shared_ptr<const PressDays> run_;
    int good_ = 1;
    bool compact_ = false;
    QLineSeries* stock_;
    QLineSeries* threshold_;
    QScatterSeries* shortages_;
    QScatterSeries* reorders_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    shell::ChartMenu* menu_;
};

}  // namespace kestrin
