// Qt Charts hides a series' legend entry whenever it hides the series: the
// entry is shown again at once, and a follower's put back out of sight. What
// an entry needs is kept in an object the entry owns, so it goes with it.
#include "LegendToggle.h"

#include "Application.h"

#include <QAbstractSeries>
#include <QBrush>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPen>
#include <QPointer>

namespace shell {
namespace {

// How faint a hidden series' entry is drawn.
constexpr float hiddenOpacity = 0.3F;

QColor faded(QColor color)
{
    color.setAlphaF(color.alphaF() * hiddenOpacity);
    return color;
}

QList<QLegendMarker*> markersOf(QAbstractSeries* series)
{
    return series->chart() != nullptr ? series->chart()->legend()->markers(series) : QList<QLegendMarker*>();
}

class LegendEntry : public QObject {
public:
    LegendEntry(QLegendMarker* marker, const QList<QAbstractSeries*>& followers)
        : QObject(marker)
        , marker_(marker)
        , brush_(marker->brush())
        , pen_(marker->pen())
        , label_(marker->labelBrush())
    {
        for (QAbstractSeries* follower : followers)
            followers_.append(follower);
    }

    void show(bool shown)
    {
        marker_->series()->setVisible(shown);
        for (QAbstractSeries* follower : followers_) {
            if (follower == nullptr)
                continue;
            follower->setVisible(shown);
            for (QLegendMarker* marker : markersOf(follower))
                marker->setVisible(false);
        }
        marker_->setVisible(true);
        QBrush brush = brush_;
        QPen pen = pen_;
        QBrush label = label_;
        if (!shown) {
            brush.setColor(faded(brush.color()));
            pen.setColor(faded(pen.color()));
            label.setColor(faded(label.color()));
        }
        marker_->setBrush(brush);
        marker_->setPen(pen);
        marker_->setLabelBrush(label);
    }

private:
    QLegendMarker* marker_;
    QList<QPointer<QAbstractSeries>> followers_;
    QBrush brush_;
    QPen pen_;
    QBrush label_;
};

}  // namespace

void toggleFromLegend(QAbstractSeries* series, const QList<QAbstractSeries*>& followers,
                      std::function<void(bool shown)> toggled)
{
    for (QLegendMarker* marker : markersOf(series)) {
        auto* entry = new LegendEntry(marker, followers);
        connectGuarded(marker, &QLegendMarker::clicked, entry, [entry, series, toggled] {
            const bool shown = !series->isVisible();
            entry->show(shown);
            if (toggled)
                toggled(shown);
        });
    }
}

void showSeries(QAbstractSeries* series, bool shown)
{
    for (QLegendMarker* marker : markersOf(series)) {
        for (QObject* child : marker->children()) {
            if (auto* entry = dynamic_cast<LegendEntry*>(child))
                entry->show(shown);
        }
    }
}

}  // namespace shell
