// Tooltips come from the viewport's tooltip events, so they appear and go as
// every tooltip does; the menu pops up without blocking, so it can be opened
// only once at a time.
#include "ChartTools.h"

#include "Chart.h"

#include "shell/ui/Application.h"
#include "shell/ui/Files.h"
#include "shell/ui/NumberText.h"
#include "velmora/model/Export.h"
#include "velmora/model/Histogram.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>

#include <algorithm>
#include <span>
#include <vector>

namespace velmora {
namespace {

bool writeSvg(TChart* chart, QIODevice& device)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(chart->size());
    generator.setViewBox(chart->rect());
    generator.setTitle(QStringLiteral("Распределение"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    chart->render(&painter);
    return painter.end();
}

}  // namespace

ChartTools::ChartTools(TChart* chart, std::array<TAreaSeries*, 3> flows, std::function<const TResultArrays*()> results)
    : QObject(chart)
    , chart_(chart)
    , flows_(flows)
    , results_(std::move(results))
    , menu_(new QMenu(chart))
{
    const auto addGuardedAction = [this](const QString& text, void (ChartTools::*handler)() const) {
        shell::connectGuarded(menu_->addAction(text), &QAction::triggered, this,
                              [this, handler] { (this->*handler)(); });
    };
    addGuardedAction(QStringLiteral("Копировать изображение"), &ChartTools::copyImage);
    addGuardedAction(QStringLiteral("Сохранить изображение…"), &ChartTools::saveImage);
    addGuardedAction(QStringLiteral("Сохранить данные…"), &ChartTools::saveData);
    chart_->installEventFilter(this);
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

bool ChartTools::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = legendFlow_ != 0 ? summary(legendFlow_) : readoutAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, chart_->viewport());
        return true;
    }
    case QEvent::ContextMenu: {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        openMenu(request->reason() == QContextMenuEvent::Mouse ? request->globalPos()
                                                               : chart_->mapToGlobal(chart_->rect().center()));
        return true;
    }
    case QEvent::KeyPress: {
        // Shift+F10 opens the menu as the Menu key does; X11 makes no event of it.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == chart_ && key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            openMenu(chart_->mapToGlobal(chart_->rect().center()));
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

QList<QAction*> ChartTools::actions() const
{
    return menu_->actions();
}

void ChartTools::updateActions() const
{
    const bool haveResults = results_() != nullptr;
    for (QAction* action : menu_->actions())
        action->setEnabled(haveResults);
}

void ChartTools::openMenu(QPoint globalPosition)
{
    if (menu_->isVisible())
        return;
    updateActions();
    menu_->popup(globalPosition);
}

void ChartTools::copyImage() const
{
    QApplication::clipboard()->setImage(chart_->grab().toImage());
}

void ChartTools::saveImage() const
{
    const auto target =
        shell::askSavePath(chart_->window(), QStringLiteral("Сохранить изображение"),
                           {QStringLiteral("Изображение PNG (*.png)"), QStringLiteral("Рисунок SVG (*.svg)")});
    if (!target)
        return;
    shell::saveFile(target->path, [this, &target](QIODevice& device) {
        return target->filter == 1 ? writeSvg(chart_, device) : chart_->grab().toImage().save(&device, "PNG");
    });
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
    shell::saveFile(target->path, [&text](QIODevice& device) {
        return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    });
}

}  // namespace velmora
