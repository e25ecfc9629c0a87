// velmora's "О модели" window: the network's diagram and what the settings and a
// tick mean. Its contents scroll when the window is made smaller than designed.
#pragma once

#include "shell/ui/DescriptionWindow.h"

namespace velmora {

namespace Ui {
class TAboutModel;
}

}  // namespace velmora

extern template class shell::DescriptionWindow<velmora::Ui::TAboutModel>;

namespace velmora {

class TAboutModel : public shell::DescriptionWindow<Ui::TAboutModel> {
public:
    using DescriptionWindow::DescriptionWindow;
};

}  // namespace velmora
