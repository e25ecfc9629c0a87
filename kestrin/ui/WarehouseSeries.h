// A series of warehouse runs on worker threads, as the command line and the
// series window both run it.
#pragma once

#include "kestrin/model/Series.h"

#include "shell/SeriesWindow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class QWidget;

namespace kestrin {

class TForm1;

// One quantity varied over `points` evenly spaced values from `from` to `to`;
// `name` is how messages name it, and `field` where the user corrects it.
struct SweepRequest {
    WarehouseSweep varied;
    double from;
    double to;
    int points;
    std::string name;
    QWidget* field = nullptr;
};

struct SeriesRequest {
    TWarehouseInput input;
    int runs;
    std::uint64_t seed;
    std::optional<SweepRequest> sweep;
};

class WarehouseSeries : public shell::SweptSeries<double, LSummary, std::monostate> {
public:
    explicit WarehouseSeries(SeriesRequest request);

    // Throws the first run's failure, if any; in a sweep its message names the
    // value it failed at.
    void rethrowFailure() const override;
    // The points whose runs all finished, in sweep order.
    std::vector<SeriesPoint> points() const;

    QStringList tableHeader() const override;
    std::vector<QStringList> tableRows(const QLocale& locale) const override;
    std::vector<shell::SweepLine> sweepLines(int statistic) const override;
    std::string csv() const override { return SeriesCsv(points(), runs()); }

private:
    TWarehouseInput inputAt(int point) const;

    SeriesRequest request_;
};

// What a sweep can vary, in the order the series window offers it.
std::vector<std::pair<QString, WarehouseSweep>> SweepChoices();

// The series window's view of kestrin: the main window's fields.
class WarehouseSeriesProgram : public shell::SeriesProgram {
public:
    explicit WarehouseSeriesProgram(const TForm1& form)
        : form_(form)
    {
    }
    QStringList sweepChoices() const override;
    QStringList chartStatistics() const override { return {QStringLiteral("L")}; }
    QString chartTitle(int) const override
    {
        return QStringLiteral("Доля неудовлетворённого спроса L, среднее по прогонам");
    }
    QString chartAxisTitle() const override { return QStringLiteral("L"); }
    std::unique_ptr<shell::SeriesJob> makeJob(int runs, std::uint64_t seed,
                                              const std::optional<shell::SweepInput>& sweep) const override;

private:
    const TForm1& form_;
};

}  // namespace kestrin
