// What the tests of both programs' series windows start from: the series
// window opened with Ctrl+R, and a series set up and run through it.
#pragma once

#include "OwnWindowFixture.h"

#include "shell/ui/SeriesWindow.h"

#include <QApplication>
#include <QComboBox>

template <typename Form>
class SeriesWindowFixture : public OwnWindowFixture<Form, shell::SeriesWindow, Qt::Key_R> {
protected:
    using Base = OwnWindowFixture<Form, shell::SeriesWindow, Qt::Key_R>;
    using Base::window;

    void vary(const QString& choice)
    {
        auto* combo = this->template control<QComboBox>("VaryCombo");
        combo->setCurrentIndex(combo->findText(choice));
        ASSERT_EQ(combo->currentText(), choice);
    }
    // Starts the series with the mouse and waits for its end.
    void run()
    {
        QTest::mouseClick(this->template control<QPushButton>("RunButton"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->running(); }, 60'000));
        QApplication::processEvents();
    }
};
