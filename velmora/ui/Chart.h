// The result chart: a Qt Charts view whose series draw their points as stepped
// filled areas, with a Y axis from 0 to an automatic maximum.
#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <memory>
#include <vector>

class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace velmora {

class TChart;

// Colour value that stands for the series' own colour.
inline constexpr QRgb clTeeColor = 0x20000000;

class TAreaSeries {
public:
    TAreaSeries(TChart& chart, const QString& title, const QColor& color);

    void Clear();
    // Appends a point; each point's Y is drawn flat up to the next point's X.
    // Points take the series' colour and carry no visible label.
    int AddXY(double x, double y, const QString& label, QRgb color);

    const QList<QPointF>& points() const { return points_; }
    QString title() const;
    QColor color() const;

private:
    TChart& chart_;
    QList<QPointF> points_;
    QLineSeries* outline_;
    QAreaSeries* area_;
};

class TChart : public QChartView {
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Series are drawn in the order they are added, the first at the bottom.
    TAreaSeries* addAreaSeries(const QString& title, const QColor& color);

private:
    friend class TAreaSeries;
    void attach(QAreaSeries* area);
    void rescale();

    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<std::unique_ptr<TAreaSeries>> series_;
};

} // namespace velmora
