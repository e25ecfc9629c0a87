// Label sizing for captions longer than their designed box.
#include "Controls.h"

#include <QLabel>

#include <algorithm>

namespace shell {

void fitLabel(QLabel* label, int minimumHeight)
{
    if (label->wordWrap())
        label->resize(label->width(), std::max(minimumHeight, label->heightForWidth(label->width())));
    else
        label->resize(label->sizeHint().expandedTo(QSize(0, minimumHeight)));
}

} // namespace shell
