// "Очередь во времени": how many tasks wait at each server over model time, a
// step line a server, each switchable in the legend, with a readout of the
// time and the queues under the pointer, and a context menu. The lines are drawn by an item of
// the chart's own, their series standing empty for the legend: Qt Charts lays
// a line out through a stroker whose cost grows with its vertices, which
// queues of thousands of steps would wait for.
#pragma once

#include "velmora/model/Servers.h"

#include <QChartView>
#include <QString>

#include <array>
#include <vector>

class QAction;
class QLineSeries;
class QValueAxis;

namespace shell {
class ChartMenu;
}

namespace velmora {

using ServerQueues = std::array<std::vector<QueueStep>, ServerCount>;

class QueueChart : public QChartView {
    Q_OBJECT

public:
    explicit QueueChart(QWidget* parent = nullptr);

    // Each server's queue over the same observed period; empty queues clear it.
    void showQueues(ServerQueues queues);
    // A server's series: its legend entry, and whether its line is shown.
    QLineSeries* line(Server server) const { return lines_[static_cast<std::size_t>(server)]; }
    // The vertices of a server's line as drawn, in time and queue length.
    QList<QPointF> linePoints(Server server) const;
    // Copies and saves the picture, and shows or hides each server's line.
    shell::ChartMenu* menu() const { return menu_; }

    // The time under a point of the viewport and each shown server's queue
    // then; empty outside the plot and with nothing shown.
    QString readoutAt(QPoint position) const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    void lineSwitched();
    void fitQueues();
    QString describe() const;

    class StepLines;

    ServerQueues queues_;
    std::array<QLineSeries*, ServerCount> lines_;
    StepLines* steps_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    shell::ChartMenu* menu_;
    std::array<QAction*, ServerCount> shownActions_{};
};

}  // namespace velmora
