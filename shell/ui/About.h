// The "О программе" box that both programs show from their "Справка" menu, and
// the menu commands their main windows share.
#pragma once

#include "Screen.h"

#include <QPointer>
#include <QString>

class QAction;
class QMainWindow;
class QMessageBox;
class QWidget;

namespace shell {

// Shows the program's name and version (the application's), the description (one
// plain sentence of what it does) and its licence, with the licence's full text
// behind the box's details button. The box is modal to `parent` but does not
// block the caller; "Закрыть" or Esc closes and deletes it.
QMessageBox* showAboutProgram(QWidget* parent, const QString& description);

// F10 opens the menu bar, as in most desktop programs whatever the keyboard
// layout; `quit` closes the window; `aboutProgram` shows "О программе". In the
// window's fields its commands keep their keys, which a line edit would take
// for itself otherwise (Ctrl+U, which deletes its text under X11).
void connectMainMenus(QMainWindow* window, QAction* quit, QAction* aboutProgram, const QString& description);

// Shows a window of `owner`'s that is made once and kept: made at the first call.
template <typename Window>
void showOwnWindow(QPointer<Window>& window, QWidget* owner)
{
    if (window == nullptr)
        window = new Window(owner);
    bringToFront(window, owner);
}

}  // namespace shell
