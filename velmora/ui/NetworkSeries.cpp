// A failure is named after the point it happened at: in a sweep, the varied
// parameter's name carries the value that failed.
#include "NetworkSeries.h"

#include "Flows.h"
#include "Unit1.h"

#include "shell/Controls.h"
#include "shell/Convert.h"

#include <QLineEdit>
#include <QLocale>

namespace velmora {
namespace {

const QStringList statisticTitles{QStringLiteral("Среднее"), QStringLiteral("Медиана"),
                                  QStringLiteral("90-й процентиль"), QStringLiteral("95-й процентиль")};

}  // namespace

NetworkSeries::NetworkSeries(SeriesRequest request, ParameterNames names)
    : SweptSeries(
        request.sweep ? shell::SweepValues(request.sweep->from, request.sweep->to, request.sweep->points)
                      : std::vector<double>{},
        request.runs,
        [this](int point, int run, TRunWorkspace& workspace) {
            return RunOfSeries(draws_[static_cast<std::size_t>(point)], request_.seed, static_cast<std::uint64_t>(run),
                               workspace);
        },
        [](int, std::span<const RunStatistics> runs) { return EstimatePoint(runs); })
    , request_(std::move(request))
    , names_(std::move(names))
{
    for (int point = 0; point < pointCount(); ++point) {
        try {
            draws_.push_back(CheckedDraws(settingsAt(point)));
        } catch (...) {
            rethrowNamed(point, std::current_exception());
        }
    }
}

SeriesSettings NetworkSeries::settingsAt(int point) const
{
    if (!request_.sweep)
        return request_.settings;
    return WithParameter(request_.settings, request_.sweep->parameter, valueAt(point));
}

void NetworkSeries::rethrowFailure() const
{
    if (const auto failure = this->failure())
        rethrowNamed(failure->point, failure->error);
}

void NetworkSeries::rethrowNamed(int point, const std::exception_ptr& error) const
{
    const auto named = [this, point](Side side, int parameter) {
        ParameterName name = names_(side, parameter);
        const std::optional<SweepRequest>& sweep = request_.sweep;
        if (sweep && sweep->parameter.side == side && sweep->parameter.parameter == parameter)
            name.name += " = " + shell::FloatToStr(valueAt(point), ".");
        return name;
    };
    try {
        std::rethrow_exception(error);
    } catch (const TimeRangeError& failure) {
        const SeriesSettings settings = settingsAt(point);
        const std::string message =
            TimeRangeMessage(failure, settings.arrival.kind, settings.processing.kind,
                             [&named](Side side, int parameter) { return named(side, parameter).name; });
        throw shell::FieldError(message, named(failure.arrival() ? Side::Arrival : Side::Processing, 1).field);
    } catch (const SettingError& failure) {
        const ParameterName name = named(failure.side(), failure.parameter());
        throw shell::FieldError(QString::fromStdString(name.name), failure.message(), name.field);
    }
}

std::vector<SeriesPoint> NetworkSeries::points() const
{
    return keptPoints<SeriesPoint>();
}

QStringList NetworkSeries::tableHeader() const
{
    QStringList header;
    if (request_.sweep)
        header << QStringLiteral("Значение");
    return header << QStringLiteral("Поток") << statisticTitles;
}

std::vector<QStringList> NetworkSeries::tableRows(const QLocale& locale) const
{
    std::vector<QStringList> rows;
    for (const SeriesPoint& point : points()) {
        for (int flow = 0; flow < FlowCount; ++flow) {
            QStringList row;
            if (point.value)
                row << shell::ValueText(locale, *point.value);
            row << FlowTitle(flow + 1);
            for (const shell::Estimate& estimate : point.estimates[static_cast<std::size_t>(flow)])
                row << shell::EstimateText(locale, estimate);
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<shell::SweepLine> NetworkSeries::sweepLines(int statistic) const
{
    if (!request_.sweep)
        return {};
    std::vector<shell::SweepLine> lines;
    for (int flow = 0; flow < FlowCount; ++flow) {
        shell::SweepLine line{FlowTitle(flow + 1), FlowColor(flow + 1), {}, {}};
        for (const SeriesPoint& point : points()) {
            line.values.push_back(*point.value);
            line.estimates.push_back(
                point.estimates[static_cast<std::size_t>(flow)][static_cast<std::size_t>(statistic)]);
        }
        lines.push_back(line);
    }
    return lines;
}

QStringList NetworkSeriesProgram::sweepChoices() const
{
    QStringList choices;
    for (const ShownParameter& shown : form_.shownParameters())
        choices << shown.name;
    return choices;
}

QStringList NetworkSeriesProgram::chartStatistics() const
{
    return statisticTitles;
}

QString NetworkSeriesProgram::chartTitle(int statistic) const
{
    static const QStringList titles{QStringLiteral("Среднее время отклика"), QStringLiteral("Медиана времени отклика"),
                                    QStringLiteral("90-й процентиль времени отклика"),
                                    QStringLiteral("95-й процентиль времени отклика")};
    return titles.value(statistic) + QStringLiteral(", среднее по прогонам");
}

std::unique_ptr<shell::SeriesJob> NetworkSeriesProgram::makeJob(int runs, std::uint64_t seed,
                                                                const std::optional<shell::SweepInput>& sweep) const
{
    SeriesRequest request{form_.readSeriesSettings(), runs, seed, std::nullopt};
    if (sweep) {
        const ShownParameter varied = form_.shownParameters().at(static_cast<std::size_t>(sweep->choice));
        request.sweep = SweepRequest{varied.parameter, sweep->from, sweep->to, sweep->points};
    }
    std::optional<SweepParameter> varied;
    if (request.sweep)
        varied = request.sweep->parameter;
    QWidget* rangeField = sweep ? sweep->fromField : nullptr;
    const auto names = [this, varied, rangeField](Side side, int parameter) {
        const ShownParameter shown = form_.shownParameter(side, parameter);
        // A swept value comes from the range, so that is where to correct it.
        const bool swept = varied && varied->side == side && varied->parameter == parameter;
        return ParameterName{shown.name.toStdString(), swept ? rangeField : shown.field};
    };
    return std::make_unique<NetworkSeries>(request, names);
}

}  // namespace velmora
