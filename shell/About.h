// The "О программе" box that both programs show from their "Справка" menu.
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace shell {

// Shows the program's name and version (the application's), the description (one
// plain sentence of what it does) and its licence, with the licence's full text
// behind the box's details button. The box is modal to `parent` but does not
// block the caller; "Закрыть" or Esc closes and deletes it.
QMessageBox* showAboutProgram(QWidget* parent, const QString& description);

}  // namespace shell
