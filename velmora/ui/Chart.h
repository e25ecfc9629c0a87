// The result chart: a Qt Charts view whose series draw their points as stepped
// filled areas, over round-valued axes, the Y axis starting at 0.
#pragma once

#include "velmora/model/Histogram.h"

#include "shell/ui/AxisScale.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QAbstractSeries;
class QAreaSeries;
class QLegendMarker;
class QLocale;
class QLineSeries;
class QValueAxis;

namespace velmora {

class TChart;

// Colour value that stands for the series' own colour.
inline constexpr QRgb clTeeColor = 0x20000000;

// Whole ticks as readouts name them: "от 10 до 12 тиков", or "12 тиков" for one.
QString TicksText(const QLocale& locale, const TickSpan& ticks);

class TAreaSeries {
public:
    TAreaSeries(TChart& chart, const QString& title, const QColor& color);

    void Clear();
    // Appends a point; each point's Y is drawn flat up to the next point's X.
    // Points take the series' colour and carry no visible label.
    int AddXY(double x, double y, const QString& label, QRgb color);

    const QList<QPointF>& points() const { return points_; }
    // The whole ticks that the bin of point k holds, up to the next point's X
    // (the last point's bin ends where it starts).
    TickSpan binTicks(qsizetype k) const;

    // Point k's bin as the chart draws it, from left to right at point k's Y.
    struct Bar {
        double left;
        double right;
        qsizetype k;
    };
    // The bars in ascending order: each bin from its point's X to the next
    // point's, except that a bin narrower than one tick covers the whole tick
    // it holds (and is left out when it holds none). So a flow whose times are
    // all equal, whose points share one X, shows one bar a tick wide.
    std::vector<Bar> bars() const;
    // The point whose bar holds x, or -1 where there is none.
    qsizetype barAt(double x) const;
    QString title() const;
    QColor color() const;

private:
    friend class TChart;
    // Hands the points to Qt Charts as stairs.
    void sync();

    TChart& chart_;
    QList<QPointF> points_;
    QColor color_;
    QLineSeries* upper_;
    QAreaSeries* area_;
    QLineSeries* edge_;
};

class TChart : public QChartView {
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Series are drawn in the order they are added, the first at the bottom;
    // every series' outline is drawn above every fill, and the lower a series,
    // the wider its outline, so that coinciding series all stay visible.
    TAreaSeries* addAreaSeries(const QString& title, const QColor& color);

    QValueAxis* axisX() const { return axisX_; }
    QLegendMarker* legendMarker(const TAreaSeries* series) const;
    QValueAxis* axisY() const { return axisY_; }

private:
    friend class TAreaSeries;
    // Points change many times during one redraw; Qt Charts gets them once, when
    // control returns to the event loop, before anything is painted.
    void scheduleSync();
    void sync();
    // Where the bars lie: none, or from minX to maxX and up to maxY; and the
    // widest outline drawn around them.
    struct Extent {
        bool any;
        double minX;
        double maxX;
        double maxY;
        double outline;
    };
    Extent extent() const;
    shell::AxisScale scaleX(const Extent& extent) const;
    shell::AxisScale scaleY(const Extent& extent) const;
    void rescale();
    // How many intervals of this scale's widest label fit in the plot's width.
    int fittingIntervals(const shell::AxisScale& scale) const;
    QString describe() const;
    void showInLegend(QAbstractSeries* series, bool shown);

    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<std::unique_ptr<TAreaSeries>> series_;
    bool syncPending_ = false;
};

}  // namespace velmora
