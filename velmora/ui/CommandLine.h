// velmora's command line: a series of runs without the window, printed as CSV.
#pragma once

#include <optional>

namespace velmora {

// The exit status when the command line asked for something else than the
// window, or nothing when the window is to start.
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace velmora
