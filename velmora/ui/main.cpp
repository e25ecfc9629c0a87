// velmora's entry point.
#include "CommandLine.h"
#include "Startup.h"

#include "shell/ui/Application.h"

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    if (const auto status = velmora::RunCommandLine(argc, argv))
        return *status;
    shell::Application application(argc, argv, QStringLiteral("velmora"));
    return application.start([&application] {
        application.Initialize();
        velmora::CreateForms(application);
        application.Run();
    });
}
