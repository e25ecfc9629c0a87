// Error display through a modal box titled with the program's name, Qt's own
// texts in Russian, and an end on SIGTERM or SIGINT as clean as closing the window.
#include "Application.h"

#include "FieldError.h"

#include "shell/headless/CommandLine.h"

#include <QMessageBox>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

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

// A signal handler may only write to a descriptor; the event loop reads the
// other end and quits there, so the forms are closed and destroyed as usual.
int quitSignalPipe[2] = {-1, -1};

extern "C" void onQuitSignal(int)
{
    // The interrupted code may be about to read errno, which write() can change.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(quitSignalPipe[0], &byte, 1);
    errno = savedErrno;
}

void quitOnSignals(QObject* context)
{
    // No program started from here inherits either end. The writing end never
    // blocks the handler: when it is full, a byte is already waiting to end the loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, quitSignalPipe) != 0)
        return;
    const int flags = ::fcntl(quitSignalPipe[0], F_GETFL);
    if (flags == -1 || ::fcntl(quitSignalPipe[0], F_SETFL, flags | O_NONBLOCK) == -1) {
        ::close(quitSignalPipe[0]);
        ::close(quitSignalPipe[1]);
        return;
    }
    auto* notifier = new QSocketNotifier(quitSignalPipe[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char byte;
        [[maybe_unused]] const auto read = ::read(quitSignalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
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
    // Without a desktop session Qt would end the program with a message of its own.
    if (QCoreApplication::instance() == nullptr && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        throw Exception(QStringLiteral("%1: нет графического сеанса (не задан ни DISPLAY, ни WAYLAND_DISPLAY); без "
                                       "окна работает серия прогонов: %1 --series, подробнее — %1 --help")
                            .arg(programName_)
                            .toStdString());
    }
    if (QCoreApplication::instance() == nullptr)
        application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(programName_);
    translator_ = installQtTranslations();
    // Forms other than the main one are never shown, so closing the main window
    // closes the last visible one and ends the program.
    QApplication::setQuitOnLastWindowClosed(true);
}

void Application::Run()
{
    if (forms_.empty())
        return;
    forms_.front()->show();
    quitOnSignals(forms_.front().get());
    QApplication::exec();
}

void Application::ShowException(const std::exception& error)
{
    showError(QString::fromUtf8(error.what()));
    focusField(error);
}

int Application::start(const std::function<void()>& steps)
{
    bool completed = false;
    guarded([&] {
        steps();
        completed = true;
    });
    return completed ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace shell
