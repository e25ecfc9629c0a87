// The chart of a sweep: for each line, a statistic's mean against the varied
// value, with its 95 % interval as a translucent band around it.
#pragma once

#include "SweepLine.h"

#include <QChartView>

#include <vector>

namespace shell {

class SweepChart : public QChartView {
    Q_OBJECT

public:
    explicit SweepChart(QWidget* parent = nullptr);

    void showLines(const QString& title, const QString& xTitle, const QString& yTitle,
                   const std::vector<SweepLine>& lines);
    const std::vector<SweepLine>& lines() const { return lines_; }

private:
    QString describe() const;

    std::vector<SweepLine> lines_;
};

}  // namespace shell
