// Checks that a main window fits its screen, as the screen fit tests of both
// programs run it on a desktop, a small screen and a scaled one.
#pragma once

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

// The whole frame lies within the available area; at the designed place and
// size where they fit; the designed area keeps its size and scrolls; and Tab,
// from the first control, scrolls each one it reaches into the viewport.
inline void expectFitsTheScreen(QMainWindow& window, QPoint designedPosition, QSize designedArea,
                                const QStringList& tabChain)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize designedSize = designedArea + QSize(0, window.menuBar()->height());
    const QRect available = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    EXPECT_TRUE(available.contains(frame))
        << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " on "
        << available.width() << "x" << available.height();
    const QSize frameExtra = frame.size() - window.size();
    if (available.contains(QRect(designedPosition, designedSize + frameExtra))) {
        EXPECT_EQ(window.pos(), designedPosition);
        EXPECT_EQ(window.size(), designedSize);
    } else {
        EXPECT_LE(window.minimumWidth(), available.width());
        EXPECT_LE(window.minimumHeight(), available.height());
    }
    auto* area = window.findChild<QWidget*>(QStringLiteral("DesignedArea"));
    auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("DesignedScroll"));
    ASSERT_TRUE(area && scroll);
    EXPECT_EQ(area->size().expandedTo(designedArea), area->size());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* first = window.findChild<QWidget*>(tabChain.front());
    ASSERT_NE(first, nullptr);
    first->setFocus();
    scroll->ensureWidgetVisible(first);
    for (const QString& name : tabChain) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), name);
        // As much of it as the viewport can hold: all of it, or its whole height
        // across the viewport's width for the run button of a narrow screen.
        const QRect placed(focus->mapTo(scroll->viewport(), QPoint(0, 0)), focus->size());
        const QRect shown = placed & scroll->viewport()->rect();
        EXPECT_EQ(shown.size(), focus->size().boundedTo(scroll->viewport()->size())) << name.toStdString();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}
