// Each point's input is made once per run from the request, which never changes
// while the series runs.
#include "WarehouseSeries.h"

#include "Inputs.h"
#include "Kestrin.h"

#include "shell/Controls.h"
#include "shell/Convert.h"
#include "shell/Exception.h"

#include <QLineEdit>
#include <QLocale>

namespace kestrin {

WarehouseSeries::WarehouseSeries(SeriesRequest request)
    : SweptSeries(
        request.sweep ? shell::SweepValues(request.sweep->from, request.sweep->to, request.sweep->points)
                      : std::vector<double>{},
        request.runs,
        [this](int point, int run, std::monostate&) {
            return RunOfSeries(inputAt(point), request_.seed, static_cast<std::uint64_t>(run));
        },
        [](int, std::span<const double> runs) { return SummarizeL(runs); })
    , request_(std::move(request))
{
}

TWarehouseInput WarehouseSeries::inputAt(int point) const
{
    if (!request_.sweep)
        return request_.input;
    return WithQuantity(request_.input, request_.sweep->varied, valueAt(point));
}

void WarehouseSeries::rethrowFailure() const
{
    const auto failure = this->failure();
    if (!failure)
        return;
    if (!request_.sweep)
        std::rethrow_exception(failure->error);
    try {
        std::rethrow_exception(failure->error);
    } catch (const shell::Exception& error) {
        throw shell::FieldError(request_.sweep->name + " = " + shell::FloatToStr(valueAt(failure->point), ".") + ": "
                                    + error.message(),
                                request_.sweep->field);
    }
}

std::vector<SeriesPoint> WarehouseSeries::points() const
{
    return keptPoints<SeriesPoint>();
}

QStringList WarehouseSeries::tableHeader() const
{
    QStringList header;
    if (request_.sweep)
        header << QStringLiteral("Значение");
    return header << QStringLiteral("L, среднее [95 % интервал]") << QStringLiteral("Медиана")
                  << QStringLiteral("95-й процентиль") << QStringLiteral("Наименьшее") << QStringLiteral("Наибольшее");
}

std::vector<QStringList> WarehouseSeries::tableRows(const QLocale& locale) const
{
    std::vector<QStringList> rows;
    for (const SeriesPoint& point : points()) {
        QStringList row;
        if (point.value)
            row << shell::ValueText(locale, *point.value);
        row << shell::EstimateText(locale, point.l.mean);
        for (const double value : {point.l.median, point.l.percentile95, point.l.min, point.l.max})
            row << locale.toString(value, 'g', 4);
        rows.push_back(row);
    }
    return rows;
}

std::vector<shell::SweepLine> WarehouseSeries::sweepLines(int) const
{
    if (!request_.sweep)
        return {};
    shell::SweepLine line{QStringLiteral("L"), QColor(0x00, 0x40, 0xA0), {}, {}};
    for (const SeriesPoint& point : points()) {
        line.values.push_back(*point.value);
        line.estimates.push_back(point.l.mean);
    }
    return {line};
}

std::vector<std::pair<QString, WarehouseSweep>> SweepChoices()
{
    using Quantity = WarehouseSweep::Quantity;
    std::vector<std::pair<QString, WarehouseSweep>> choices{
        {QStringLiteral("Порог, все товары"), {Quantity::Threshold, 0}},
        {QStringLiteral("Заказ, все товары"), {Quantity::Order, 0}}};
    for (const auto& [name, quantity] : {std::pair{QStringLiteral("Порог"), Quantity::Threshold},
                                         std::pair{QStringLiteral("Заказ"), Quantity::Order}}) {
        for (int good = 1; good <= GoodsCount; ++good)
            choices.push_back({shell::fieldName(name, QStringLiteral("товар %1").arg(good)), {quantity, good}});
    }
    return choices;
}

QStringList WarehouseSeriesProgram::sweepChoices() const
{
    QStringList names;
    for (const auto& choice : SweepChoices())
        names << choice.first;
    return names;
}

std::unique_ptr<shell::SeriesJob> WarehouseSeriesProgram::makeJob(int runs, std::uint64_t seed,
                                                                  const std::optional<shell::SweepInput>& sweep) const
{
    SeriesRequest request{form_.ReadWarehouseInput(), runs, seed, std::nullopt};
    if (sweep) {
        const auto [name, varied] = SweepChoices().at(static_cast<std::size_t>(sweep->choice));
        // An order below 0 is refused as the fields refuse it; the values lie between the bounds.
        if (varied.quantity == WarehouseSweep::Quantity::Order) {
            for (QLineEdit* bound : {sweep->fromField, sweep->toField}) {
                shell::readField(bound, bound->accessibleName(),
                                 [bound] { return ReadOrder(bound->text().toStdString()); });
            }
        }
        request.sweep =
            SweepRequest{varied, sweep->from, sweep->to, sweep->points, name.toStdString(), sweep->fromField};
    }
    return std::make_unique<WarehouseSeries>(request);
}

}  // namespace kestrin
