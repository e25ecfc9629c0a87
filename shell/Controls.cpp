// Label sizing, anchoring and field names shared by both windows.
#include "Controls.h"

#include <QLabel>
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

Anchors::Anchors(QWidget* window)
    : window_(window)
    , designed_(window->size())
{
    window->setMinimumSize(designed_);
}

void Anchors::add(QWidget* control, Qt::Edges edges)
{
    anchors_.push_back({control, edges, control->geometry()});
}

void Anchors::apply() const
{
    const int dx = window_->width() - designed_.width();
    const int dy = window_->height() - designed_.height();
    for (const Anchor& anchor : anchors_) {
        // Only the anchored coordinates follow the window; a label that fitted
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

QString fieldName(const QString& group, const QString& caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return group.isEmpty() ? name : group + QStringLiteral(", ") + name;
}

Exception fieldError(const QString& name, const std::string& message)
{
    return Exception(name.toStdString() + ": " + message);
}

}  // namespace shell
