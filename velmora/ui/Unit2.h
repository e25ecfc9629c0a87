// The second, empty form of velmora; it is created at start-up and never shown.
#pragma once

#include <QWidget>

#include <memory>

namespace velmora {

namespace Ui {
class TForm2;
}

class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

private:
    std::unique_ptr<Ui::TForm2> ui;
};

extern TForm2* Form2;

}  // namespace velmora
