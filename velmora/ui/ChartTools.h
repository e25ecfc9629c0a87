// What the result chart offers beyond its picture: a readout of the bin under
// the pointer, each flow's summary on its legend entry, and a context menu that
// copies or saves the picture and saves the data.
#pragma once

#include "velmora/model/Engine.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QMenu;

namespace shell {
class ChartMenu;
}

namespace velmora {

class TAreaSeries;
class TChart;

class ChartTools : public QObject {
    Q_OBJECT

public:
    // flows: the series of flows 1, 2 and 3; results: the window's results, or
    // null before the first run.
    ChartTools(TChart* chart, std::array<TAreaSeries*, 3> flows, std::function<const TResultArrays*()> results);

    // The readout for a point of the chart's viewport; empty outside the
    // plotted bins and before the first run.
    QString readoutAt(QPoint position) const;
    // Flow 1, 2 or 3's statistics, worked out when asked for.
    QString summary(int flow) const;

    QMenu* menu() const;
    // Copy the picture, save it, save the data: also offered by the window's menu.
    QList<QAction*> actions() const;
    // The actions are enabled once there are results.
    void updateActions() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveData() const;

    TChart* chart_;
    std::array<TAreaSeries*, 3> flows_;
    std::function<const TResultArrays*()> results_;
    shell::ChartMenu* menu_;
    // The flow whose legend entry is under the pointer, 0 for none.
    int legendFlow_ = 0;
};

}  // namespace velmora
