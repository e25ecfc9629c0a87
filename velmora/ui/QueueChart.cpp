// A queue is constant from one step to the next, so each step becomes two
// vertices of its line, a path in time and queue length that the painter maps
// onto the plot; the readout looks the time up in the steps themselves.
#include "QueueChart.h"

#include "ServerTitles.h"

#include "shell/ui/Application.h"
#include "shell/ui/AxisScale.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/LegendToggle.h"
#include "shell/ui/NumberText.h"
#include "shell/ui/Readout.h"

#include <QAction>
#include <QChart>
#include <QGraphicsItem>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace velmora {
namespace {

// Colours told apart with any colour vision: the shared and the final server,
// whose queues are the long ones, in blue and black.
constexpr std::array<QRgb, ServerCount> lineColors{0xD55E00, 0x009E73, 0xCC79A7, 0x0072B2, 0x000000};

// The queue at `time`: that of the last step at or before it.
int waitingAt(const std::vector<QueueStep>& steps, Tick time)
{
    const auto after =
        std::upper_bound(steps.begin(), steps.end(), time, [](Tick t, const QueueStep& step) { return t < step.time; });
    return after == steps.begin() ? 0 : std::prev(after)->waiting;
}

}  // namespace

// Above the grid, within the plot; a line whose series is hidden is not drawn.
class QueueChart::StepLines : public QGraphicsItem {
public:
    StepLines(QChart* chart, const std::array<QLineSeries*, ServerCount>& lines, const QValueAxis* axisX,
              const QValueAxis* axisY)
        : QGraphicsItem(chart)
        , chart_(chart)
        , lines_(lines)
        , axisX_(axisX)
        , axisY_(axisY)
    {
        setZValue(100);
    }

    void setPaths(std::array<QPainterPath, ServerCount> paths)
    {
        paths_ = std::move(paths);
        update();
    }
    const QPainterPath& path(Server server) const { return paths_[static_cast<std::size_t>(server)]; }

    // Called before the plot moves or resizes.
    void plotChanging() { prepareGeometryChange(); }

    QRectF boundingRect() const override { return chart_->plotArea(); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QRectF plot = chart_->plotArea();
        if (plot.isEmpty() || axisX_->max() <= axisX_->min() || axisY_->max() <= axisY_->min())
            return;
        painter->setClipRect(plot);
        QTransform values;
        values.translate(plot.left(), plot.bottom());
        values.scale(plot.width() / (axisX_->max() - axisX_->min()), -plot.height() / (axisY_->max() - axisY_->min()));
        values.translate(-axisX_->min(), -axisY_->min());
        painter->setTransform(values, true);
        painter->setBrush(Qt::NoBrush);
        for (std::size_t s = 0; s < paths_.size(); ++s) {
            if (!lines_[s]->isVisible())
                continue;
            painter->setPen(lines_[s]->pen());
            painter->drawPath(paths_[s]);
        }
    }

private:
    QChart* chart_;
    std::array<QLineSeries*, ServerCount> lines_;
    const QValueAxis* axisX_;
    const QValueAxis* axisY_;
    std::array<QPainterPath, ServerCount> paths_;
};

QueueChart::QueueChart(QWidget* parent)
    : QChartView(parent)
    , axisX_(new QValueAxis)
    , axisY_(new QValueAxis)
    , menu_(new shell::ChartMenu(this, [this] { return !queues_.front().empty(); }))
{
    QChart* plot = chart();
    plot->setTitle(QStringLiteral("Очередь во времени"));
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    plot->legend()->setAlignment(Qt::AlignRight);
    plot->setLocale(shell::NumberLocale());
    plot->setLocalizeNumbers(true);
    axisX_->setTitleText(QStringLiteral("Время, тики"));
    axisY_->setTitleText(QStringLiteral("Задач в очереди"));
    plot->addAxis(axisX_, Qt::AlignBottom);
    plot->addAxis(axisY_, Qt::AlignLeft);
    for (int s = 0; s < ServerCount; ++s) {
        auto* line = new QLineSeries;
        line->setName(ServerTitle(static_cast<Server>(s)));
        // A cosmetic pen of one pixel is drawn without a stroker, which lines of
        // thousands of steps would wait for.
        QPen pen(QColor::fromRgb(lineColors[static_cast<std::size_t>(s)]), 1);
        pen.setCosmetic(true);
        line->setPen(pen);
        plot->addSeries(line);
        line->attachAxis(axisX_);
        line->attachAxis(axisY_);
        lines_[static_cast<std::size_t>(s)] = line;
    }
    steps_ = new StepLines(plot, lines_, axisX_, axisY_);
    // The legend's entries switch the lines by mouse, the menu's by keyboard.
    for (std::size_t s = 0; s < lines_.size(); ++s) {
        QAction* shown = menu_->appendAction(lines_[s]->name(), [this, s] {
            shell::showSeries(lines_[s], shownActions_[s]->isChecked());
            lineSwitched();
        });
        shown->setCheckable(true);
        shown->setChecked(true);
        shownActions_[s] = shown;
        shell::toggleFromLegend(lines_[s], {}, [this, s](bool visible) {
            shownActions_[s]->setChecked(visible);
            lineSwitched();
        });
    }
    shell::connectGuarded(plot, &QChart::plotAreaChanged, this, [this] { steps_->plotChanging(); });
    setFocusPolicy(Qt::StrongFocus);
    showQueues({});
    setAccessibleName(QStringLiteral("Очередь во времени"));
}

void QueueChart::showQueues(ServerQueues queues)
{
    queues_ = std::move(queues);
    // The axes first, so that each line is laid out once, at its new points.
    std::optional<std::pair<Tick, Tick>> period;
    for (const std::vector<QueueStep>& steps : queues_) {
        if (steps.empty())
            continue;
        period = period
            ? std::pair{std::min(period->first, steps.front().time), std::max(period->second, steps.back().time)}
            : std::pair{steps.front().time, steps.back().time};
    }
    // Times are whole ticks, and so are the axis' ticks.
    const auto [start, end] = period.value_or(std::pair{0, 1});
    shell::applyScale(axisX_, shell::NiceScale(start, end, 4, 8, 1));
    fitQueues();
    std::array<QPainterPath, ServerCount> paths;
    for (std::size_t s = 0; s < queues_.size(); ++s) {
        const std::vector<QueueStep>& steps = queues_[s];
        QPainterPath& path = paths[s];
        path.reserve(2 * static_cast<int>(steps.size()));
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const QPointF step(steps[i].time, steps[i].waiting);
            if (i == 0) {
                path.moveTo(step);
                continue;
            }
            path.lineTo(QPointF(step.x(), path.currentPosition().y()));
            path.lineTo(step);
        }
    }
    steps_->setPaths(std::move(paths));
    setAccessibleDescription(describe());
}

QList<QPointF> QueueChart::linePoints(Server server) const
{
    const QPainterPath& path = steps_->path(server);
    QList<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.append(path.elementAt(i));
    return points;
}

void QueueChart::lineSwitched()
{
    fitQueues();
    steps_->update();
    setAccessibleDescription(describe());
}

// The Y axis reaches the longest queue of the lines shown, so that hiding the
// long ones shows the short ones in detail.
void QueueChart::fitQueues()
{
    int highest = 0;
    for (std::size_t s = 0; s < queues_.size(); ++s) {
        if (!lines_[s]->isVisible())
            continue;
        for (const QueueStep& step : queues_[s])
            highest = std::max(highest, step.waiting);
    }
    shell::applyScale(axisY_, shell::NiceScale(0, std::max(highest, 1), 2, 5, 1));
}

QString QueueChart::readoutAt(QPoint position) const
{
    QChart* plot = chart();
    const QPointF inChart = plot->mapFromScene(mapToScene(position));
    if (!plot->plotArea().contains(inChart))
        return {};
    const auto time = static_cast<Tick>(std::floor(plot->mapToValue(inChart).x()));
    const QLocale locale = plot->locale();
    QStringList lines{QStringLiteral("Время: %1").arg(shell::NumberWithNoun(locale, time, "тик", "тика", "тиков"))};
    for (std::size_t s = 0; s < queues_.size(); ++s) {
        const std::vector<QueueStep>& steps = queues_[s];
        if (!lines_[s]->isVisible() || steps.empty() || time < steps.front().time || time >= steps.back().time)
            continue;
        lines << QStringLiteral("%1: %2").arg(
            lines_[s]->name(), shell::NumberWithNoun(locale, waitingAt(steps, time), "задача", "задачи", "задач"));
    }
    return lines.size() > 1 ? lines.join(QLatin1Char('\n')) : QString();
}

bool QueueChart::viewportEvent(QEvent* event)
{
    return shell::showReadout(event, viewport(), [this](QPoint position) { return readoutAt(position); })
        || QChartView::viewportEvent(event);
}

// For those who cannot see the chart: each server's longest queue, and how to
// switch lines.
QString QueueChart::describe() const
{
    const QLocale locale = chart()->locale();
    QStringList parts;
    for (std::size_t s = 0; s < queues_.size(); ++s) {
        const std::vector<QueueStep>& steps = queues_[s];
        if (steps.empty())
            continue;
        const auto longest =
            std::max_element(steps.begin(), steps.end(), [](auto a, auto b) { return a.waiting < b.waiting; });
        parts << QStringLiteral("%1: наибольшая очередь %2 в момент %3")
                     .arg(lines_[s]->name(), locale.toString(longest->waiting), locale.toString(longest->time));
    }
    if (parts.isEmpty())
        return QStringLiteral("Графика пока нет.");
    return parts.join(QStringLiteral("; "))
        + QStringLiteral(". Линии серверов скрывает и показывает контекстное меню графика.");
}

}  // namespace velmora
