// One line of a sweep's chart, as a series' presentation hands it to the chart.
#pragma once

#include "shell/core/Series.h"

#include <QColor>
#include <QString>

#include <iterator>
#include <vector>

namespace shell {

// A statistic's mean and interval at each value of the sweep.
struct SweepLine {
    QString name;
    QColor color;
    std::vector<double> values;
    std::vector<Estimate> estimates;
};

// Colours most eyes tell apart on white, for lines of no colour of their own:
// the eleventh, last of them, is black; later lines repeat them.
inline QColor LineColor(std::size_t index)
{
    static constexpr QRgb colors[]{0x0072B2, 0xD55E00, 0x009E73, 0xCC79A7, 0xE69F00, 0x56B4E9,
                                   0x8C564B, 0x9467BD, 0x7F7F7F, 0xBCBD22, 0x000000};
    return QColor::fromRgb(colors[index % std::size(colors)]);
}

}  // namespace shell
