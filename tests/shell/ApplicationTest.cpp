// Start-up: what a failed start shows and the status it ends with.
#include "shell/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ApplicationTest, AFailedStartIsShownAndEndsWithAFailureStatus)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    int argc = 1;
    char name[] = "velmora";
    char* argv[] = {name, nullptr};
    shell::Application application(argc, argv, "velmora");
    EXPECT_EQ(application.start([] {}), EXIT_SUCCESS);
    EXPECT_EQ(application.start([] { throw shell::Exception("Окно не создано"); }), EXIT_FAILURE);
    EXPECT_EQ(application.start([] { throw 1; }), EXIT_FAILURE);
    EXPECT_EQ(messages, QStringList({"Окно не создано", ""}));
    shell::setErrorDisplay(nullptr);
}

}  // namespace
