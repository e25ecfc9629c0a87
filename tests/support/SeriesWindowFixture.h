// What the tests of both programs' series windows start from: the main window
// shown, its series window opened with Ctrl+R and holding the keyboard, and
// messages collected instead of shown.
#pragma once

#include "shell/ui/Application.h"
#include "shell/ui/Files.h"
#include "shell/ui/SeriesWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

template <typename Form>
class SeriesWindowFixture : public testing::Test {
protected:
    SeriesWindowFixture()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
        window = form.template findChild<shell::SeriesWindow*>();
        EXPECT_TRUE(window && focused(window));
    }
    ~SeriesWindowFixture() override
    {
        shell::setErrorDisplay(nullptr);
        shell::setSaveDialog(nullptr);
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
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void type(const char* field, const QString& text) { control<QLineEdit>(field)->setText(text); }
    void vary(const QString& choice)
    {
        auto* combo = control<QComboBox>("VaryCombo");
        combo->setCurrentIndex(combo->findText(choice));
        ASSERT_EQ(combo->currentText(), choice);
    }
    // Starts the series with the mouse and waits for its end.
    void run()
    {
        QTest::mouseClick(control<QPushButton>("RunButton"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->running(); }, 60'000));
        QApplication::processEvents();
    }
    // Saves through "Сохранить…" into `path` and returns what the file holds.
    QByteArray saveAs(const QString& path)
    {
        shell::setSaveDialog([&](QWidget*, const QString&, const QStringList&) { return shell::SaveTarget{path, 0}; });
        QTest::mouseClick(control<QPushButton>("SaveButton"), Qt::LeftButton);
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("not saved");
    }

    QStringList messages;
    Form form;
    shell::SeriesWindow* window = nullptr;
};
