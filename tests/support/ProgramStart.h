// The start-up object as a program makes it from its command line, for tests
// that go through start-up; the test's own application object is reused.
#pragma once

#include "shell/ui/Application.h"

#include <string>

struct ProgramStart {
    explicit ProgramStart(const char* program)
        : name(program)
        , application(argc, argv, QString::fromLatin1(program))
    {
    }

    std::string name;
    int argc = 1;
    char* argv[2] = {name.data(), nullptr};
    shell::Application application;
};
