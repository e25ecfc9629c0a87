// Chooses a command of a main window's menu bar with the mouse, as a user does.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

// The menu is opened by a click on its title, and the command clicked in it.
// Returns whether the command was there and enabled.
inline bool chooseFromMenu(QMainWindow& window, const QString& menuTitle, const QString& command)
{
    QMenuBar* bar = window.menuBar();
    for (QAction* title : bar->actions()) {
        if (title->text().remove(QLatin1Char('&')) != menuTitle)
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QMenu* menu = title->menu();
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
            return false;
        for (QAction* action : menu->actions()) {
            if (action->text() == command) {
                const bool enabled = action->isEnabled();
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                menu->hide();
                return enabled;
            }
        }
        menu->hide();
    }
    return false;
}
