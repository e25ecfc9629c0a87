// PNG is the view's own grab, so that the file holds what the user saw; SVG
// renders the view again into a generator of the view's size.
#include "ChartImage.h"

#include "Files.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QPainter>
#include <QSvgGenerator>

namespace shell {
namespace {

bool writeSvg(QChartView* view, QIODevice& device)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(view->size());
    generator.setViewBox(view->rect());
    generator.setTitle(view->chart()->title());
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    view->render(&painter);
    return painter.end();
}

}  // namespace

void copyChartImage(QChartView* view)
{
    QApplication::clipboard()->setImage(view->grab().toImage());
}

void saveChartImage(QChartView* view)
{
    const auto target = askSavePath(view->window(), QStringLiteral("Сохранить изображение"),
                                    {QStringLiteral("Изображение PNG (*.png)"), QStringLiteral("Рисунок SVG (*.svg)")});
    if (!target)
        return;
    saveFile(target->path, [view, &target](QIODevice& device) {
        return target->filter == 1 ? writeSvg(view, device) : view->grab().toImage().save(&device, "PNG");
    });
}

}  // namespace shell
