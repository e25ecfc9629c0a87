// The texts live in the form; the window only connects its button.
#include "AboutModel.h"

#include "ui_AboutModel.h"

#include "shell/ui/Application.h"

namespace velmora {

TAboutModel::TAboutModel(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TAboutModel>())
{
    ui->setupUi(this);
    shell::connectGuarded(ui->closeButton, &QPushButton::clicked, this, [this] { close(); });
}

TAboutModel::~TAboutModel() = default;

}  // namespace velmora
