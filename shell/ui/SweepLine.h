// One line of a sweep's chart, as a series' presentation hands it to the chart.
#pragma once

#include "shell/core/Series.h"

#include <QColor>
#include <QString>

#include <vector>

namespace shell {

// A statistic's mean and interval at each value of the sweep.
struct SweepLine {
    QString name;
    QColor color;
    std::vector<double> values;
    std::vector<Estimate> estimates;
};

}  // namespace shell
