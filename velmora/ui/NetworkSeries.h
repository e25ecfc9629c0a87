// A series of runs of the queueing network on worker threads, as the command
// line and the series window both run it: every point's settings checked before
// anything runs, failures turned into messages that name what to change.
#pragma once

#include "velmora/model/Series.h"

#include "shell/SeriesWindow.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class TForm1;

// One parameter varied over `points` evenly spaced values from `from` to `to`.
struct SweepRequest {
    SweepParameter parameter;
    double from;
    double to;
    int points;
};

struct SeriesRequest {
    SeriesSettings settings;
    int runs;
    std::uint64_t seed;
    std::optional<SweepRequest> sweep;
};

// How a front end names a parameter in its messages, and the field, if any,
// that the user corrects it in.
struct ParameterName {
    std::string name;
    QWidget* field = nullptr;
};
using ParameterNames = std::function<ParameterName(Side side, int parameter)>;

class NetworkSeries : public shell::SweptSeries<RunStatistics, PointEstimates, TRunWorkspace> {
public:
    // Throws shell::FieldError, naming the parameter, when a point's settings
    // cannot be drawn from.
    NetworkSeries(SeriesRequest request, ParameterNames names);

    // Throws the first run's failure, if any, as a message that names what to change.
    void rethrowFailure() const override;
    // The points whose runs all finished, in sweep order.
    std::vector<SeriesPoint> points() const;

    QStringList tableHeader() const override;
    std::vector<QStringList> tableRows(const QLocale& locale) const override;
    std::vector<shell::SweepLine> sweepLines(int statistic) const override;
    std::string csv() const override { return SeriesCsv(points(), runs()); }

private:
    SeriesSettings settingsAt(int point) const;
    [[noreturn]] void rethrowNamed(int point, const std::exception_ptr& error) const;

    SeriesRequest request_;
    ParameterNames names_;
    std::vector<SeriesDraws> draws_;
};

// The series window's view of velmora: the main window's settings, and the
// parameters it shows to vary.
class NetworkSeriesProgram : public shell::SeriesProgram {
public:
    explicit NetworkSeriesProgram(const TForm1& form)
        : form_(form)
    {
    }
    QStringList sweepChoices() const override;
    QStringList chartStatistics() const override;
    QString chartTitle(int statistic) const override;
    QString chartAxisTitle() const override { return QStringLiteral("Время отклика, тики"); }
    std::unique_ptr<shell::SeriesJob> makeJob(int runs, std::uint64_t seed,
                                              const std::optional<shell::SweepInput>& sweep) const override;

private:
    const TForm1& form_;
};

}  // namespace velmora
