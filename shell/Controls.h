// Control operations that Qt's widgets do not offer as such.
#pragma once

class QLabel;

namespace shell {

// Lets a label show its whole caption, as an auto-sized label does: a word-wrapping
// label keeps its width and takes the height its text needs (never less than
// minimumHeight); any other label takes the size of its text.
void fitLabel(QLabel* label, int minimumHeight = 0);

} // namespace shell
