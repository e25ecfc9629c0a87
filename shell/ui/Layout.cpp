// Label sizing, anchoring in designed coordinates, and scrolled content.
#include "Layout.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace shell {

void fitLabel(QLabel* label, int minimumHeight)
{
    if (label->wordWrap())
        label->resize(label->width(), std::max(minimumHeight, label->heightForWidth(label->width())));
    else
        label->resize(label->sizeHint().expandedTo(QSize(0, minimumHeight)));
}

Anchors::Anchors(QWidget* area)
    : QObject(area)
    , area_(area)
    , designed_(area->size())
{
    area->setMinimumSize(designed_);
    area->installEventFilter(this);
}

void Anchors::add(QWidget* control, Qt::Edges edges)
{
    anchors_.push_back({control, edges, control->geometry()});
}

void Anchors::apply() const
{
    const int dx = area_->width() - designed_.width();
    const int dy = area_->height() - designed_.height();
    for (const Anchor& anchor : anchors_) {
        // Only the anchored coordinates follow the area; a label that fitted
        // its height to a caption keeps that height.
        QRect geometry = anchor.control->geometry();
        if (anchor.edges.testFlag(Qt::RightEdge)) {
            if (anchor.edges.testFlag(Qt::LeftEdge))
                geometry.setWidth(anchor.designed.width() + dx);
            else
                geometry.moveLeft(anchor.designed.left() + dx);
        }
        if (anchor.edges.testFlag(Qt::BottomEdge)) {
            if (anchor.edges.testFlag(Qt::TopEdge))
                geometry.setHeight(anchor.designed.height() + dy);
            else
                geometry.moveTop(anchor.designed.top() + dy);
        }
        anchor.control->setGeometry(geometry);
    }
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        apply();
    return false;
}

int ScrollContent::heightForWidth(int width) const
{
    return layout() != nullptr ? layout()->totalMinimumHeightForWidth(width) : QWidget::heightForWidth(width);
}

}  // namespace shell
