// The series window's view of velmora: the main window's settings, the
// parameters it shows to vary, and a finished series as a table and chart.
#pragma once

#include "velmora/model/Settings.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace shell {
class SeriesProgram;
}

namespace velmora {

// A parameter of the main window, as messages name it, with its field.
struct ShownParameter {
    SweepParameter parameter;
    QString name;
    QWidget* field;
};

// What the series window reads of the main window.
struct NetworkWindowView {
    // Both sides as shown, read as a press reads them; throws shell::FieldError.
    std::function<SeriesSettings()> settings;
    // The parameters shown now, arrival side first.
    std::function<std::vector<ShownParameter>()> shownParameters;
    // Any parameter, shown or not.
    std::function<ShownParameter(SweepParameter parameter)> parameter;
    // The distribution chosen on a side.
    std::function<DistributionKind(Side side)> kind;
};

std::unique_ptr<shell::SeriesProgram> MakeNetworkSeriesProgram(NetworkWindowView view);

}  // namespace velmora
