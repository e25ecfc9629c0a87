// kestrin's "О модели" window: what the orders, thresholds, demand and L mean.
// Its contents scroll when the window is made smaller than designed.
#pragma once

#include "shell/ui/DescriptionWindow.h"

namespace kestrin {

namespace Ui {
class TAboutModel;
}

}  // namespace kestrin

extern template class shell::DescriptionWindow<kestrin::Ui::TAboutModel>;

namespace kestrin {

class TAboutModel : public shell::DescriptionWindow<Ui::TAboutModel> {
public:
    using DescriptionWindow::DescriptionWindow;
};

}  // namespace kestrin
