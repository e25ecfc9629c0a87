// What a reader does to a Qt Charts view: clicks a legend entry, rests the
// pointer on a point.
#pragma once

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <string>

// Clicks the legend entry named so, where its name is written; whether there was one.
inline bool clickLegend(QChartView& view, const QString& name)
{
    for (const QGraphicsItem* item : view.scene()->items()) {
        const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item);
        if (text != nullptr && text->toPlainText() == name) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                              view.mapFromScene(text->sceneBoundingRect().center()));
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

// The tooltip that resting the pointer there brings up, empty for none.
inline std::string tooltipAt(QChartView& view, QPoint position)
{
    QHelpEvent event(QEvent::ToolTip, position, view.viewport()->mapToGlobal(position));
    QApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}
