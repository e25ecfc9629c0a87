// Stairs are drawn by giving the area's upper line two vertices per step.
#include "Chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>

namespace velmora {

TAreaSeries::TAreaSeries(TChart& chart, const QString& title, const QColor& color)
    : chart_(chart)
    , outline_(new QLineSeries)
    , area_(new QAreaSeries(outline_))
{
    // An area series does not own the line that bounds it.
    outline_->setParent(area_);
    area_->setName(title);
    // Translucent fill with a solid outline keeps overlapping flows apart.
    QColor fill = color;
    fill.setAlpha(110);
    area_->setBrush(fill);
    area_->setPen(QPen(color.darker(115), 2));
    area_->setColor(fill);
    area_->setBorderColor(color.darker(115));
    chart_.attach(area_);
}

void TAreaSeries::Clear()
{
    points_.clear();
    outline_->clear();
    // An emptied area series can leave a stray edge behind once the axes change;
    // hiding it avoids that, and its legend entry stays.
    area_->setVisible(false);
    for (QLegendMarker* marker : chart_.chart()->legend()->markers(area_))
        marker->setVisible(true);
    chart_.rescale();
}

int TAreaSeries::AddXY(double x, double y, const QString&, QRgb)
{
    area_->setVisible(true);
    if (!points_.isEmpty())
        outline_->append(x, points_.back().y());
    outline_->append(x, y);
    points_.append(QPointF(x, y));
    chart_.rescale();
    return static_cast<int>(points_.size()) - 1;
}

QString TAreaSeries::title() const
{
    return area_->name();
}

QColor TAreaSeries::color() const
{
    return area_->borderColor();
}

TChart::TChart(QWidget* parent)
    : QChartView(parent)
    , axisX_(new QValueAxis)
    , axisY_(new QValueAxis)
{
    QChart* plot = chart();
    plot->setTitle(QStringLiteral("Распределение"));
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    plot->legend()->setAlignment(Qt::AlignRight);
    plot->addAxis(axisX_, Qt::AlignBottom);
    plot->addAxis(axisY_, Qt::AlignLeft);
    axisY_->setRange(0, 1);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setLabelFormat(QStringLiteral("%.4g"));
        axis->setLinePenColor(Qt::darkGray);
    }
    setRenderHint(QPainter::Antialiasing);
}

TChart::~TChart() = default;

TAreaSeries* TChart::addAreaSeries(const QString& title, const QColor& color)
{
    series_.push_back(std::make_unique<TAreaSeries>(*this, title, color));
    return series_.back().get();
}

void TChart::attach(QAreaSeries* area)
{
    chart()->addSeries(area);
    area->attachAxis(axisX_);
    area->attachAxis(axisY_);
}

void TChart::rescale()
{
    bool any = false;
    double minX = 0;
    double maxX = 0;
    double maxY = 0;
    for (const auto& series : series_) {
        const QList<QPointF>& points = series->points();
        if (points.isEmpty())
            continue;
        minX = any ? std::min(minX, points.front().x()) : points.front().x();
        maxX = any ? std::max(maxX, points.back().x()) : points.back().x();
        for (const QPointF& point : points)
            maxY = std::max(maxY, point.y());
        any = true;
    }
    if (!any)
        return;
    if (maxX <= minX)
        maxX = minX + 1;
    axisX_->setRange(minX, maxX);
    // The Y axis always starts at 0; its maximum follows the data.
    axisY_->setRange(0, maxY > 0 ? maxY : 1);
    axisY_->applyNiceNumbers();
}

} // namespace velmora
