// The licence's text comes from the project's LICENSE file, compiled in as a
// resource, so that the box and the file cannot disagree.
#include "About.h"

#include "Application.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace shell {

QMessageBox* showAboutProgram(QWidget* parent, const QString& description)
{
    QFile licence(QStringLiteral(":/shell/LICENSE"));
    const QString licenceText = licence.open(QIODevice::ReadOnly) ? QString::fromUtf8(licence.readAll()) : QString();
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Information);
    box->setWindowTitle(QStringLiteral("О программе"));
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<b>%1</b>, версия %2")
                     .arg(QCoreApplication::applicationName().toHtmlEscaped(),
                          QCoreApplication::applicationVersion().toHtmlEscaped()));
    box->setInformativeText(
        QStringLiteral(
            "<p>%1</p><p>Программа распространяется по лицензии MIT: её можно свободно использовать, изменять "
            "и распространять, сохраняя уведомление об авторских правах и текст лицензии. Она "
            "предоставляется «как есть», без каких-либо гарантий.</p>")
            .arg(description.toHtmlEscaped()));
    box->setDetailedText(licenceText);
    box->setEscapeButton(box->addButton(QStringLiteral("Закрыть"), QMessageBox::AcceptRole));
    box->open();
    return box;
}

namespace {

// Refuses a field's claim to a key that one of the window's commands has.
class CommandKeys : public QObject {
public:
    explicit CommandKeys(QWidget* window)
        : QObject(window)
        , window_(window)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        // The window's own commands, not those of the windows it owns.
        const QList<QAction*> commands = window_->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
        return std::any_of(commands.begin(), commands.end(),
                           [&key](const QAction* command) { return command->shortcuts().contains(key); });
    }

private:
    QWidget* window_;
};

}  // namespace

void connectMainMenus(QMainWindow* window, QAction* quit, QAction* aboutProgram, const QString& description)
{
    connectGuarded(new QShortcut(Qt::Key_F10, window), &QShortcut::activated, window,
                   [window] { window->menuBar()->setActiveAction(window->menuBar()->actions().front()); });
    connectGuarded(quit, &QAction::triggered, window, [window] { window->close(); });
    connectGuarded(aboutProgram, &QAction::triggered, window,
                   [window, description] { showAboutProgram(window, description); });
    auto* keys = new CommandKeys(window);
    for (QLineEdit* field : window->findChildren<QLineEdit*>())
        field->installEventFilter(keys);
}

}  // namespace shell
