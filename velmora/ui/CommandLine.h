// velmora's command line: a series of runs without the window, printed as CSV.
#pragma once

#include "velmora/model/Variates.h"

#include <QString>

#include <optional>

namespace velmora {

// One side's distribution as --arrival and --processing write it,
// "normal:50:10"; throws shell::UsageError naming `option`.
DistributionSetting ReadDistributionOption(const QString& option, const QString& text);

// What velmora does, in one sentence, for its help and its "О программе".
QString ProgramDescription();

// The exit status when the command line asked for something else than the
// window, or nothing when the window is to start.
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace velmora
