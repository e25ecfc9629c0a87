// The series window's view of kestrin: the main window's fields, what a sweep
// can vary, and a finished series as a table and chart.
#pragma once

#include "kestrin/model/Warehouse.h"

#include <array>
#include <functional>
#include <memory>

class QLineEdit;

namespace shell {
class SeriesProgram;
}

namespace kestrin {

// What the series window reads of the main window.
struct WarehouseWindowView {
    // The fields read as a press reads them; throws shell::FieldError.
    std::function<TWarehouseInput()> input;
    std::array<QLineEdit*, GoodsCount> orders;
    std::array<QLineEdit*, GoodsCount> thresholds;
};

std::unique_ptr<shell::SeriesProgram> MakeWarehouseSeriesProgram(WarehouseWindowView view);

}  // namespace kestrin
