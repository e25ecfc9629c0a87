// The steps are tried from finer to coarser; a tolerance keeps quotients that
// land just beside a whole number from adding an interval.
#include "AxisScale.h"

#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace shell {
namespace {

// Tolerance for quotients such as 0.3 / 0.1 that land just beside a whole number.
constexpr double slack = 1e-9;

int intervals(double low, double high, double step)
{
    return static_cast<int>(std::ceil(high / step - slack) - std::floor(low / step + slack));
}

}  // namespace

AxisScale NiceScale(double low, double high, int minIntervals, int maxIntervals, double minStep)
{
    if (!(high > low))
        high = low + std::max(minStep, 1.0);
    // Steps ascend 1, 2, 5, 10, 20, ... times a power of ten, from one fine
    // enough to give more than maxIntervals intervals.
    const int firstExponent = static_cast<int>(std::floor(std::log10((high - low) / maxIntervals))) - 1;
    const auto candidate = [firstExponent](int n) {
        constexpr double mantissas[] = {1.0, 2.0, 5.0};
        return mantissas[n % 3] * std::pow(10.0, firstExponent + n / 3);
    };
    int n = 0;
    while (candidate(n) < minStep)
        ++n;
    // Of the steps that give an allowed number of intervals, the one whose axis
    // hugs the data most closely wins; on a tie, the coarser. Without any, the
    // finest step that gives no more than maxIntervals.
    double best = 0;
    double bestSpan = std::numeric_limits<double>::infinity();
    double finest = 0;
    for (;; ++n) {
        const int count = intervals(low, high, candidate(n));
        if (count <= maxIntervals && finest == 0)
            finest = candidate(n);
        if (count < minIntervals)
            break;
        if (count <= maxIntervals && count * candidate(n) <= bestSpan * (1 + slack)) {
            best = candidate(n);
            bestSpan = count * best;
        }
    }
    const double step = best > 0 ? best : finest;
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + slack)));
    return {std::floor(low / step + slack) * step, std::ceil(high / step - slack) * step, step, decimals};
}

// Each setter lays the axis' labels out again, the label format even when it
// is unchanged: a press whose scale stays as it was costs no layout.
void applyScale(QValueAxis* axis, const AxisScale& scale)
{
    const QString format = QStringLiteral("%.%1f").arg(scale.decimals);
    if (axis->labelFormat() != format)
        axis->setLabelFormat(format);
    const int ticks = static_cast<int>(std::lround((scale.max - scale.min) / scale.step)) + 1;
    if (axis->tickCount() != ticks)
        axis->setTickCount(ticks);
    axis->setRange(scale.min, scale.max);
}

}  // namespace shell
