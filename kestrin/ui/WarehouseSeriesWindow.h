// The series window's view of kestrin: the main window's fields, what a sweep
// can vary, and a finished series as a table and chart.
#pragma once

#include "kestrin/model/Goods.h"
#include "kestrin/model/Warehouse.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

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

// The costs among the series window's own settings, and back.
Costs CostsOf(const std::map<std::string, double>& extras);
std::map<std::string, double> CostExtras(const Costs& costs);

}  // namespace kestrin
