// velmora's entry point.
#include "Startup.h"

#include "shell/Application.h"

int main(int argc, char** argv)
{
    shell::Application application(argc, argv, QStringLiteral("velmora"));
    return application.start([&application] {
        application.Initialize();
        velmora::CreateForms(application);
        application.Run();
    });
}
