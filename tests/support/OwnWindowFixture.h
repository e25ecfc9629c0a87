// What the tests of a main window's own windows start from: the main window
// shown, the window opened by Ctrl and its key and holding the keyboard, and
// messages collected instead of shown.
#pragma once

#include "shell/ui/Application.h"
#include "shell/ui/Files.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

template <typename Form, typename Window, Qt::Key OpenKey>
class OwnWindowFixture : public testing::Test {
protected:
    OwnWindowFixture()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        // To the focus, a field, as the keyboard sends it.
        QTest::keyClick(QApplication::focusWidget(), OpenKey, Qt::ControlModifier);
        window = form.template findChild<Window*>();
        EXPECT_TRUE(window && focused(window));
    }
    ~OwnWindowFixture() override
    {
        shell::setErrorDisplay(nullptr);
        shell::setSaveDialog(nullptr);
        shell::setOpenDialog(nullptr);
    }

    // Qt counts a window active while the window it belongs to is; this is the
    // window that has the keyboard.
    static bool focused(QWidget* widget)
    {
        return QTest::qWaitFor([widget] { return QGuiApplication::focusWindow() == widget->windowHandle(); });
    }

    template <typename T = QWidget>
    T* control(const char* name)
    {
        T* found = window->template findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void type(const char* field, const QString& text) { control<QLineEdit>(field)->setText(text); }
    // Saves through the button into `path` and returns what the file holds.
    QByteArray saveAs(const QString& path, const char* button = "SaveButton")
    {
        shell::setSaveDialog([&](QWidget*, const QString&, const QStringList&) { return shell::SaveTarget{path, 0}; });
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("not saved");
    }

    // Ctrl and `key` in the main window, brought to the front, with `path` the file its dialog answers.
    void fileCommand(Qt::Key key, const QString& path)
    {
        shell::setSaveDialog([path](QWidget*, const QString&, const QStringList&) {
            return shell::SaveTarget{path, 0};
        });
        shell::setOpenDialog([path](QWidget*, const QString&, const QStringList&) { return path; });
        form.activateWindow();
        EXPECT_TRUE(focused(&form));
        QTest::keyClick(&form, key, Qt::ControlModifier);
    }

    QStringList messages;
    Form form;
    Window* window = nullptr;
};
