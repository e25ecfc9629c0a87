// A chart's readout: what lies under the pointer, as a tooltip that comes and
// goes as every tooltip does.
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QEvent;
class QWidget;

namespace shell {

// For a viewport's tooltip event, shows what `readoutAt` gives for the
// pointer's place in it, or hides the tooltip where that is empty, and returns
// true; returns false for any other event.
bool showReadout(QEvent* event, QWidget* viewport, const std::function<QString(QPoint position)>& readoutAt);

}  // namespace shell
