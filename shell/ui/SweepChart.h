// The chart of a sweep: for each line, a statistic's mean against the varied
// value, with its 95 % interval as a translucent band around it. A reader
// hides and shows lines from the legend, reads a value's numbers under the
// pointer, puts the Y axis on a logarithmic scale, and copies or saves the
// picture from the context menu.
#pragma once

#include "SweepLine.h"

#include <QChartView>
#include <QStringList>

#include <vector>

class QAbstractAxis;
class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace shell {

class ChartMenu;

class SweepChart : public QChartView {
    Q_OBJECT

public:
    // Below this height the Y axis' title is cut and its ticks crowd.
    static constexpr int readablePlotHeight = 200;

    explicit SweepChart(QWidget* parent = nullptr);

    // Lines hidden from the legend stay hidden when lines of their names come again.
    void showLines(const QString& title, const QString& xTitle, const QString& yTitle,
                   const std::vector<SweepLine>& lines);
    const std::vector<SweepLine>& lines() const { return lines_; }
    bool lineShown(std::size_t line) const;

    // The Y axis is logarithmic when that is wanted and possible: while every
    // line it scales to has all its means above 0.
    void setLogarithmic(bool wanted);
    bool logarithmicPossible() const;
    bool logarithmic() const;

    // The swept value nearest to a point of the viewport, with each shown
    // line's mean and interval there; empty outside the plot.
    QString readoutAt(QPoint position) const;

    ChartMenu* menu() const { return menu_; }

signals:
    // A click on the legend showed or hid a line.
    void shownLinesChanged();

protected:
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Drawn {
        QLineSeries* mean;
        QLineSeries* low;  // the band's lower edge, which a logarithmic axis clips
        QAreaSeries* band;
    };
    // The lines the Y axis covers: the shown ones, or all while none is.
    std::vector<std::size_t> scaledLines() const;
    void placeAxisY();
    void replaceAxisY(bool logarithmic);
    void rescale();
    void fitTicksX();
    void measureRoom();
    // Room for a readable plot and whole titles beside the labels and the legend.
    void keepReadable();
    void toggled(const QString& name, bool shown);
    QString describe() const;

    std::vector<SweepLine> lines_;
    std::vector<Drawn> drawn_;
    QStringList hidden_;
    QString xTitle_;
    QString yTitle_;
    bool logarithmicWanted_ = false;
    QValueAxis* axisX_;
    QAbstractAxis* axisY_ = nullptr;
    ChartMenu* menu_;
    // What the view holds besides the plot, as last laid out; empty before that.
    QSize room_;
};

}  // namespace shell
