// Form creation order of velmora.
#include "Startup.h"

#include "Unit1.h"
#include "Unit2.h"

#include "shell/ui/Application.h"

namespace velmora {

void CreateForms(shell::Application& application)
{
    application.CreateForm(Form1);
    application.CreateForm(Form2);
}

}  // namespace velmora
