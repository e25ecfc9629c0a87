// A window of texts that a Designer form describes, which a "Закрыть" button
// (closeButton) or Esc closes, as both programs' "О модели" windows are.
#pragma once

#include "Application.h"

#include <QDialog>
#include <QPushButton>

#include <memory>

namespace shell {

// Not modal: the main window goes on taking input while it is open. Closing it
// hides it; showing it again brings it back as it was. A program instantiates
// it once for its form, where the form's class is complete, and declares the
// instantiation extern where it names the window.
template <typename Form>
class DescriptionWindow : public QDialog {
public:
    explicit DescriptionWindow(QWidget* parent = nullptr);
    ~DescriptionWindow() override;

private:
    std::unique_ptr<Form> ui;
};

template <typename Form>
DescriptionWindow<Form>::DescriptionWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Form>())
{
    ui->setupUi(this);
    connectGuarded(ui->closeButton, &QPushButton::clicked, this, [this] { close(); });
}

template <typename Form>
DescriptionWindow<Form>::~DescriptionWindow() = default;

}  // namespace shell
