// kestrin's command line: a series of warehouse runs without the window, printed as CSV.
#pragma once

#include "kestrin/model/Warehouse.h"

#include <QString>

#include <array>

#include <optional>

namespace kestrin {

// The ten goods' orders (or thresholds) as --orders and --thresholds write
// them: ten numbers separated by commas, or one for all; read as the window's
// fields are. Throws shell::UsageError naming `option`.
std::array<float, GoodsCount> ReadQuantitiesOption(const QString& option, bool orders, const QString& text);

// What kestrin does, in one sentence, for its help and its "О программе".
QString ProgramDescription();

// The exit status when the command line asked for something else than the
// window, or nothing when the window is to start.
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace kestrin
