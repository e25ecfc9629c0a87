// The texts and the diagram live in the form.
#include "AboutModel.h"

#include "ui_AboutModel.h"

template class shell::DescriptionWindow<velmora::Ui::TAboutModel>;
