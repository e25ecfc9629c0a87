// velmora's command line: a series of runs without the window, printed as CSV.
#pragma once

#include <QString>

#include <optional>

namespace velmora {

// What velmora does, in one sentence, for its help and its "О программе".
QString ProgramDescription();

// The exit status when the command line asked for something else than the
// window, or nothing when the window is to start.
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace velmora
