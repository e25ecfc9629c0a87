// Error display through a modal box titled with the program's name.
#include "Application.h"

#include <QMessageBox>

#include <cstdio>

namespace shell {
namespace {

void showInMessageBox(const QString& message)
{
    // Without an application object (start-up failed early) no box can be shown.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

ErrorDisplay& errorDisplay()
{
    static ErrorDisplay display = showInMessageBox;
    return display;
}

}  // namespace

void setErrorDisplay(ErrorDisplay display)
{
    errorDisplay() = display ? std::move(display) : showInMessageBox;
}

void showError(const QString& message)
{
    errorDisplay()(message);
}

Application::Application(int& argc, char** argv, QString programName)
    : argc_(argc)
    , argv_(argv)
    , programName_(std::move(programName))
{
}

Application::~Application()
{
    // Forms go before the application object they belong to.
    forms_.clear();
}

void Application::Initialize()
{
    if (QCoreApplication::instance() == nullptr)
        application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(programName_);
    // Forms other than the main one are never shown, so closing the main window
    // closes the last visible one and ends the program.
    QApplication::setQuitOnLastWindowClosed(true);
}

void Application::Run()
{
    if (forms_.empty())
        return;
    forms_.front()->show();
    QApplication::exec();
}

void Application::ShowException(const std::exception& error)
{
    showError(QString::fromUtf8(error.what()));
}

int Application::start(const std::function<void()>& steps)
{
    guarded(steps);
    return 0;
}

}  // namespace shell
