// velmora's part of an experiment file: both sides' distributions and their
// parameters, as the main window shows them.
#pragma once

#include "velmora/model/Settings.h"

#include <QJsonObject>

namespace velmora {

// {"arrival": {"distribution": "uniform", "parameters": [100]}, "processing": ...},
// a distribution named as DistributionName names it, with its one or two parameters.
QJsonObject SettingsJson(const SeriesSettings& settings);
// Throws shell::Exception naming the field that is missing, unknown or wrong.
SeriesSettings SettingsFromJson(const QJsonObject& settings);

}  // namespace velmora
