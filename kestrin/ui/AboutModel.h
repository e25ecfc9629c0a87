// kestrin's "О модели" window: what the orders, thresholds, demand and L mean.
#pragma once

#include <QDialog>

#include <memory>

namespace kestrin {

namespace Ui {
class TAboutModel;
}

// Not modal: the main window goes on taking input while it is open. Esc or
// "Закрыть" hides it; showing it again brings it back as it was. Its contents
// scroll when the window is made smaller than designed.
class TAboutModel : public QDialog {
    Q_OBJECT

public:
    explicit TAboutModel(QWidget* parent = nullptr);
    ~TAboutModel() override;

private:
    std::unique_ptr<Ui::TAboutModel> ui;
};

}  // namespace kestrin
