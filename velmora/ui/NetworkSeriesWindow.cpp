// A flow's row shows its four statistics; a sweep's chart draws one of them for
// every flow in the flow's colour.
#include "NetworkSeriesWindow.h"

#include "Flows.h"

#include "shell/ui/SeriesWindow.h"
#include "velmora/model/Series.h"

namespace velmora {
namespace {

const QStringList statisticTitles{QStringLiteral("Среднее"), QStringLiteral("Медиана"),
                                  QStringLiteral("90-й процентиль"), QStringLiteral("95-й процентиль")};

class NetworkPresentation : public shell::PointsPresentation {
public:
    NetworkPresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return SeriesCsv(kept); })
    {
    }

    QStringList tableHeader() const override
    {
        return header(QStringList{QStringLiteral("Поток")} + statisticTitles + QStringList{QStringLiteral("Прогонов")});
    }

    shell::TableRows tableRows() const override
    {
        shell::TableRows rows;
        for (const shell::SeriesPoint& point : points()) {
            for (int flow = 1; flow <= FlowCount; ++flow) {
                std::vector<shell::TableCell> cells = row(point);
                cells.push_back(shell::TableCell::Text(FlowTitle(flow)));
                for (int statistic = 0; statistic < FlowStatisticCount; ++statistic)
                    cells.push_back(shell::TableCell::Mean(
                        FlowEstimate(point.summary, flow, static_cast<FlowStatistic>(statistic))));
                cells.push_back(shell::TableCell::Number(point.summary.runs));
                rows.push_back(cells);
            }
        }
        return rows;
    }

    std::vector<shell::SweepLine> sweepLines(int statistic) const override
    {
        std::vector<shell::SweepLine> lines;
        for (int flow = 1; flow <= FlowCount; ++flow) {
            shell::SweepLine line{FlowTitle(flow), FlowColor(flow), {}, {}};
            for (const shell::SeriesPoint& point : points()) {
                line.values.push_back(*point.value);
                line.estimates.push_back(FlowEstimate(point.summary, flow, static_cast<FlowStatistic>(statistic)));
            }
            lines.push_back(line);
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

    QStringList chartStatistics() const override { return statisticTitles; }

    QString chartTitle(int statistic) const override
    {
        static const QStringList titles{
            QStringLiteral("Среднее время отклика"), QStringLiteral("Медиана времени отклика"),
            QStringLiteral("90-й процентиль времени отклика"), QStringLiteral("95-й процентиль времени отклика")};
        return titles.value(statistic) + QStringLiteral(", среднее по прогонам");
    }

    QString chartAxisTitle() const override { return QStringLiteral("Время отклика, тики"); }

    std::shared_ptr<const shell::SeriesModel> makeModel(std::uint64_t seed,
                                                        std::optional<shell::Sweep> sweep) const override
    {
        return std::make_shared<NetworkSeries>(view_.settings(), seed, std::move(sweep));
    }

    QString parameterName(const std::string& key) const override { return view_.parameter(parameterOf(key)).name; }
    QWidget* parameterField(const std::string& key) const override { return view_.parameter(parameterOf(key)).field; }

    std::unique_ptr<shell::SeriesPresentation> present(const shell::SeriesModel& model,
                                                       std::vector<shell::SeriesPoint> points) const override
    {
        return std::make_unique<NetworkPresentation>(model, std::move(points));
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
