// kestrin's part of an experiment file: the orders, thresholds and day count
// of the main window, and the costs of the series window.
#pragma once

#include "kestrin/model/Goods.h"
#include "kestrin/model/Warehouse.h"

#include <QJsonObject>

namespace kestrin {

struct WarehouseSetup {
    TWarehouseInput input;
    Costs costs;
};

// {"orders": [ten numbers], "thresholds": [ten numbers], "days": 100,
//  "costs": {"holding": 0, "shortage": 0, "delivery": 0}}.
QJsonObject SettingsJson(const WarehouseSetup& setup);
// Throws shell::Exception naming the field that is missing, unknown or wrong.
WarehouseSetup SettingsFromJson(const QJsonObject& settings);

}  // namespace kestrin
