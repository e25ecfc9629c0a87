// The flows' response times a row per flow, and a sweep's chart of one
// statistic for every flow in the flow's colour; or the servers' measures a row
// per server and per flow at a server of several, and a chart of one measure
// for every server.
#include "NetworkSeriesWindow.h"

#include "Experiment.h"
#include "Flows.h"
#include "ServerTitles.h"

#include "shell/ui/SeriesWindow.h"
#include "velmora/model/Series.h"
#include "velmora/model/Servers.h"

namespace velmora {
namespace {

class ResponsesPresentation : public shell::PointsPresentation {
public:
    ResponsesPresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return SeriesCsv(kept); })
    {
    }

    QStringList tableHeader(const shell::Comparison& comparison) const override
    {
        return header(QStringList{QStringLiteral("Поток")} + chartStatistics()
                          + QStringList{QStringLiteral("Прогонов")},
                      comparison);
    }

    shell::TableRows tableRows(const shell::Comparison& comparison) const override
    {
        shell::TableRows rows;
        for (std::size_t point = 0; point < points().size(); ++point) {
            const shell::PointSummary& summary = points()[point].summary;
            for (int flow = 1; flow <= FlowCount; ++flow) {
                std::vector<shell::TableCell> cells = row(points()[point]);
                cells.push_back(shell::TableCell::Text(FlowTitle(flow)));
                for (int statistic = 0; statistic < FlowStatisticCount; ++statistic)
                    cells.push_back(shell::TableCell::Mean(estimate(summary, flow, statistic)));
                cells.push_back(shell::TableCell::Number(summary.runs));
                if (comparison.baseline)
                    cells.push_back(comparisonCell(point, index(flow, comparison.statistic), comparison));
                rows.push_back(cells);
            }
        }
        return rows;
    }

    QStringList chartStatistics() const override
    {
        return {QStringLiteral("Среднее"), QStringLiteral("Медиана"), QStringLiteral("90-й процентиль"),
                QStringLiteral("95-й процентиль")};
    }

    QString chartTitle(int statistic) const override
    {
        static const QStringList titles{
            QStringLiteral("Среднее время отклика"), QStringLiteral("Медиана времени отклика"),
            QStringLiteral("90-й процентиль времени отклика"), QStringLiteral("95-й процентиль времени отклика")};
        return titles.value(statistic);
    }

    QString chartAxisTitle(int) const override { return QStringLiteral("Время отклика, тики"); }

    std::vector<shell::SweepLine> sweepLines(int statistic, std::optional<std::size_t> baseline) const override
    {
        std::vector<shell::SweepLine> lines;
        for (int flow = 1; flow <= FlowCount; ++flow)
            lines.push_back(line(FlowTitle(flow), FlowColor(flow), index(flow, statistic), baseline));
        return lines;
    }

private:
    static int index(int flow, int statistic) { return (flow - 1) * FlowStatisticCount + statistic; }
    static const shell::Estimate& estimate(const shell::PointSummary& summary, int flow, int statistic)
    {
        return FlowEstimate(summary, flow, static_cast<FlowStatistic>(statistic));
    }
};

// A server's row holds its seven measures; a flow's row at a server of several
// holds only the flow's mean wait, under the server's.
class ServersPresentation : public shell::PointsPresentation {
public:
    ServersPresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return ServerSeriesCsv(kept); })
    {
    }

    QStringList tableHeader(const shell::Comparison& comparison) const override
    {
        return header(QStringList{QStringLiteral("Сервер"), QStringLiteral("Поток")} + ServerStatisticTitles()
                          + QStringList{QStringLiteral("Прогонов")},
                      comparison);
    }

    shell::TableRows tableRows(const shell::Comparison& comparison) const override
    {
        const std::vector<ServerRow>& all = ServerRows();
        shell::TableRows rows;
        for (std::size_t point = 0; point < points().size(); ++point) {
            const shell::PointSummary& summary = points()[point].summary;
            for (std::size_t first = 0; first < all.size();) {
                // A row of the table gathers the statistics of one server, or of one flow at it.
                const ServerRow& head = all[first];
                std::size_t end = first;
                std::vector<shell::TableCell> cells = row(points()[point]);
                cells.push_back(shell::TableCell::Text(ServerTitle(head.server)));
                cells.push_back(shell::TableCell::Text(head.flow != 0 ? QString::number(head.flow) : QString()));
                std::vector<shell::TableCell> measures(ServerStatisticCount, shell::TableCell::Text({}));
                std::optional<int> compared;
                for (; end < all.size() && all[end].server == head.server && all[end].flow == head.flow; ++end) {
                    const int statistic = static_cast<int>(all[end].statistic);
                    measures[static_cast<std::size_t>(statistic)] = shell::TableCell::Mean(summary.estimates[end]);
                    if (statistic == comparison.statistic)
                        compared = static_cast<int>(end);
                }
                cells.insert(cells.end(), measures.begin(), measures.end());
                cells.push_back(shell::TableCell::Number(summary.runs));
                if (comparison.baseline)
                    cells.push_back(compared ? comparisonCell(point, *compared, comparison)
                                             : shell::TableCell::Text({}));
                rows.push_back(cells);
                first = end;
            }
        }
        return rows;
    }

    QStringList chartStatistics() const override { return oneLine(ServerStatisticTitles()); }

    QString chartTitle(int statistic) const override
    {
        return chartStatistics().value(statistic) + QStringLiteral(" на сервере");
    }

    // The count of tasks is the same for every setting; the load is what varies first.
    int defaultStatistic() const override { return static_cast<int>(ServerStatistic::Utilisation); }

    // A line for each server as a whole.
    std::vector<shell::SweepLine> sweepLines(int statistic, std::optional<std::size_t> baseline) const override
    {
        const std::vector<ServerRow>& all = ServerRows();
        std::vector<shell::SweepLine> lines;
        for (std::size_t row = 0; row < all.size(); ++row) {
            if (all[row].flow == 0 && static_cast<int>(all[row].statistic) == statistic)
                lines.push_back(line(ServerTitle(all[row].server), shell::LineColor(lines.size()),
                                     static_cast<int>(row), baseline));
        }
        return lines;
    }
};

class NetworkSeriesProgram : public shell::SeriesProgram {
public:
    explicit NetworkSeriesProgram(NetworkWindowView view)
        : view_(std::move(view))
    {
    }

    std::vector<shell::SweepChoice> sweepChoices() const override
    {
        std::vector<shell::SweepChoice> choices;
        for (const ShownParameter& shown : view_.shownParameters())
            choices.push_back({shown.name, ParameterKey(shown.parameter)});
        return choices;
    }

    // Only MAX's whole part counts, so a sweep of it takes whole values.
    bool wholeSweep(const std::string& key) const override
    {
        const SweepParameter parameter = parameterOf(key);
        return view_.kind(parameter.side) == DistributionKind::Uniform && parameter.parameter == 1;
    }

    std::vector<shell::MeasureChoice> measureChoices() const override
    {
        return {{QStringLiteral("время отклика"), "responses"}, {QStringLiteral("серверы"), "servers"}};
    }

    std::shared_ptr<const shell::SeriesModel> makeModel(const shell::SeriesRequest& request) const override
    {
        return std::make_shared<NetworkSeries>(view_.settings(), request.seed, request.sweep,
                                               request.measure == "servers" ? NetworkMeasure::Servers
                                                                            : NetworkMeasure::Responses);
    }

    QString parameterName(const std::string& key) const override { return view_.parameter(parameterOf(key)).name; }
    QWidget* parameterField(const std::string& key) const override { return view_.parameter(parameterOf(key)).field; }

    std::unique_ptr<shell::SeriesPresentation> present(const shell::SeriesModel& model,
                                                       std::vector<shell::SeriesPoint> points) const override
    {
        if (static_cast<const NetworkSeries&>(model).measure() == NetworkMeasure::Servers)
            return std::make_unique<ServersPresentation>(model, std::move(points));
        return std::make_unique<ResponsesPresentation>(model, std::move(points));
    }

    QJsonObject experimentSettings(const std::map<std::string, double>&) const override
    {
        return SettingsJson(view_.settings());
    }

private:
    static SweepParameter parameterOf(const std::string& key) { return ParseParameterKey(key).value(); }

    NetworkWindowView view_;
};

}  // namespace

std::unique_ptr<shell::SeriesProgram> MakeNetworkSeriesProgram(NetworkWindowView view)
{
    return std::make_unique<NetworkSeriesProgram>(std::move(view));
}

}  // namespace velmora
