// Start-up of both programs: the application object, the forms in the order they
// are created, the event loop, and the one place where errors are shown.
#pragma once

#include "shell/core/Exception.h"

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTranslator>
#include <QWidget>

#include <exception>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace shell {

// Shows an error message to the user. Replaceable so that tests can collect
// messages instead of opening a box.
using ErrorDisplay = std::function<void(const QString& message)>;
void setErrorDisplay(ErrorDisplay display);
void showError(const QString& message);

class Application {
public:
    Application(int& argc, char** argv, QString programName);
    ~Application();

    // Makes the application object ready, an existing one (as in tests) being
    // reused, and gives Qt's own texts in Russian, as all of ours are, whatever
    // the user's locale.
    void Initialize();

    // Creates a form and stores it in `global`, which goes back to null when the
    // form is destroyed, so that it never dangles; the first form is the main window.
    template <typename Form>
    void CreateForm(Form*& global)
    {
        auto form = std::make_unique<Form>();
        Form* created = form.get();
        global = created;
        QObject::connect(created, &QObject::destroyed, [&global, created] {
            if (global == created)
                global = nullptr;
        });
        forms_.push_back(std::move(form));
    }

    // Shows the main window and runs the event loop until it closes, or until
    // SIGTERM or SIGINT asks the program to end.
    void Run();

    static void ShowException(const std::exception& error);

    // Runs the start-up steps behind guarded(): the program's exit status, 0 when
    // they ended normally and 1 when they failed, once the failure has been shown.
    int start(const std::function<void()>& steps);

    // The forms in the order they were created.
    const std::vector<std::unique_ptr<QWidget>>& forms() const { return forms_; }

private:
    int& argc_;
    char** argv_;
    QString programName_;
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QTranslator> translator_;
    std::vector<std::unique_ptr<QWidget>> forms_;
};

// Runs an event handler, or the start-up, so that no exception reaches Qt's event
// loop: whatever it throws is shown and the loop goes on. An error that is not a
// std::exception is shown as an Exception with an empty message.
template <typename Handler>
void guarded(Handler&& handler) noexcept
{
    try {
        handler();
    } catch (const std::exception& error) {
        Application::ShowException(error);
    } catch (...) {
        Application::ShowException(Exception(""));
    }
}

// Connects a signal to an event handler that runs behind guarded() for as long
// as `context` lives. The handler takes the signal's arguments or none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* context, Handler handler)
{
    return QObject::connect(sender, signal, context, [handler = std::move(handler)](const auto&... arguments) {
        guarded([&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(arguments)...>)
                handler(arguments...);
            else
                handler();
        });
    });
}

}  // namespace shell
