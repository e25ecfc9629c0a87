// Each line is a QLineSeries over a QAreaSeries between the interval's bounds;
// the bands carry no legend entry of their own.
#include "SweepChart.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <limits>

namespace shell {

SweepChart::SweepChart(QWidget* parent)
    : QChartView(parent)
{
    chart()->setAnimationOptions(QChart::NoAnimation);
    chart()->setBackgroundRoundness(0);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName(QStringLiteral("График серии"));
}

void SweepChart::showLines(const QString& title, const QString& xTitle, const QString& yTitle,
                           const std::vector<SweepLine>& lines)
{
    lines_ = lines;
    QChart* plot = chart();
    plot->setTitle(title);
    // Removing the series deletes them; removing an axis only gives it back.
    plot->removeAllSeries();
    for (QAbstractAxis* axis : plot->axes()) {
        plot->removeAxis(axis);
        delete axis;
    }
    auto* axisX = new QValueAxis;
    auto* axisY = new QValueAxis;
    for (QValueAxis* axis : {axisX, axisY})
        axis->setLabelFormat(QStringLiteral("%.6g"));
    axisX->setTitleText(xTitle);
    axisY->setTitleText(yTitle);
    plot->addAxis(axisX, Qt::AlignBottom);
    plot->addAxis(axisY, Qt::AlignLeft);
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    for (const SweepLine& line : lines) {
        auto* mean = new QLineSeries;
        auto* low = new QLineSeries;
        auto* high = new QLineSeries;
        for (std::size_t i = 0; i < line.values.size(); ++i) {
            const double x = line.values[i];
            const Estimate& estimate = line.estimates[i];
            mean->append(x, estimate.mean);
            low->append(x, estimate.low);
            high->append(x, estimate.high);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, estimate.low);
            maxY = std::max(maxY, estimate.high);
        }
        auto* band = new QAreaSeries(high, low);
        high->setParent(band);
        low->setParent(band);
        QColor fill = line.color;
        fill.setAlpha(60);
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        mean->setName(line.name);
        mean->setPen(QPen(line.color.darker(115), 2));
        mean->setPointsVisible(true);
        for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{band, mean}) {
            plot->addSeries(series);
            series->attachAxis(axisX);
            series->attachAxis(axisY);
        }
        for (QLegendMarker* marker : plot->legend()->markers(band))
            marker->setVisible(false);
    }
    if (!lines.empty()) {
        axisX->setRange(minX, maxX);
        // Few enough values each get a tick of their own.
        const auto values = static_cast<int>(lines.front().values.size());
        if (values >= 2 && values <= 11)
            axisX->setTickCount(values);
        // A flat line still gets a visible range; quantities that cannot be
        // negative keep the axis at 0 and above.
        const double margin = maxY > minY ? (maxY - minY) * 0.05 : std::max(1e-9, std::abs(maxY) * 0.05);
        axisY->setRange(minY >= 0 ? std::max(0.0, minY - margin) : minY - margin, maxY + margin);
        axisY->applyNiceNumbers();
        if (minY >= 0 && axisY->min() < 0)
            axisY->setMin(0);
        axisY->setMinorTickCount(1);
    }
    setAccessibleDescription(describe());
}

// One sentence a line for those who cannot see the chart: where it starts and ends.
QString SweepChart::describe() const
{
    const QLocale locale;
    QStringList parts;
    for (const SweepLine& line : lines_) {
        if (line.values.empty())
            continue;
        parts << QStringLiteral("%1: %2 при %3, %4 при %5")
                     .arg(line.name, locale.toString(line.estimates.front().mean, 'g', 4),
                          locale.toString(line.values.front(), 'g', 6),
                          locale.toString(line.estimates.back().mean, 'g', 4),
                          locale.toString(line.values.back(), 'g', 6));
    }
    return parts.isEmpty() ? QStringLiteral("Графика пока нет.") : parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

}  // namespace shell
