// The window of kestrin: ten orders, ten thresholds, the number of days, and the
// share of unmet demand in L.
#pragma once

#include "AboutModel.h"

#include "kestrin/model/Warehouse.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QLineEdit;

namespace shell {
class SeriesWindow;
}

namespace kestrin {

namespace Ui {
class TForm1;
}

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void Button1Click();

    // Thresholds, then orders, then the day count, each converted as it is read.
    TWarehouseInput ReadWarehouseInput() const;

    // Opens the series window, or brings it to the front.
    void openSeries();
    // The fields of goods 1 to 10 in each column.
    std::array<QLineEdit*, GoodsCount> orders() const;
    std::array<QLineEdit*, GoodsCount> thresholds() const;

private:
    std::unique_ptr<Ui::TForm1> ui;
    QPointer<shell::SeriesWindow> series_;
    QPointer<TAboutModel> aboutModel_;
};

extern TForm1* Form1;

}  // namespace kestrin
