// The picture of a Qt Charts view as the user takes it away: copied to the
// clipboard, or saved as PNG or SVG.
#pragma once

class QChartView;

namespace shell {

// The view's picture, as it shows now, to the clipboard.
void copyChartImage(QChartView* view);

// Asks where to save the view's picture and saves it there: as PNG, pixel for
// pixel what the view shows, or as SVG, drawn again as shapes and text that
// any size keeps sharp, titled as the chart is.
void saveChartImage(QChartView* view);

}  // namespace shell
