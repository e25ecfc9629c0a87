// Tooltips come from the viewport's tooltip events, so they appear and go as
// every tooltip does; the menu is the one every chart has, with the data added.
#include "ChartTools.h"

#include "Chart.h"

#include "shell/ui/Application.h"
#include "shell/ui/ChartMenu.h"
#include "shell/ui/Files.h"
#include "shell/ui/NumberText.h"
#include "velmora/model/Export.h"
#include "velmora/model/Histogram.h"

#include <QChart>
#include <QHelpEvent>
#include <QLegendMarker>
#include <QLocale>
#include <QToolTip>

#include <algorithm>
#include <span>
#include <vector>

namespace velmora {

ChartTools::ChartTools(TChart* chart, std::array<TAreaSeries*, 3> flows, std::function<const TResultArrays*()> results)
    : QObject(chart)
    , chart_(chart)
    , flows_(flows)
    , results_(std::move(results))
    , menu_(new shell::ChartMenu(chart, [this] { return results_() != nullptr; }))
{
    menu_->appendAction(QStringLiteral("Сохранить данные…"), [this] { saveData(); });
    chart_->viewport()->installEventFilter(this);
    for (int flow = 1; flow <= 3; ++flow) {
        shell::connectGuarded(chart_->legendMarker(flows_[flow - 1]), &QLegendMarker::hovered, this,
                              [this, flow](bool hovered) { legendFlow_ = hovered ? flow : 0; });
    }
}

QString ChartTools::summary(int flow) const
{
    const TResultArrays* results = results_();
    if (results == nullptr)
        return {};
    const auto& values = flow == 1 ? results->Result1 : flow == 2 ? results->Result2 : results->Result3;
    const FlowSummary s = SummarizeFlow(values);
    // The chart's locale: the user's decimal separator, no group separators.
    const QLocale locale = chart_->chart()->locale();
    return QStringLiteral("%1, время отклика в тиках:\nсреднее %2, медиана %3,\n90-й процентиль %4, "
                          "95-й процентиль %5,\nнаименьшее %6, наибольшее %7")
        .arg(flows_[flow - 1]->title(), locale.toString(s.mean, 'f', 1), locale.toString(s.median, 'f', 1),
             locale.toString(s.percentile90), locale.toString(s.percentile95), locale.toString(s.min),
             locale.toString(s.max));
}

QString ChartTools::readoutAt(QPoint position) const
{
    if (results_() == nullptr)
        return {};
    QChart* plot = chart_->chart();
    const QPointF inChart = plot->mapFromScene(chart_->mapToScene(position));
    if (!plot->plotArea().contains(inChart))
        return {};
    const double x = plot->mapToValue(inChart).x();
    const QLocale locale = plot->locale();
    QStringList lines;
    int shownFlow = 0;
    for (int flow = 1; flow <= 3; ++flow) {
        const TAreaSeries* series = flows_[flow - 1];
        const qsizetype k = series->barAt(x);
        if (k < 0)
            continue;
        const double share = series->points()[k].y();
        const auto count = static_cast<std::int64_t>(std::lround(share * TasksPerFlow));
        lines << QStringLiteral("%1: %2 — %3, %4 %")
                     .arg(series->title(), TicksText(locale, series->binTicks(k)),
                          shell::NumberWithNoun(locale, count, "задача", "задачи", "задач"),
                          locale.toString(share * 100, 'f', 1));
        shownFlow = lines.size() == 1 ? flow : 0;
    }
    // A single flow's readout opens with its summary.
    if (shownFlow != 0)
        lines.prepend(summary(shownFlow));
    return lines.join(QLatin1Char('\n'));
}

bool ChartTools::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = legendFlow_ != 0 ? summary(legendFlow_) : readoutAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, chart_->viewport());
    return true;
}

QMenu* ChartTools::menu() const
{
    return menu_->menu();
}

QList<QAction*> ChartTools::actions() const
{
    return menu_->actions();
}

void ChartTools::updateActions() const
{
    menu_->updateActions();
}

void ChartTools::saveData() const
{
    const TResultArrays* results = results_();
    if (results == nullptr)
        return;
    const auto target = shell::askSavePath(
        chart_->window(), QStringLiteral("Сохранить данные"),
        {QStringLiteral("Времена отклика, CSV (*.csv)"), QStringLiteral("Точки гистограммы, CSV (*.csv)")});
    if (!target)
        return;
    std::string text;
    if (target->filter == 1) {
        std::vector<FlowHistogram> shown;
        for (int flow = 1; flow <= 3; ++flow) {
            const QList<QPointF>& points = flows_[flow - 1]->points();
            if (points.size() != HistogramPointCount)
                continue;
            FlowHistogram histogram{flow, {}};
            for (int k = 0; k < HistogramPointCount; ++k)
                histogram.points[k] = {points[k].x(), points[k].y()};
            shown.push_back(histogram);
        }
        text = HistogramCsv(shown);
    } else {
        text = ResponseTimesCsv(*results);
    }
    shell::saveText(target->path, text);
}

}  // namespace velmora
