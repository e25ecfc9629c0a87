// The texts live in the form.
#include "AboutModel.h"

#include "ui_AboutModel.h"

template class shell::DescriptionWindow<kestrin::Ui::TAboutModel>;
