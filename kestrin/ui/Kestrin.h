// The window of kestrin: ten orders, ten thresholds, the number of days, and the
// share of unmet demand in L.
#pragma once

#include "kestrin/model/Warehouse.h"

#include <QWidget>

#include <memory>

namespace kestrin {

namespace Ui {
class TForm1;
}

class TForm1 : public QWidget {
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void Button1Click();

    // Thresholds, then orders, then the day count, each converted as it is read.
    TWarehouseInput ReadWarehouseInput() const;

private:
    std::unique_ptr<Ui::TForm1> ui;
};

extern TForm1* Form1;

} // namespace kestrin
