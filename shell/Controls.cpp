// Label sizing, anchoring, placing on the screen and field names shared by both windows.
#include "Controls.h"

#include "Convert.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace shell {

void fitLabel(QLabel* label, int minimumHeight)
{
    if (label->wordWrap())
        label->resize(label->width(), std::max(minimumHeight, label->heightForWidth(label->width())));
    else
        label->resize(label->sizeHint().expandedTo(QSize(0, minimumHeight)));
}

Anchors::Anchors(QWidget* area)
    : QObject(area)
    , area_(area)
    , designed_(area->size())
{
    area->setMinimumSize(designed_);
    area->installEventFilter(this);
}

void Anchors::add(QWidget* control, Qt::Edges edges)
{
    anchors_.push_back({control, edges, control->geometry()});
}

void Anchors::apply() const
{
    const int dx = area_->width() - designed_.width();
    const int dy = area_->height() - designed_.height();
    for (const Anchor& anchor : anchors_) {
        // Only the anchored coordinates follow the area; a label that fitted
        // its height to a caption keeps that height.
        QRect geometry = anchor.control->geometry();
        if (anchor.edges.testFlag(Qt::RightEdge)) {
            if (anchor.edges.testFlag(Qt::LeftEdge))
                geometry.setWidth(anchor.designed.width() + dx);
            else
                geometry.moveLeft(anchor.designed.left() + dx);
        }
        if (anchor.edges.testFlag(Qt::BottomEdge)) {
            if (anchor.edges.testFlag(Qt::TopEdge))
                geometry.setHeight(anchor.designed.height() + dy);
            else
                geometry.moveTop(anchor.designed.top() + dy);
        }
        anchor.control->setGeometry(geometry);
    }
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        apply();
    return false;
}

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

QString NumberWithNoun(const QLocale& locale, std::int64_t n, const char* one, const char* few, const char* many)
{
    return locale.toString(n) + QLatin1Char(' ') + QString::fromUtf8(PluralForm(n, one, few, many));
}

void placeMainWindow(QMainWindow* window, const QWidget* designedArea, QPoint position, bool fixedSize)
{
    window->menuBar()->ensurePolished();
    window->resize(designedArea->size() + QSize(0, window->menuBar()->sizeHint().height()));
    if (!fixedSize)
        window->setMinimumSize(window->size());
    fitToScreen(window, position, fixedSize);
}

void bringToFront(QWidget* window, const QWidget* owner)
{
    if (!window->isVisible() && !window->testAttribute(Qt::WA_WState_ExplicitShowHide))
        fitToScreen(window, owner->frameGeometry().topLeft() + QPoint(40, 40), false);
    window->show();
    window->raise();
    window->activateWindow();
}

QString fieldName(const QString& group, const QString& caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return group.isEmpty() ? name : group + QStringLiteral(", ") + name;
}

FieldError::FieldError(std::string message, QWidget* field)
    : Exception(std::move(message))
    , field_(field)
{
}

FieldError::FieldError(const QString& name, const std::string& message, QWidget* field)
    : FieldError(name.toStdString() + ": " + message, field)
{
}

void focusField(const std::exception& error)
{
    const auto* fieldError = dynamic_cast<const FieldError*>(&error);
    QWidget* field = fieldError ? fieldError->field() : nullptr;
    if (field == nullptr || !field->isVisible())
        return;
    // The field may be in another window than the one that reported it.
    if (QGuiApplication::focusWindow() != field->window()->windowHandle()) {
        field->window()->raise();
        field->window()->activateWindow();
    }
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

}  // namespace shell
