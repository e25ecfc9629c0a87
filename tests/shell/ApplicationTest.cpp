// Start-up: what a failed start shows and the status it ends with.
#include "shell/ui/Application.h"
#include "../support/ProgramStart.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ApplicationTest, AFailedStartIsShownAndEndsWithAFailureStatus)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    ProgramStart start("velmora");
    EXPECT_EQ(start.application.start([] {}), EXIT_SUCCESS);
    EXPECT_EQ(start.application.start([] { throw shell::Exception("Окно не создано"); }), EXIT_FAILURE);
    EXPECT_EQ(start.application.start([] { throw 1; }), EXIT_FAILURE);
    EXPECT_EQ(messages, QStringList({"Окно не создано", ""}));
    shell::setErrorDisplay(nullptr);
}

}  // namespace
