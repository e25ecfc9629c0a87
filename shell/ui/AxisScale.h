// Round axis scales for Qt Charts: ticks on values that are 1, 2 or 5 times a
// power of ten, covering the data closely.
#pragma once

class QValueAxis;

namespace shell {

// An axis from min to max with a tick every step: round values (1, 2 or 5 times a
// power of ten) written with `decimals` digits after the point.
struct AxisScale {
    double min;
    double max;
    double step;
    int decimals;
};

// Round ticks for [low, high]: of the steps not below minStep that cut the
// range into minIntervals to maxIntervals intervals, the one whose axis (from the
// last tick at or below low to the first at or above high) is shortest, the
// coarser on a tie. When no allowed step gives that many intervals, the finest
// that gives at most maxIntervals is taken. An empty range is widened to one unit.
AxisScale NiceScale(double low, double high, int minIntervals, int maxIntervals, double minStep);

// Gives the axis the scale's range, ticks and label format.
void applyScale(QValueAxis* axis, const AxisScale& scale);

}  // namespace shell
