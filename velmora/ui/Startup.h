// The forms of velmora, created at start-up in this order: the simulation window
// (the main window), then the empty second form.
#pragma once

namespace shell {
class Application;
}

namespace velmora {

void CreateForms(shell::Application& application);

}  // namespace velmora
