// Stairs are drawn by giving the area's upper line two vertices per step; each
// series' outline is a line series of its own, kept above all areas.
#include "Chart.h"

#include "shell/core/Convert.h"
#include "shell/ui/Application.h"
#include "shell/ui/AxisScale.h"
#include "shell/ui/NumberText.h"

#include <QAreaSeries>
#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Stairs over the bars, rising from 0 at the first and falling to 0 after the
// last and across any gap between them.
QList<QPointF> stairs(const std::vector<TAreaSeries::Bar>& bars, const QList<QPointF>& points)
{
    QList<QPointF> line;
    line.reserve(2 * static_cast<qsizetype>(bars.size()) + 2);
    for (const TAreaSeries::Bar& bar : bars) {
        if (line.isEmpty() || line.back().x() != bar.left) {
            if (!line.isEmpty())
                line.append(QPointF(line.back().x(), 0));
            line.append(QPointF(bar.left, 0));
        }
        line.append(QPointF(bar.left, points[bar.k].y()));
        line.append(QPointF(bar.right, points[bar.k].y()));
    }
    if (!line.isEmpty())
        line.append(QPointF(line.back().x(), 0));
    return line;
}

// At least five ticks, and few enough that labels of large values fit.
constexpr int minIntervals = 4;
constexpr int maxIntervals = 8;

constexpr double topOutlineWidth = 2.0;
constexpr double outlineWidthStep = 2.0;
constexpr int fillAlpha = 110;

}  // namespace

QString TicksText(const QLocale& locale, const TickSpan& ticks)
{
    if (ticks.first == ticks.last)
        return shell::NumberWithNoun(locale, ticks.first, "тик", "тика", "тиков");
    return QStringLiteral("от %1 до %2")
        .arg(locale.toString(ticks.first), shell::NumberWithNoun(locale, ticks.last, "тика", "тиков", "тиков"));
}

TAreaSeries::TAreaSeries(TChart& chart, const QString& title, const QColor& color)
    : chart_(chart)
    , color_(color.darker(115))
    , upper_(new QLineSeries)
    , area_(new QAreaSeries(upper_))
    , edge_(new QLineSeries)
{
    // An area series does not own the line that bounds it.
    upper_->setParent(area_);
    area_->setName(title);
    QColor fill = color;
    fill.setAlpha(fillAlpha);
    area_->setBrush(fill);
    area_->setColor(fill);
    // The area's own border shows in the legend; on the plot the edge covers it.
    area_->setPen(QPen(color_, 1));
    area_->setBorderColor(color_);
    area_->setVisible(false);
    edge_->setVisible(false);
}

void TAreaSeries::Clear()
{
    points_.clear();
    chart_.scheduleSync();
}

int TAreaSeries::AddXY(double x, double y, const QString&, QRgb)
{
    points_.append(QPointF(x, y));
    chart_.scheduleSync();
    return static_cast<int>(points_.size()) - 1;
}

QString TAreaSeries::title() const
{
    return area_->name();
}

QColor TAreaSeries::color() const
{
    return color_;
}

TickSpan TAreaSeries::binTicks(qsizetype k) const
{
    const double upper = k + 1 < points_.size() ? points_[k + 1].x() : points_[k].x();
    return BinTicks(points_[k].x(), upper, k == 0);
}

std::vector<TAreaSeries::Bar> TAreaSeries::bars() const
{
    std::vector<Bar> bars;
    for (qsizetype k = 0; k + 1 < points_.size(); ++k) {
        const double left = points_[k].x();
        const double right = points_[k + 1].x();
        if (right - left >= 1) {
            bars.push_back({left, right, k});
            continue;
        }
        // Times are whole ticks, so such a bin holds at most one, and the bins
        // of one range hold consecutive ticks: their bars adjoin.
        const TickSpan ticks = binTicks(k);
        if (ticks.first <= ticks.last)
            bars.push_back({static_cast<double>(ticks.first), static_cast<double>(ticks.last + 1), k});
    }
    return bars;
}

qsizetype TAreaSeries::barAt(double x) const
{
    const std::vector<Bar> all = bars();
    const auto next =
        std::upper_bound(all.begin(), all.end(), x, [](double value, const Bar& bar) { return value < bar.left; });
    if (next == all.begin() || !(x < std::prev(next)->right))
        return -1;
    return std::prev(next)->k;
}

void TAreaSeries::sync()
{
    // An emptied area series can leave a stray edge behind once the axes change;
    // hiding it avoids that, and its legend entry stays.
    const QList<QPointF> line = stairs(bars(), points_);
    const bool shown = !line.isEmpty();
    upper_->replace(line);
    edge_->replace(line);
    area_->setVisible(shown);
    edge_->setVisible(shown);
    chart_.showInLegend(area_, true);
    chart_.showInLegend(edge_, false);
}

TChart::TChart(QWidget* parent)
    : QChartView(parent)
    , axisX_(new QValueAxis)
    , axisY_(new QValueAxis)
{
    QChart* plot = chart();
    plot->setTitle(QStringLiteral("Распределение"));
    axisX_->setTitleText(QStringLiteral("Время отклика, тики"));
    axisY_->setTitleText(QStringLiteral("Доля задач"));
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    plot->legend()->setAlignment(Qt::AlignRight);
    // Labels follow the user's decimal separator, but large ticks stay plain digits.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    plot->setLocale(locale);
    plot->setLocalizeNumbers(true);
    plot->addAxis(axisX_, Qt::AlignBottom);
    plot->addAxis(axisY_, Qt::AlignLeft);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setLinePenColor(Qt::darkGray);
        axis->setTickType(QValueAxis::TicksFixed);
    }
    rescale();
    setRenderHint(QPainter::Antialiasing);
    // The plot's width decides how many X labels fit.
    shell::connectGuarded(plot, &QChart::plotAreaChanged, this, [this] { rescale(); });
    setAccessibleName(QStringLiteral("Распределение"));
    setAccessibleDescription(describe());
}

TChart::~TChart() = default;

TAreaSeries* TChart::addAreaSeries(const QString& title, const QColor& color)
{
    series_.push_back(std::make_unique<TAreaSeries>(*this, title, color));
    TAreaSeries* added = series_.back().get();
    // Series are stacked in the order they join the chart, so the outlines are
    // taken out and put back after the new area.
    for (const auto& series : series_) {
        if (series.get() != added)
            chart()->removeSeries(series->edge_);
    }
    chart()->addSeries(added->area_);
    added->area_->attachAxis(axisX_);
    added->area_->attachAxis(axisY_);
    showInLegend(added->area_, true);
    const auto count = static_cast<double>(series_.size());
    for (std::size_t i = 0; i < series_.size(); ++i) {
        QLineSeries* edge = series_[i]->edge_;
        const double width = topOutlineWidth + outlineWidthStep * (count - 1 - static_cast<double>(i));
        edge->setPen(QPen(series_[i]->color_, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        chart()->addSeries(edge);
        edge->attachAxis(axisX_);
        edge->attachAxis(axisY_);
        showInLegend(edge, false);
    }
    return added;
}

QLegendMarker* TChart::legendMarker(const TAreaSeries* series) const
{
    return chart()->legend()->markers(series->area_).value(0);
}

void TChart::scheduleSync()
{
    if (syncPending_)
        return;
    syncPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { shell::guarded([this] { sync(); }); }, Qt::QueuedConnection);
}

void TChart::sync()
{
    syncPending_ = false;
    for (const auto& series : series_)
        series->sync();
    rescale();
    setAccessibleDescription(describe());
}

void TChart::showInLegend(QAbstractSeries* series, bool shown)
{
    // Qt shows a series' legend entry exactly while the series is visible; a flow
    // keeps its entry while it is empty, and an outline never has one.
    for (QLegendMarker* marker : chart()->legend()->markers(series))
        marker->setVisible(shown);
}

TChart::Extent TChart::extent() const
{
    // Without bars both axes show 0 to 1.
    Extent extent{false, 0, 1, 1, 0};
    for (const auto& series : series_) {
        extent.outline = std::max(extent.outline, series->edge_->pen().widthF());
        const std::vector<TAreaSeries::Bar> bars = series->bars();
        if (bars.empty())
            continue;
        if (!extent.any) {
            extent = {true, bars.front().left, bars.back().right, 0, extent.outline};
        }
        extent.minX = std::min(extent.minX, bars.front().left);
        extent.maxX = std::max(extent.maxX, bars.back().right);
        for (const TAreaSeries::Bar& bar : bars)
            extent.maxY = std::max(extent.maxY, series->points()[bar.k].y());
    }
    return extent;
}

// Response times are whole ticks, so X ticks are too. A range of fewer ticks
// than the fewest intervals grows about its middle, so that a bar of one tick
// stands in the plot instead of filling it; it does not reach below 0 when no
// time lies there. Qt elides X labels wider than their tick spacing, so long
// numbers get fewer, wider intervals.
shell::AxisScale TChart::scaleX(const Extent& extent) const
{
    double minX = extent.minX;
    double maxX = extent.maxX;
    if (extent.any && maxX - minX < minIntervals) {
        const double middle = (minX + maxX) / 2;
        const double low = middle - minIntervals / 2.0;
        const double shift = minX >= 0 ? std::max(0.0, -low) : 0.0;
        minX = low + shift;
        maxX = middle + minIntervals / 2.0 + shift;
    }
    const double minStep = extent.any ? 1.0 : 0.0;
    const shell::AxisScale x = shell::NiceScale(minX, maxX, minIntervals, maxIntervals, minStep);
    const int fitting = fittingIntervals(x);
    if (fitting < std::lround((x.max - x.min) / x.step))
        return shell::NiceScale(minX, maxX, std::min(minIntervals, fitting), fitting, minStep);
    return x;
}

// The Y axis is a share from 0 with at least five ticks. The widest outline
// reaches half its width above the tallest bar, and the plot clips what lies
// beyond its edge: the axis leaves that room (and a pixel for antialiasing)
// above the bar.
shell::AxisScale TChart::scaleY(const Extent& extent) const
{
    const double height = chart()->plotArea().height();
    const double room = extent.outline / 2 + 1;
    const double top = height > 2 * room ? extent.maxY * height / (height - room) : extent.maxY;
    return shell::NiceScale(0, top, minIntervals, maxIntervals, 0);
}

void TChart::rescale()
{
    const Extent bars = extent();
    shell::applyScale(axisX_, scaleX(bars));
    shell::applyScale(axisY_, scaleY(bars));
}

int TChart::fittingIntervals(const shell::AxisScale& scale) const
{
    const double width = chart()->plotArea().width();
    if (width <= 0)
        return maxIntervals;
    const QFontMetricsF metrics(axisX_->labelsFont());
    const QLocale locale = chart()->locale();
    double label = 0;
    for (const double value : {scale.min, scale.max})
        label = std::max(label, metrics.horizontalAdvance(locale.toString(value, 'f', scale.decimals)));
    constexpr double labelGap = 12;
    return std::clamp(static_cast<int>(width / (label + labelGap)), 1, maxIntervals);
}

// What the chart shows, in one sentence for those who cannot see it: each shown
// flow with the whole ticks its bins span and the bin with its largest share.
QString TChart::describe() const
{
    const QLocale locale = chart()->locale();
    std::vector<std::pair<QString, QString>> flows;
    for (const auto& series : series_) {
        const QList<QPointF>& points = series->points();
        const auto filled = [](const QPointF& point) { return point.y() > 0; };
        const auto first = std::find_if(points.begin(), points.end(), filled);
        if (first == points.end())
            continue;
        const auto last = std::find_if(points.rbegin(), points.rend(), filled);
        const auto largest = std::max_element(points.begin(), points.end(),
                                              [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        const TickSpan range{series->binTicks(first - points.begin()).first,
                             series->binTicks(points.rend() - last - 1).last};
        flows.emplace_back(series->title(),
                           series->title()
                               + QStringLiteral(": %1, наибольшая доля %2 % — %3")
                                     .arg(TicksText(locale, range), locale.toString(largest->y() * 100, 'f', 1),
                                          TicksText(locale, series->binTicks(largest - points.begin()))));
    }
    if (flows.empty())
        return QStringLiteral("Результатов пока нет.");
    std::sort(flows.begin(), flows.end());
    QStringList parts;
    for (const auto& flow : flows)
        parts << flow.second;
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

}  // namespace velmora
