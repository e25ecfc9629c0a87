// The context menu of a Qt Charts view: its picture copied to the clipboard or
// saved as PNG or SVG, then whatever its owner adds.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QChartView;
class QMenu;

namespace shell {

// The menu opens on a right click, the Menu key or Shift+F10 (which X11 makes
// no context menu event of), once at a time and without blocking. Whoever
// shows it, its actions are enabled only while `available` says the view shows
// something worth taking away. A window's own menu or buttons can offer the
// same actions.
class ChartMenu : public QObject {
public:
    ChartMenu(QChartView* view, std::function<bool()> available);

    // Adds an action after the ones before it; its handler runs behind guarded().
    QAction* appendAction(const QString& text, std::function<void()> handler);

    QMenu* menu() const { return menu_; }
    QList<QAction*> actions() const;
    void updateActions() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(QPoint globalPosition);

    QChartView* view_;
    std::function<bool()> available_;
    QMenu* menu_;
};

}  // namespace shell
