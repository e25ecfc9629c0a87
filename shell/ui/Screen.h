// Windows on the screen: placed where they were designed when the screen has
// room for them, moved and shrunk when it has not.
#pragma once

#include <QPoint>

class QMainWindow;
class QWidget;

namespace shell {

// Places a main window whose frame was designed at `position` with the size it
// has now: there when its whole frame fits within its screen's available area,
// otherwise moved, and then shrunk if it must, until it does. A window of
// fixed size keeps it unless it cannot fit. Whatever it loses of its designed
// size, its designed area must scroll.
void fitToScreen(QWidget* window, QPoint position, bool fixedSize);

// A main window whose designed area lies below its menu bar: its designed size
// is the area's grown by the menu bar, which is also the smallest a resizable
// one takes where the screen allows; then placed by fitToScreen.
void placeMainWindow(QMainWindow* window, const QWidget* designedArea, QPoint position, bool fixedSize);

// Where a window of its own opens the first time: over its owner, a little
// below and to the right of its corner; or beside it, to its right, for a
// window that follows what is done in the owner and should leave it in view.
enum class Placement { NearOwner, BesideOwner };

// Shows a window of its own, or brings it to the front if it is shown already,
// minimised or not.
// A window shown for the first time opens as `placement` says, as far as the
// screen allows.
void bringToFront(QWidget* window, const QWidget* owner, Placement placement = Placement::NearOwner);

}  // namespace shell
