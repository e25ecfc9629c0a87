// Reading what a Qt Charts view writes: titles, tick labels and legend entries.
#pragma once

#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QStringList>

// The texts the view shows, an item each, among them any that Qt shortened
// with an ellipsis for want of room.
inline QStringList shownTexts(const QChartView& view)
{
    QStringList texts;
    for (const QGraphicsItem* item : view.scene()->items()) {
        const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item);
        if (text != nullptr && text->isVisible() && !text->toPlainText().isEmpty())
            texts << text->toPlainText();
    }
    return texts;
}
