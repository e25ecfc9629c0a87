// Placing windows within the available area of their screen.
#include "Screen.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace shell {

void fitToScreen(QWidget* window, QPoint position, bool fixedSize)
{
    const QScreen* screen = QGuiApplication::screenAt(position);
    if (screen == nullptr)
        screen = window->screen();
    const QRect available = screen->availableGeometry();
    // Before the window manager has framed the window its frame is unknown;
    // a title bar and thin borders are assumed until then.
    QMargins frame = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    if (frame.isNull())
        frame = QMargins(4, 23, 4, 4);
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = window->size().boundedTo(room);
    if (fixedSize)
        window->setFixedSize(size);
    else
        window->setMinimumSize(window->minimumSize().boundedTo(room));
    window->resize(size);
    const QSize outer = size.grownBy(frame);
    const int x = std::clamp(position.x(), available.left(), available.left() + available.width() - outer.width());
    const int y = std::clamp(position.y(), available.top(), available.top() + available.height() - outer.height());
    window->move(x, y);
}

void placeMainWindow(QMainWindow* window, const QWidget* designedArea, QPoint position, bool fixedSize)
{
    window->menuBar()->ensurePolished();
    window->resize(designedArea->size() + QSize(0, window->menuBar()->sizeHint().height()));
    if (!fixedSize)
        window->setMinimumSize(window->size());
    fitToScreen(window, position, fixedSize);
}

void bringToFront(QWidget* window, const QWidget* owner, Placement placement)
{
    const QRect frame = owner->frameGeometry();
    const QPoint position =
        placement == Placement::BesideOwner ? frame.topRight() + QPoint(1, 0) : frame.topLeft() + QPoint(40, 40);
    if (!window->isVisible() && !window->testAttribute(Qt::WA_WState_ExplicitShowHide))
        fitToScreen(window, position, false);
    // A minimised window comes back as it was before, maximised or not.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace shell
