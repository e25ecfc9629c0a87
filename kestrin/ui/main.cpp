// kestrin's entry point: one window.
#include "CommandLine.h"
#include "Kestrin.h"

#include "shell/ui/Application.h"

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("kestrin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    if (const auto status = kestrin::RunCommandLine(argc, argv))
        return *status;
    shell::Application application(argc, argv, QStringLiteral("kestrin"));
    return application.start([&application] {
        application.Initialize();
        application.CreateForm(kestrin::Form1);
        application.Run();
    });
}
