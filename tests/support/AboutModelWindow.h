// What both "О модели" windows do, driven by keys and the mouse: they open
// without blocking their main window, hold the given phrases, show everything
// at the designed size, scroll instead of clipping when made small, and close by
// Esc, Enter or their button.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

inline void expectAboutModelWindow(QDialog& about, const std::vector<const char*>& phrases)
{
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.windowTitle(), "О модели");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    const auto* text = about.findChild<QLabel*>("description");
    ASSERT_NE(text, nullptr);
    for (const char* phrase : phrases)
        EXPECT_TRUE(text->text().contains(QString::fromUtf8(phrase))) << phrase;

    auto* scroll = about.findChild<QScrollArea*>("scrollArea");
    ASSERT_NE(scroll, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << "the designed size shows everything";
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);

    // Made small, the window scrolls its contents, which keep their size, and the
    // keyboard reaches all of them; the button stays in view.
    const QSize designed = about.size();
    about.resize(420, 300);
    QApplication::processEvents();
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    for (const QWidget* part : scroll->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!part->hasHeightForWidth()) {
            EXPECT_TRUE(part->width() >= part->sizeHint().width() && part->height() >= part->sizeHint().height())
                << part->objectName().toStdString() << " does not reflow and keeps its size";
        }
    }
    auto* close = about.findChild<QAbstractButton*>("closeButton");
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(about.rect().contains(close->geometry()));
    about.activateWindow();
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Tab);
    EXPECT_TRUE(scroll->hasFocus());
    for (int page = 0; page < 20; ++page)
        QTest::keyClick(scroll, Qt::Key_PageDown);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum());
    about.resize(designed);

    QTest::keyClick(scroll, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    about.show();
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    about.show();
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
}
