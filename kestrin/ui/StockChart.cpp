// Day t's stock is drawn flat from t − ½ to t + ½, so that the steps meet at
// the days' edges and a day's marks and readout sit at its middle. The
// colours are told apart by those who see few colours (Okabe and Ito's
// palette), and shortages and reorders differ by shape as well.
#include "StockChart.h"

#include "shell/ui/AxisScale.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/LegendToggle.h"
#include "shell/ui/NumberText.h"
#include "shell/ui/Readout.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kestrin {
namespace {

const QColor stockColor(0x33, 0x33, 0x33);
const QColor thresholdColor(0x00, 0x9E, 0x73);
const QColor shortageColor(0xD5, 0x5E, 0x00);
const QColor reorderColor(0x00, 0x72, 0xB2);

// A threshold below 0 never orders anything, as 0 does not.
float drawnThreshold(const PressDays& run, int good)
{
    return std::max(run.input.Threshold[static_cast<std::size_t>(good - 1)], 0.0f);
}

// A quantity to the thousandth of a place that demand is drawn in, without
// the noise that float sums add below it.
QString quantity(const QLocale& locale, float value)
{
    const double thousandths = std::round(static_cast<double>(value) * detail::UnitsPerPlace);
    return locale.toString(thousandths / detail::UnitsPerPlace, 'g', QLocale::FloatingPointShortest);
}

QString places(const QLocale& locale, float lost)
{
    return shell::NumberWithNoun(locale, static_cast<std::int64_t>(lost), "место", "места", "мест");
}

QString happened(const QLocale& locale, const GoodDay& day, float threshold)
{
    switch (day.action) {
    case DayAction::Shortage:
        return QStringLiteral("Нехватка: спрос больше запаса, потеряно %1").arg(places(locale, day.lost));
    case DayAction::Reorder:
        return QStringLiteral("Дозаказ: остаток %1 ниже порога %2")
            .arg(quantity(locale, day.remainder), quantity(locale, threshold));
    case DayAction::None:
        break;
    }
    return QStringLiteral("Ни нехватки, ни дозаказа: остаток %1").arg(quantity(locale, day.remainder));
}

// Round steps between day ticks, the finest that gives at most `ticks` of them.
double dayStep(int days, int ticks)
{
    for (const double step : {1, 2, 5, 10, 20, 50})
        if (days <= step * ticks)
            return step;
    return 100;
}

}  // namespace

StockChart::StockChart(QWidget* parent)
    : QChartView(parent)
    , stock_(new QLineSeries)
    , threshold_(new QLineSeries)
    , shortages_(new QScatterSeries)
    , reorders_(new QScatterSeries)
    , axisX_(new QValueAxis)
    , axisY_(new QValueAxis)
    , menu_(new shell::ChartMenu(this, [this] { return run_ != nullptr; }))
{
    QChart* plot = chart();
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    plot->setLocale(shell::NumberLocale());
    plot->setLocalizeNumbers(true);
    plot->legend()->setAlignment(Qt::AlignBottom);
    plot->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    stock_->setName(QStringLiteral("Запас на начало дня"));
    threshold_->setName(QStringLiteral("Порог"));
    shortages_->setName(QStringLiteral("Нехватка"));
    reorders_->setName(QStringLiteral("Дозаказ"));
    shortages_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    reorders_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    shortages_->setColor(shortageColor);
    reorders_->setColor(reorderColor);
    for (QScatterSeries* marks : {shortages_, reorders_})
        marks->setBorderColor(Qt::white);
    axisX_->setTitleText(QStringLiteral("День"));
    axisY_->setTitleText(QStringLiteral("Мест на складе"));
    axisX_->setLabelFormat(QStringLiteral("%.0f"));
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0);
    plot->addAxis(axisX_, Qt::AlignBottom);
    plot->addAxis(axisY_, Qt::AlignLeft);
    // In the legend's order; the marks go over the line they mark.
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{stock_, threshold_, shortages_, reorders_}) {
        plot->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        shell::toggleFromLegend(series, {}, {});
    }
    setRenderHint(QPainter::Antialiasing);
    // Shift+F10 and the Menu key open its menu.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("График запаса"));
    stock_->setPen(QPen(stockColor, 2));
    threshold_->setPen(QPen(thresholdColor, 2, Qt::DashLine));
}

void StockChart::makeCompact()
{
    compact_ = true;
    QChart* plot = chart();
    plot->legend()->setVisible(false);
    plot->setMargins(QMargins(2, 2, 2, 2));
    plot->layout()->setContentsMargins(0, 0, 0, 0);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    plot->setTitleFont(small);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setTitleVisible(false);
        axis->setLabelsFont(small);
    }
    stock_->setPen(QPen(stockColor, 1.2));
    threshold_->setPen(QPen(thresholdColor, 1.2, Qt::DashLine));
}

double StockChart::stockTop(const PressDays& run, int good)
{
    double top = drawnThreshold(run, good);
    for (int day = 1; day <= run.dayCount(); ++day)
        top = std::max(top, static_cast<double>(run.at(day, good).stock));
    return top;
}

void StockChart::showGood(std::shared_ptr<const PressDays> run, int good, double stockTop)
{
    run_ = std::move(run);
    good_ = good;
    const int days = run_->dayCount();
    QList<QPointF> steps;
    QList<QPointF> shortages;
    QList<QPointF> reorders;
    steps.reserve(2 * days);
    for (int t = 1; t <= days; ++t) {
        const GoodDay& day = run_->at(t, good);
        steps << QPointF(t - 0.5, day.stock) << QPointF(t + 0.5, day.stock);
        if (day.action == DayAction::Shortage)
            shortages << QPointF(t, day.stock);
        else if (day.action == DayAction::Reorder)
            reorders << QPointF(t, day.stock);
    }
    const float threshold = drawnThreshold(*run_, good);
    // Marks no wider than a day, unless that is too small to tell their shapes.
    const double perDay = chart()->plotArea().width() / days;
    const double smallest = compact_ ? 4 : 7;
    const double largest = compact_ ? 7 : 11;
    shortages_->setMarkerSize(std::clamp(perDay, smallest, largest));
    reorders_->setMarkerSize(std::clamp(perDay, smallest, largest) * 0.75);
    stock_->replace(steps);
    shortages_->replace(shortages);
    reorders_->replace(reorders);
    threshold_->replace({QPointF(0.5, threshold), QPointF(days + 0.5, threshold)});
    axisX_->setRange(0.5, days + 0.5);
    axisX_->setTickInterval(dayStep(days, compact_ ? 4 : 10));
    // The highest step keeps clear of the plot's edge, and an empty warehouse
    // still gets a visible range.
    const double top = std::max({stockTop, StockChart::stockTop(*run_, good), 1.0}) * 1.04;
    shell::applyScale(axisY_, compact_ ? shell::NiceScale(0, top, 2, 3, 0) : shell::NiceScale(0, top, 4, 7, 0));
    // A chart alone is named by the window's choice of good.
    if (compact_)
        chart()->setTitle(QStringLiteral("Товар %1").arg(good));
    setAccessibleDescription(describe());
}

QString StockChart::readoutAt(QPoint position) const
{
    if (run_ == nullptr)
        return {};
    QChart* plot = chart();
    const QPointF inChart = plot->mapFromScene(mapToScene(position));
    if (!plot->plotArea().contains(inChart))
        return {};
    const auto t = static_cast<int>(std::lround(plot->mapToValue(inChart, stock_).x()));
    if (t < 1 || t > run_->dayCount())
        return {};
    const GoodDay& day = run_->at(t, good_);
    const QLocale locale = shell::NumberLocale();
    return QStringLiteral("Товар %1, день %2\nЗапас на начало дня: %3\nСпрос: %4\n%5\nЗапас на следующий день: %6")
        .arg(QString::number(good_), locale.toString(t), quantity(locale, day.stock), quantity(locale, day.demand),
             happened(locale, day, drawnThreshold(*run_, good_)), quantity(locale, day.stockNext));
}

// The readout of the day under the pointer; over the legend, what a click on it does.
bool StockChart::viewportEvent(QEvent* event)
{
    const auto text = [this](QPoint position) {
        const QPointF inChart = chart()->mapFromScene(mapToScene(position));
        return chart()->legend()->isVisible() && chart()->legend()->geometry().contains(inChart)
            ? QStringLiteral("Щелчок по названию в легенде скрывает то, что оно называет, или показывает снова.")
            : readoutAt(position);
    };
    return shell::showReadout(event, viewport(), text) || QChartView::viewportEvent(event);
}

// For those who cannot see the chart: its range and how often each thing happened.
QString StockChart::describe() const
{
    const QLocale locale = shell::NumberLocale();
    const int days = run_->dayCount();
    float low = run_->at(1, good_).stock;
    float high = low;
    int shortages = 0;
    int reorders = 0;
    for (int t = 1; t <= days; ++t) {
        const GoodDay& day = run_->at(t, good_);
        low = std::min(low, day.stock);
        high = std::max(high, day.stock);
        shortages += day.action == DayAction::Shortage;
        reorders += day.action == DayAction::Reorder;
    }
    return QStringLiteral("Товар %1, %2: запас на начало дня от %3 до %4, порог %5; нехватка в %6, дозаказ в %7.")
        .arg(QString::number(good_), shell::NumberWithNoun(locale, days, "день", "дня", "дней"), quantity(locale, low),
             quantity(locale, high), quantity(locale, drawnThreshold(*run_, good_)),
             shell::NumberWithNoun(locale, shortages, "дне", "днях", "днях"),
             shell::NumberWithNoun(locale, reorders, "дне", "днях", "днях"));
}

}  // namespace kestrin
