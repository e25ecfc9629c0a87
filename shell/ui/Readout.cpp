// The tooltip belongs to the viewport, so that it moves on as the pointer does.
#include "Readout.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace shell {

bool showReadout(QEvent* event, QWidget* viewport, const std::function<QString(QPoint position)>& readoutAt)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = readoutAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport);
    return true;
}

}  // namespace shell
