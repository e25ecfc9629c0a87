// Each line is a QLineSeries over a QAreaSeries between the interval's bounds;
// the bands carry no legend entry of their own and follow their lines. The X
// axis is kept; the Y axis is replaced when the scale changes kind.
#include "SweepChart.h"

#include "Application.h"
#include "ChartMenu.h"
#include "LegendToggle.h"
#include "NumberText.h"
#include "Readout.h"

#include <QAreaSeries>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace shell {
namespace {

// Pixels between two X labels, so that none is elided.
constexpr double labelGap = 12;

}  // namespace

SweepChart::SweepChart(QWidget* parent)
    : QChartView(parent)
    , axisX_(new QValueAxis)
    , menu_(new ChartMenu(this, [this] { return !lines_.empty(); }))
{
    QChart* plot = chart();
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    // Beside the plot the legend takes width, of which a sweep's window has
    // more to spare than height.
    plot->legend()->setAlignment(Qt::AlignRight);
    plot->layout()->setContentsMargins(0, 0, 0, 0);
    plot->setLocale(NumberLocale());
    plot->setLocalizeNumbers(true);
    axisX_->setLabelFormat(QStringLiteral("%.6g"));
    axisX_->setTickType(QValueAxis::TicksDynamic);
    plot->addAxis(axisX_, Qt::AlignBottom);
    placeAxisY();
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
    connectGuarded(plot, &QChart::plotAreaChanged, this, [this] {
        fitTicksX();
        measureRoom();
    });
    setAccessibleName(QStringLiteral("График серии"));
}

void SweepChart::showLines(const QString& title, const QString& xTitle, const QString& yTitle,
                           const std::vector<SweepLine>& lines)
{
    lines_ = lines;
    xTitle_ = xTitle;
    yTitle_ = yTitle;
    QChart* plot = chart();
    plot->setTitle(title);
    axisX_->setTitleText(xTitle);
    axisY_->setTitleText(yTitle);
    // Removing the series deletes them, and their legend entries with them.
    plot->removeAllSeries();
    drawn_.clear();
    for (const SweepLine& line : lines) {
        auto* mean = new QLineSeries;
        auto* low = new QLineSeries;
        auto* high = new QLineSeries;
        for (std::size_t i = 0; i < line.values.size(); ++i) {
            mean->append(line.values[i], line.estimates[i].mean);
            high->append(line.values[i], line.estimates[i].high);
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
        plot->addSeries(band);
        plot->addSeries(mean);
        band->attachAxis(axisX_);
        mean->attachAxis(axisX_);
        drawn_.push_back({mean, low, band});
        toggleFromLegend(mean, {band}, [this, name = line.name](bool shown) { toggled(name, shown); });
        showSeries(mean, !hidden_.contains(line.name));
    }
    placeAxisY();
    rescale();
    fitTicksX();
    keepReadable();
    setAccessibleDescription(describe());
}

bool SweepChart::lineShown(std::size_t line) const
{
    return drawn_.at(line).mean->isVisible();
}

std::vector<std::size_t> SweepChart::scaledLines() const
{
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < drawn_.size(); ++i) {
        if (lineShown(i))
            shown.push_back(i);
    }
    if (shown.empty()) {
        for (std::size_t i = 0; i < drawn_.size(); ++i)
            shown.push_back(i);
    }
    return shown;
}

void SweepChart::setLogarithmic(bool wanted)
{
    logarithmicWanted_ = wanted;
    placeAxisY();
    rescale();
}

bool SweepChart::logarithmicPossible() const
{
    const std::vector<std::size_t> scaled = scaledLines();
    return !scaled.empty() && std::all_of(scaled.begin(), scaled.end(), [this](std::size_t line) {
        const std::vector<Estimate>& estimates = lines_[line].estimates;
        return std::all_of(estimates.begin(), estimates.end(), [](const Estimate& e) { return e.mean > 0; });
    });
}

bool SweepChart::logarithmic() const
{
    return logarithmicWanted_ && logarithmicPossible();
}

// A new axis of the right kind takes the place of one of the wrong kind, and
// every series is on it.
void SweepChart::placeAxisY()
{
    const bool wanted = logarithmic();
    if (axisY_ == nullptr || (axisY_->type() == QAbstractAxis::AxisTypeLogValue) != wanted)
        replaceAxisY(wanted);
    for (const Drawn& drawn : drawn_) {
        for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{drawn.band, drawn.mean}) {
            if (!series->attachedAxes().contains(axisY_))
                series->attachAxis(axisY_);
        }
    }
}

void SweepChart::replaceAxisY(bool logarithmic)
{
    if (axisY_ != nullptr) {
        chart()->removeAxis(axisY_);
        delete axisY_;
    }
    if (logarithmic) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        axis->setLabelFormat(QStringLiteral("%.6g"));
        axis->setMinorTickCount(-1);
        axisY_ = axis;
    } else {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(QStringLiteral("%.6g"));
        axis->setMinorTickCount(1);
        axisY_ = axis;
    }
    axisY_->setTitleText(yTitle_);
    chart()->addAxis(axisY_, Qt::AlignLeft);
}

// X covers every line; Y the lines it scales to. On a logarithmic axis the
// band's lower edge stops at the axis where the interval reaches 0 or below.
void SweepChart::rescale()
{
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    for (const SweepLine& line : lines_) {
        for (const double x : line.values) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        }
    }
    if (!(minX <= maxX))
        return;
    // A stopped sweep may keep a single value, which gets room on either side.
    const double spanX = maxX > minX ? maxX - minX : std::max(std::abs(minX) * 0.2, 1e-9);
    if (maxX == minX) {
        minX -= spanX / 2;
        maxX += spanX / 2;
    }
    // Ticks step from the first value; a hair of room keeps the last on the axis.
    axisX_->setRange(minX - spanX * 1e-9, maxX + spanX * 1e-9);
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -minY;
    double lowestAbove0 = minY;
    for (const std::size_t line : scaledLines()) {
        for (const Estimate& estimate : lines_[line].estimates) {
            minY = std::min(minY, estimate.low);
            maxY = std::max(maxY, estimate.high);
            for (const double y : {estimate.mean, estimate.low}) {
                if (y > 0)
                    lowestAbove0 = std::min(lowestAbove0, y);
            }
        }
    }
    double floorY = -std::numeric_limits<double>::infinity();
    if (auto* axis = qobject_cast<QLogValueAxis*>(axisY_)) {
        // Whole decades, so that the labelled ticks bound the plot.
        floorY = std::pow(10.0, std::floor(std::log10(lowestAbove0)));
        const double top = std::max(std::pow(10.0, std::ceil(std::log10(maxY))), floorY * 10);
        axis->setRange(floorY, top);
    } else {
        auto* linear = static_cast<QValueAxis*>(axisY_);
        // A flat line still gets a visible range; quantities that cannot be
        // negative keep the axis at 0 and above.
        const double margin = maxY > minY ? (maxY - minY) * 0.05 : std::max(1e-9, std::abs(maxY) * 0.05);
        linear->setRange(minY >= 0 ? std::max(0.0, minY - margin) : minY - margin, maxY + margin);
        linear->applyNiceNumbers();
        if (minY >= 0 && linear->min() < 0)
            linear->setMin(0);
    }
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        QList<QPointF> edge;
        for (std::size_t i = 0; i < lines_[line].values.size(); ++i)
            edge.append({lines_[line].values[i], std::max(lines_[line].estimates[i].low, floorY)});
        drawn_[line].low->replace(edge);
    }
}

// A tick at every value whose label fits, otherwise at every second, third and
// so on, always at swept values.
void SweepChart::fitTicksX()
{
    if (lines_.empty() || lines_.front().values.empty())
        return;
    const std::vector<double>& values = lines_.front().values;
    const QLocale locale = chart()->locale();
    const QFontMetricsF metrics(axisX_->labelsFont());
    double label = 0;
    for (const double value : values)
        label = std::max(label, metrics.horizontalAdvance(locale.toString(value, 'g', 6)));
    const auto intervals = static_cast<double>(std::max<std::size_t>(values.size() - 1, 1));
    const double step =
        values.size() > 1 ? std::abs(values.back() - values.front()) / intervals : axisX_->max() - axisX_->min();
    const double pixels = chart()->plotArea().width() / intervals;
    int every = 1;
    while (every < intervals && every * pixels < label + labelGap)
        ++every;
    axisX_->setTickAnchor(std::min(values.front(), values.back()));
    axisX_->setTickInterval(step * every);
}

// The room besides the plot hardly changes with the view's size, so the view
// asks for the plot's readable size over it once it knows it.
void SweepChart::measureRoom()
{
    const QRectF plot = chart()->plotArea();
    if (plot.isEmpty())
        return;
    const QSize room(width() - static_cast<int>(plot.width()), height() - static_cast<int>(plot.height()));
    if (room != room_) {
        room_ = room;
        keepReadable();
    }
}

// Qt Charts makes the chart's own small minimum the view's at every resize,
// which would let a layout squeeze the plot to nothing.
void SweepChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    keepReadable();
}

void SweepChart::keepReadable()
{
    const QFontMetrics metrics(chart()->titleFont());
    // Before the first layout: a title, tick labels, an axis title, margins.
    const QSize room = room_.isEmpty() ? QSize(12 * metrics.height(), 8 * metrics.height()) : room_;
    const int titleX = QFontMetrics(axisX_->titleFont()).horizontalAdvance(xTitle_);
    const int width = std::max(room.width() + std::max(readablePlotHeight, titleX),
                               metrics.horizontalAdvance(chart()->title()) + 2 * metrics.height());
    setMinimumSize(width, room.height() + readablePlotHeight);
}

void SweepChart::toggled(const QString& name, bool shown)
{
    hidden_.removeAll(name);
    if (!shown)
        hidden_.append(name);
    placeAxisY();
    rescale();
    setAccessibleDescription(describe());
    emit shownLinesChanged();
}

QString SweepChart::readoutAt(QPoint position) const
{
    const std::vector<std::size_t> shown = scaledLines();
    if (drawn_.empty() || !lineShown(shown.front()))
        return {};
    QChart* plot = chart();
    const QPointF inChart = plot->mapFromScene(mapToScene(position));
    if (!plot->plotArea().contains(inChart))
        return {};
    const double x = plot->mapToValue(inChart, drawn_[shown.front()].mean).x();
    const std::vector<double>& values = lines_[shown.front()].values;
    const auto nearest =
        static_cast<std::size_t>(std::min_element(values.begin(), values.end(),
                                                  [x](double a, double b) { return std::abs(a - x) < std::abs(b - x); })
                                 - values.begin());
    const QLocale locale = NumberLocale();
    QStringList lines{QStringLiteral("%1 = %2").arg(xTitle_, locale.toString(values[nearest], 'g', 12))};
    for (const std::size_t line : shown) {
        if (nearest < lines_[line].estimates.size())
            lines << QStringLiteral("%1: %2").arg(lines_[line].name,
                                                  EstimateText(locale, lines_[line].estimates[nearest]));
    }
    return lines.join(QLatin1Char('\n'));
}

// The readout under the pointer; over the legend, what a click on it does.
bool SweepChart::viewportEvent(QEvent* event)
{
    const auto text = [this](QPoint position) {
        const QPointF inChart = chart()->mapFromScene(mapToScene(position));
        return !lines_.empty() && chart()->legend()->geometry().contains(inChart)
            ? QStringLiteral("Щелчок по линии в легенде скрывает её или показывает снова.")
            : readoutAt(position);
    };
    return showReadout(event, viewport(), text) || QChartView::viewportEvent(event);
}

// One sentence a line for those who cannot see the chart: where it starts and ends.
QString SweepChart::describe() const
{
    const QLocale locale;
    QStringList parts;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const SweepLine& line = lines_[i];
        if (line.values.empty() || !lineShown(i))
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
