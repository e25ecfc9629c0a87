// "О программе": what the box says, and that it leaves the caller going and goes
// with Esc; and the main windows' commands, whose keys their fields leave them.
#include "shell/ui/About.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(AboutTest, ShowsNameVersionDescriptionAndLicenceWithoutBlockingAndClosesOnEscape)
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName("kestrin");
    QCoreApplication::setApplicationVersion("1.0");
    QWidget window;
    window.show();
    // Returning at all shows that the caller is not blocked.
    const QPointer<QMessageBox> box = shell::showAboutProgram(&window, "Моделирует склад <десяти> товаров.");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    EXPECT_EQ(box->windowTitle(), "О программе");
    EXPECT_EQ(box->parentWidget(), &window);
    const QString text = box->text() + box->informativeText();
    for (const char* part : {"<b>kestrin</b>, версия 1.0", "Моделирует склад &lt;десяти&gt; товаров.", "лицензии MIT"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(box->detailedText().startsWith("MIT License"));
    EXPECT_TRUE(box->detailedText().contains("Permission is hereby granted, free of charge"));
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&box] { return box.isNull(); }, 1000));
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
}

// Under X11 a line edit claims Ctrl+U, to delete its text; offscreen none
// does, so a field that claims every key stands for it.
class ClaimingField : public QLineEdit {
public:
    QList<int> keys;  // pressed, other than modifiers

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() != Qt::Key_Control)
            keys << static_cast<QKeyEvent*>(event)->key();
        return QLineEdit::event(event);
    }
};

TEST(MainMenusTest, CommandsKeepTheirKeysInTheWindowsFields)
{
    QMainWindow window;
    auto* field = new ClaimingField;
    window.setCentralWidget(field);
    // As a form makes them: the window's own, shown in its menus.
    auto* command = new QAction("Склад по дням…", &window);
    command->setShortcut(Qt::CTRL | Qt::Key_U);
    QMenu* menu = window.menuBar()->addMenu("Вид");
    menu->addAction(command);
    shell::connectMainMenus(&window, menu->addAction("Выход"), menu->addAction("О программе"), "Склад.");
    QSignalSpy triggered(command, &QAction::triggered);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(triggered.size(), 1);
    // A key that no command has stays the field's.
    QTest::keyClick(field, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(field->keys, QList<int>{Qt::Key_K});
}

}  // namespace
