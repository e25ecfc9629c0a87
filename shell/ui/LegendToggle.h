// Legend entries that show and hide their series, so that a reader can take
// out a line that covers others.
#pragma once

#include <QList>

#include <functional>

class QAbstractSeries;

namespace shell {

// Makes a click on the legend entry of `series`, which must be in a chart
// already, hide the series and `followers` with it (a line's band, say), and
// the next click show them again; `toggled` then hears whether they are
// shown. The entry stays, dimmed while its series is hidden; the followers
// never get entries of their own. It lasts as long as the series' entry.
void toggleFromLegend(QAbstractSeries* series, const QList<QAbstractSeries*>& followers,
                      std::function<void(bool shown)> toggled);

// Shows or hides a series made toggleable by toggleFromLegend, with its
// followers and entry, as a click on its entry does, without telling `toggled`.
void showSeries(QAbstractSeries* series, bool shown);

}  // namespace shell
