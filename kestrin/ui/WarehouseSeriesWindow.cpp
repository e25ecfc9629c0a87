// L a row per point with its interval and its spread over the runs, and with
// costs the cost a day and how each point's cost compares with the cheapest;
// or each good's measures a row per good. A sweep's chart draws one statistic.
#include "WarehouseSeriesWindow.h"

#include "Experiment.h"
#include "GoodTitles.h"

#include "kestrin/model/Inputs.h"
#include "kestrin/model/Series.h"
#include "shell/ui/FieldError.h"
#include "shell/ui/NumberText.h"
#include "shell/ui/SeriesWindow.h"

#include <QLineEdit>

namespace kestrin {
namespace {

QString quantityName(WarehouseSweep varied)
{
    const QString quantity =
        varied.quantity == WarehouseSweep::Quantity::Order ? QStringLiteral("Заказ") : QStringLiteral("Порог");
    return shell::fieldName(
        quantity, varied.good == 0 ? QStringLiteral("все товары") : QStringLiteral("товар %1").arg(varied.good));
}

const QString costTitle = QStringLiteral("Затраты в день");

class LPresentation : public shell::PointsPresentation {
public:
    LPresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return SeriesCsv(kept); })
        , costs_(model.statisticCount() > CostStatistic)
    {
        if (costs_ && swept() && !this->points().empty())
            cheapest_ = shell::Cheapest(this->points(), CostStatistic);
    }

    QStringList tableHeader(const shell::Comparison& comparison) const override
    {
        QStringList titles{QStringLiteral("L"), QStringLiteral("Медиана"), QStringLiteral("95-й процентиль"),
                           QStringLiteral("Наименьшее"), QStringLiteral("Наибольшее")};
        if (costs_)
            titles << costTitle;
        if (cheapest_)
            titles << QStringLiteral("К самой\nдешёвой");
        titles << QStringLiteral("Прогонов");
        return header(titles, comparison);
    }

    shell::TableRows tableRows(const shell::Comparison& comparison) const override
    {
        shell::TableRows rows;
        for (std::size_t point = 0; point < points().size(); ++point) {
            const shell::PointSummary& summary = points()[point].summary;
            const LSummary l = PointL(summary);
            std::vector<shell::TableCell> cells = row(points()[point]);
            cells.push_back(shell::TableCell::Mean(l.mean));
            for (const double value : {l.median, l.percentile95, l.min, l.max})
                cells.push_back(shell::TableCell::Number(value, 4));
            if (costs_)
                cells.push_back(shell::TableCell::Mean(summary.estimates[CostStatistic]));
            if (cheapest_)
                cells.push_back(shell::TableCell::Text(againstCheapest(point)));
            cells.push_back(shell::TableCell::Number(summary.runs));
            if (comparison.baseline)
                cells.push_back(comparisonCell(point, comparison.statistic, comparison));
            rows.push_back(cells);
        }
        return rows;
    }

    QStringList chartStatistics() const override
    {
        if (costs_)
            return {QStringLiteral("L"), costTitle};
        return {QStringLiteral("L")};
    }

    QString chartTitle(int statistic) const override
    {
        return statistic == CostStatistic ? costTitle : QStringLiteral("Доля неудовлетворённого спроса L");
    }

    std::vector<shell::SweepLine> sweepLines(int statistic, std::optional<std::size_t> baseline) const override
    {
        return {line(chartStatistics().value(statistic), shell::LineColor(static_cast<std::size_t>(statistic)),
                     statistic, baseline)};
    }

    // Names the cheapest value and those that cannot be told from it.
    QString conclusion() const override
    {
        if (!cheapest_)
            return {};
        const QLocale locale = shell::NumberLocale();
        const auto valueText = [&](std::size_t point) { return locale.toString(*points()[point].value, 'g', 12); };
        QStringList close;
        for (std::size_t point = 0; point < points().size(); ++point) {
            if (point != *cheapest_ && !differs(point))
                close << valueText(point);
        }
        QString text = QStringLiteral("Меньше всего затрат в день — при значении %1.").arg(valueText(*cheapest_));
        if (!close.isEmpty())
            text += QStringLiteral(" Не отличить от него по затратам: %1.").arg(close.join(QStringLiteral("; ")));
        return text;
    }

private:
    bool differs(std::size_t point) const
    {
        const shell::Estimate difference = estimateAt(point, CostStatistic, cheapest_);
        return difference.low > 0 || difference.high < 0;
    }

    QString againstCheapest(std::size_t point) const
    {
        if (point == *cheapest_)
            return QStringLiteral("самая дешёвая");
        return differs(point) ? QStringLiteral("дороже") : QStringLiteral("не отличить");
    }

    bool costs_;
    std::optional<std::size_t> cheapest_;
};

// A row for each good and one for the whole warehouse; a chart's line for each too.
class GoodsPresentation : public shell::PointsPresentation {
public:
    GoodsPresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return GoodsSeriesCsv(kept); })
    {
    }

    QStringList tableHeader(const shell::Comparison& comparison) const override
    {
        return header(QStringList{QStringLiteral("Товар")} + GoodStatisticTitles()
                          + QStringList{QStringLiteral("Прогонов")},
                      comparison);
    }

    shell::TableRows tableRows(const shell::Comparison& comparison) const override
    {
        shell::TableRows rows;
        for (std::size_t point = 0; point < points().size(); ++point) {
            const shell::PointSummary& summary = points()[point].summary;
            for (int good = 1; good <= GoodsCount + 1; ++good) {
                std::vector<shell::TableCell> cells = row(points()[point]);
                cells.push_back(shell::TableCell::Text(GoodTitle(good)));
                for (int statistic = 0; statistic < GoodStatisticCount; ++statistic)
                    cells.push_back(shell::TableCell::Mean(summary.estimates[index(good, statistic)]));
                cells.push_back(shell::TableCell::Number(summary.runs));
                if (comparison.baseline)
                    cells.push_back(
                        comparisonCell(point, static_cast<int>(index(good, comparison.statistic)), comparison));
                rows.push_back(cells);
            }
        }
        return rows;
    }

    QStringList chartStatistics() const override { return oneLine(GoodStatisticTitles()); }

    // Demand does not depend on orders or thresholds; the share of it met does.
    int defaultStatistic() const override { return static_cast<int>(GoodStatistic::FillRate); }

    std::vector<shell::SweepLine> sweepLines(int statistic, std::optional<std::size_t> baseline) const override
    {
        std::vector<shell::SweepLine> lines;
        for (int good = 1; good <= GoodsCount + 1; ++good) {
            const QString name = good <= GoodsCount ? QStringLiteral("Товар %1").arg(good) : GoodTitle(good);
            lines.push_back(line(name, shell::LineColor(static_cast<std::size_t>(good - 1)),
                                 static_cast<int>(index(good, statistic)), baseline));
        }
        return lines;
    }

private:
    // Goods 1 to 10, then the warehouse as good 11, as the series orders them.
    static std::size_t index(int good, int statistic)
    {
        return static_cast<std::size_t>((good - 1) * GoodStatisticCount + statistic);
    }
};

class WarehouseSeriesProgram : public shell::SeriesProgram {
public:
    explicit WarehouseSeriesProgram(WarehouseWindowView view)
        : view_(std::move(view))
    {
    }

    // Every good's threshold and order first, then each good's.
    std::vector<shell::SweepChoice> sweepChoices() const override
    {
        using Quantity = WarehouseSweep::Quantity;
        std::vector<WarehouseSweep> sweeps{{Quantity::Threshold, 0}, {Quantity::Order, 0}};
        for (const Quantity quantity : {Quantity::Threshold, Quantity::Order}) {
            for (int good = 1; good <= GoodsCount; ++good)
                sweeps.push_back({quantity, good});
        }
        std::vector<shell::SweepChoice> choices;
        for (const WarehouseSweep& sweep : sweeps)
            choices.push_back({quantityName(sweep), QuantityKey(sweep)});
        return choices;
    }

    double readSweepBound(const std::string& key, std::string_view text) const override
    {
        return ParseQuantityKey(key).value().quantity == WarehouseSweep::Quantity::Order ? ReadOrder(text)
                                                                                         : ReadThreshold(text);
    }

    std::vector<shell::MeasureChoice> measureChoices() const override
    {
        return {{QStringLiteral("L"), "l"}, {QStringLiteral("товары"), "goods"}};
    }

    QString extrasTitle() const override { return QStringLiteral("Затраты"); }

    std::vector<shell::ExtraField> extraFields() const override
    {
        return {{QStringLiteral("Хранение места в день:"), "holding"},
                {QStringLiteral("Потеря места:"), "shortage"},
                {QStringLiteral("Поставка:"), "delivery"}};
    }

    // Costs are counted with L.
    bool usesExtras(const std::string& measure) const override { return measure == "l"; }

    double readExtra(const std::string&, std::string_view text) const override { return ReadCost(text); }

    std::shared_ptr<const shell::SeriesModel> makeModel(const shell::SeriesRequest& request) const override
    {
        if (request.measure == "goods")
            return std::make_shared<WarehouseSeries>(view_.input(), request.seed, request.sweep,
                                                     WarehouseMeasure::Goods);
        return std::make_shared<WarehouseSeries>(view_.input(), request.seed, request.sweep, WarehouseMeasure::L,
                                                 CostsOf(request.extras));
    }

    QString parameterName(const std::string& key) const override { return quantityName(ParseQuantityKey(key).value()); }

    QWidget* parameterField(const std::string& key) const override
    {
        const WarehouseSweep varied = ParseQuantityKey(key).value();
        if (varied.good == 0)
            return nullptr;
        const auto& fields = varied.quantity == WarehouseSweep::Quantity::Order ? view_.orders : view_.thresholds;
        return fields[static_cast<std::size_t>(varied.good - 1)];
    }

    std::unique_ptr<shell::SeriesPresentation> present(const shell::SeriesModel& model,
                                                       std::vector<shell::SeriesPoint> points) const override
    {
        if (static_cast<const WarehouseSeries&>(model).measure() == WarehouseMeasure::Goods)
            return std::make_unique<GoodsPresentation>(model, std::move(points));
        return std::make_unique<LPresentation>(model, std::move(points));
    }

    QJsonObject experimentSettings(const std::map<std::string, double>& extras) const override
    {
        return SettingsJson({view_.input(), CostsOf(extras)});
    }

private:
    WarehouseWindowView view_;
};

}  // namespace

Costs CostsOf(const std::map<std::string, double>& extras)
{
    return {extras.at("holding"), extras.at("shortage"), extras.at("delivery")};
}

std::map<std::string, double> CostExtras(const Costs& costs)
{
    return {{"holding", costs.holding}, {"shortage", costs.shortage}, {"delivery", costs.delivery}};
}

std::unique_ptr<shell::SeriesProgram> MakeWarehouseSeriesProgram(WarehouseWindowView view)
{
    return std::make_unique<WarehouseSeriesProgram>(std::move(view));
}

}  // namespace kestrin
