// The menu is the view's child, so it goes with the view; a request while it
// is open is dropped rather than opening a second one.
#include "ChartMenu.h"

#include "Application.h"
#include "ChartImage.h"

#include <QAction>
#include <QChartView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace shell {

ChartMenu::ChartMenu(QChartView* view, std::function<bool()> available)
    : QObject(view)
    , view_(view)
    , available_(std::move(available))
    , menu_(new QMenu(view))
{
    appendAction(QStringLiteral("Копировать изображение"), [this] { copyChartImage(view_); });
    appendAction(QStringLiteral("Сохранить изображение…"), [this] { saveChartImage(view_); });
    connectGuarded(menu_, &QMenu::aboutToShow, this, [this] { updateActions(); });
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
}

QAction* ChartMenu::appendAction(const QString& text, std::function<void()> handler)
{
    QAction* action = menu_->addAction(text);
    connectGuarded(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

QList<QAction*> ChartMenu::actions() const
{
    return menu_->actions();
}

void ChartMenu::updateActions() const
{
    const bool available = available_();
    for (QAction* action : menu_->actions())
        action->setEnabled(available);
}

bool ChartMenu::eventFilter(QObject* watched, QEvent* event)
{
    const auto middle = [this] { return view_->mapToGlobal(view_->rect().center()); };
    if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        open(request->reason() == QContextMenuEvent::Mouse ? request->globalPos() : middle());
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == view_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            open(middle());
            return true;
        }
    }
    return false;
}

void ChartMenu::open(QPoint globalPosition)
{
    if (!menu_->isVisible())
        menu_->popup(globalPosition);
}

}  // namespace shell
