// The empty second form.
#include "Unit2.h"

#include "ui_Unit2.h"

namespace velmora {

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
}

TForm2::~TForm2() = default;

}  // namespace velmora
