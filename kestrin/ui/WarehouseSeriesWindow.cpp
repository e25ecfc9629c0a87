// A point's row shows L with its interval and the spread of L over the runs; a
// sweep's chart draws L's mean.
#include "WarehouseSeriesWindow.h"

#include "kestrin/model/Inputs.h"
#include "kestrin/model/Series.h"
#include "shell/ui/FieldError.h"
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

class WarehousePresentation : public shell::PointsPresentation {
public:
    WarehousePresentation(const shell::SeriesModel& model, std::vector<shell::SeriesPoint> points)
        : PointsPresentation(model, std::move(points),
                             [](std::span<const shell::SeriesPoint> kept) { return SeriesCsv(kept); })
    {
    }

    QStringList tableHeader() const override
    {
        return header({QStringLiteral("L"), QStringLiteral("Медиана"), QStringLiteral("95-й процентиль"),
                       QStringLiteral("Наименьшее"), QStringLiteral("Наибольшее"), QStringLiteral("Прогонов")});
    }

    shell::TableRows tableRows() const override
    {
        shell::TableRows rows;
        for (const shell::SeriesPoint& point : points()) {
            const LSummary l = PointL(point.summary);
            std::vector<shell::TableCell> cells = row(point);
            cells.push_back(shell::TableCell::Mean(l.mean));
            for (const double value : {l.median, l.percentile95, l.min, l.max})
                cells.push_back(shell::TableCell::Number(value, 4));
            cells.push_back(shell::TableCell::Number(point.summary.runs));
            rows.push_back(cells);
        }
        return rows;
    }

    std::vector<shell::SweepLine> sweepLines(int) const override
    {
        shell::SweepLine line{QStringLiteral("L"), QColor(0x00, 0x40, 0xA0), {}, {}};
        for (const shell::SeriesPoint& point : points()) {
            line.values.push_back(*point.value);
            line.estimates.push_back(point.summary.estimates[0]);
        }
        return {line};
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

    QStringList chartStatistics() const override { return {QStringLiteral("L")}; }
    QString chartTitle(int) const override
    {
        return QStringLiteral("Доля неудовлетворённого спроса L, среднее по прогонам");
    }
    QString chartAxisTitle() const override { return QStringLiteral("L"); }

    std::shared_ptr<const shell::SeriesModel> makeModel(std::uint64_t seed,
                                                        std::optional<shell::Sweep> sweep) const override
    {
        return std::make_shared<WarehouseSeries>(view_.input(), seed, std::move(sweep));
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
        return std::make_unique<WarehousePresentation>(model, std::move(points));
    }

private:
    WarehouseWindowView view_;
};

}  // namespace

std::unique_ptr<shell::SeriesProgram> MakeWarehouseSeriesProgram(WarehouseWindowView view)
{
    return std::make_unique<WarehouseSeriesProgram>(std::move(view));
}

}  // namespace kestrin
