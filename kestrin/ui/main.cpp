// kestrin's entry point: one window.
#include "Kestrin.h"

#include "shell/Application.h"

int main(int argc, char** argv)
{
    shell::Application application(argc, argv, QStringLiteral("kestrin"));
    return application.start([&application] {
        application.Initialize();
        application.CreateForm(kestrin::Form1);
        application.Run();
    });
}
