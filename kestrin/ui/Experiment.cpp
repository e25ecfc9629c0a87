// The goods' quantities are lists of ten, good 1 first.
#include "Experiment.h"

#include "shell/core/Exception.h"
#include "shell/headless/Experiment.h"

#include <QJsonArray>

#include <algorithm>
#include <limits>

namespace kestrin {
namespace {

QJsonArray quantitiesJson(const std::array<float, GoodsCount>& quantities)
{
    QJsonArray array;
    for (const float quantity : quantities)
        array.append(static_cast<double>(quantity));
    return array;
}

std::array<float, GoodsCount> quantitiesFromJson(const QJsonArray& array, const QString& field)
{
    const bool floats = std::all_of(array.begin(), array.end(), [](const QJsonValue& value) {
        return value.isDouble() && std::abs(value.toDouble()) <= std::numeric_limits<float>::max();
    });
    if (array.size() != GoodsCount || !floats)
        throw shell::Exception(
            ("файл эксперимента не прочитан: поле «settings." + field + "» должно быть списком из 10 чисел")
                .toStdString());
    std::array<float, GoodsCount> quantities;
    for (int good = 0; good < GoodsCount; ++good)
        quantities[static_cast<std::size_t>(good)] = static_cast<float>(array[good].toDouble());
    return quantities;
}

}  // namespace

QJsonObject SettingsJson(const WarehouseSetup& setup)
{
    return {{QStringLiteral("orders"), quantitiesJson(setup.input.Order)},
            {QStringLiteral("thresholds"), quantitiesJson(setup.input.Threshold)},
            {QStringLiteral("days"), setup.input.DayCount},
            {QStringLiteral("costs"),
             QJsonObject{{QStringLiteral("holding"), setup.costs.holding},
                         {QStringLiteral("shortage"), setup.costs.shortage},
                         {QStringLiteral("delivery"), setup.costs.delivery}}}};
}

WarehouseSetup SettingsFromJson(const QJsonObject& settings)
{
    shell::JsonFields fields(settings, QStringLiteral("settings."));
    WarehouseSetup setup;
    setup.input.Order = quantitiesFromJson(fields.array(QStringLiteral("orders")), QStringLiteral("orders"));
    setup.input.Threshold =
        quantitiesFromJson(fields.array(QStringLiteral("thresholds")), QStringLiteral("thresholds"));
    setup.input.DayCount = fields.integer(QStringLiteral("days"), std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max());
    shell::JsonFields costs(fields.object(QStringLiteral("costs")), QStringLiteral("settings.costs."));
    setup.costs = {costs.number(QStringLiteral("holding")), costs.number(QStringLiteral("shortage")),
                   costs.number(QStringLiteral("delivery"))};
    costs.done();
    fields.done();
    return setup;
}

}  // namespace kestrin
