// Orders and thresholds are ten numbers or one for all goods, checked as the
// window checks its fields; messages name the option.
#include "CommandLine.h"

#include "Experiment.h"

#include "kestrin/model/Inputs.h"
#include "kestrin/model/Series.h"
#include "shell/core/Convert.h"
#include "shell/core/Series.h"
#include "shell/headless/CommandLine.h"

#include <QStringList>

#include <algorithm>

namespace kestrin {
namespace {

const QString ordersOption = QStringLiteral("orders");
const QString thresholdsOption = QStringLiteral("thresholds");
const QString daysOption = QStringLiteral("days");
const QString holdingOption = QStringLiteral("holding-cost");
const QString shortageOption = QStringLiteral("shortage-cost");
const QString deliveryOption = QStringLiteral("delivery-cost");

}  // namespace

std::array<float, GoodsCount> ReadQuantitiesOption(const QString& option, bool orders, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != GoodsCount)
        shell::ThrowUsageError(option,
                               shell::Quoted(text.toStdString()) + " — задайте одно число для всех товаров или "
                                   + std::to_string(GoodsCount) + " через запятую");
    std::array<float, GoodsCount> values;
    for (int good = 0; good < GoodsCount; ++good) {
        const QString part = parts[parts.size() == 1 ? 0 : good];
        try {
            values[static_cast<std::size_t>(good)] =
                orders ? ReadOrder(part.toStdString()) : ReadThreshold(part.toStdString());
        } catch (const shell::Exception& error) {
            shell::ThrowUsageError(option, error.message());
        }
    }
    return values;
}

namespace {

std::optional<shell::Sweep> sweep(const shell::SeriesCommandLine& commandLine)
{
    const auto what = commandLine.varyWhat();
    if (!what)
        return std::nullopt;
    const WarehouseSweep varied = [&] {
        try {
            return ReadQuantityKey(what->toStdString());
        } catch (const shell::Exception& error) {
            shell::ThrowUsageError(QStringLiteral("vary"), error.message());
        }
    }();
    const bool order = varied.quantity == WarehouseSweep::Quantity::Order;
    return commandLine.varySweep(QuantityKey(varied), order ? ReadOrder : ReadThreshold);
}

TWarehouseInput inputOf(const shell::SeriesCommandLine& commandLine)
{
    TWarehouseInput input;
    input.Order = ReadQuantitiesOption(ordersOption, true, commandLine.value(ordersOption));
    input.Threshold = ReadQuantitiesOption(thresholdsOption, false, commandLine.value(thresholdsOption));
    input.DayCount = static_cast<std::int32_t>(
        shell::SeriesCommandLine::number(daysOption, commandLine.value(daysOption), ReadDayCount));
    return input;
}

std::string varied(const std::string& key)
{
    return "--vary " + key;
}

Costs costsOf(const shell::SeriesCommandLine& commandLine)
{
    Costs costs;
    for (const auto& [option, cost] : {std::pair{holdingOption, &costs.holding},
                                       {shortageOption, &costs.shortage},
                                       {deliveryOption, &costs.delivery}}) {
        if (commandLine.isSet(option))
            *cost = shell::SeriesCommandLine::number(option, commandLine.value(option), ReadCost);
    }
    return costs;
}

// With costs and a sweep, names the cheapest value and those whose paired
// difference from it could be 0.
void reportCheapest(const std::vector<shell::SeriesPoint>& points)
{
    const std::size_t cheapest = shell::Cheapest(points, CostStatistic);
    QStringList close;
    for (const shell::SeriesPoint& point : points) {
        const shell::Estimate difference =
            shell::PairedDifferences(point, points[cheapest], CostStatistic + 1).summary.estimates[CostStatistic];
        if (&point != &points[cheapest] && difference.low <= 0 && 0 <= difference.high)
            close << QString::fromStdString(shell::FloatToStr(*point.value, "."));
    }
    shell::SeriesCommandLine::note(
        QStringLiteral("cheapest: %1").arg(QString::fromStdString(shell::FloatToStr(*points[cheapest].value, "."))));
    if (!close.isEmpty())
        shell::SeriesCommandLine::note(QStringLiteral("not distinguishable from it: %1").arg(close.join(", ")));
}

std::string series(shell::SeriesCommandLine& commandLine)
{
    const auto measure =
        commandLine.measures() == QLatin1String("goods") ? WarehouseMeasure::Goods : WarehouseMeasure::L;
    const Costs costs = costsOf(commandLine);
    if (costs.any() && measure == WarehouseMeasure::Goods)
        shell::ThrowUsageError(QStringLiteral("measures"), "затраты считаются вместе с L: задайте --measures l");
    const auto warehouse =
        std::make_shared<WarehouseSeries>(inputOf(commandLine), commandLine.seed(), sweep(commandLine), measure, costs);
    const bool cheapest = costs.any() && warehouse->sweep() && !commandLine.differences();
    const std::vector<shell::SeriesPoint> points = commandLine.runSeries(warehouse, varied, cheapest);
    if (cheapest)
        reportCheapest(points);
    if (measure == WarehouseMeasure::Goods)
        return GoodsSeriesCsv(points, commandLine.differences());
    return commandLine.differences() ? DifferencesCsv(points) : SeriesCsv(points);
}

// The days of the very run that a series with the same seed makes.
std::string records(shell::SeriesCommandLine& commandLine)
{
    const TWarehouseInput input = inputOf(commandLine);
    commandLine.printSeed();
    DayRecorder recorder;
    RunOfSeries(input, commandLine.seed(), commandLine.recordedRun(), recorder);
    return DayRecordsCsv(recorder.days);
}

// Numbers as the options write them, every digit kept.
QString listText(const std::array<float, GoodsCount>& quantities)
{
    QStringList texts;
    for (const float quantity : quantities)
        texts << QString::number(static_cast<double>(quantity), 'g', 9);
    return texts.join(QLatin1Char(','));
}

QMap<QString, QString> experimentOptions(const QJsonObject& json)
{
    const WarehouseSetup setup = SettingsFromJson(json);
    QMap<QString, QString> options{{ordersOption, listText(setup.input.Order)},
                                   {thresholdsOption, listText(setup.input.Threshold)},
                                   {daysOption, QString::number(setup.input.DayCount)}};
    for (const auto& [option, cost] : {std::pair{holdingOption, setup.costs.holding},
                                       {shortageOption, setup.costs.shortage},
                                       {deliveryOption, setup.costs.delivery}}) {
        if (cost != 0)
            options.insert(option, QString::number(cost, 'g', 17));
    }
    return options;
}

QJsonObject experimentSettings(const shell::SeriesCommandLine& commandLine)
{
    return SettingsJson(
        {inputOf(commandLine), commandLine.isSet(QStringLiteral("series")) ? costsOf(commandLine) : Costs{}});
}

}  // namespace

QString ProgramDescription()
{
    return QStringLiteral("Моделирование оптового склада десяти товаров по дням: доля L спроса, который склад не смог "
                          "удовлетворить.");
}

std::optional<int> RunCommandLine(int argc, char** argv)
{
    const QList<QCommandLineOption> options{
        {ordersOption,
         QStringLiteral("Заказы товаров 1–10 на следующий день: десять чисел через запятую или одно для всех "
                        "(по умолчанию 100)."),
         QStringLiteral("O1,...,O10"), QStringLiteral("100")},
        {thresholdsOption,
         QStringLiteral("Пороги товаров 1–10, ниже которых товар дозаказывается, как --orders (по умолчанию 100)."),
         QStringLiteral("T1,...,T10"), QStringLiteral("100")},
        {daysOption,
         QStringLiteral("Число дней моделирования, не меньше 1; больше 250 считается как 250 "
                        "(по умолчанию 100)."),
         QStringLiteral("D"), QStringLiteral("100")},
    };
    const QList<QCommandLineOption> costOptions{
        {holdingOption, QStringLiteral("Затраты на хранение одного места в день, не меньше 0 (по умолчанию 0)."),
         QStringLiteral("H")},
        {shortageOption, QStringLiteral("Затраты на одно потерянное место, не меньше 0 (по умолчанию 0)."),
         QStringLiteral("P")},
        {deliveryOption, QStringLiteral("Затраты на одну поставку, не меньше 0 (по умолчанию 0)."),
         QStringLiteral("K")},
    };
    shell::SeriesCommandLine commandLine({
        ProgramDescription(),
        options,
        costOptions,
        QStringLiteral("QUANTITY:J"),
        QStringLiteral(
            "Изменять заказ (order:J) или порог (threshold:J) товара J, J — all (все товары) или от 1 до 10, "
            "по P равноотстоящим значениям от A до B, P от 2 до 50."),
        {QStringLiteral("l"), QStringLiteral("goods")},
        QStringLiteral("Что мерить в каждом прогоне: l — долю неудовлетворённого спроса L (по умолчанию), goods — "
                       "спрос, потери, долю удовлетворённого спроса, долю дней без нехватки, поставки и запас "
                       "каждого товара и всего склада."),
        QStringLiteral("Вывести без окна записи дней одного прогона серии в CSV: запас, спрос, остаток, что "
                       "случилось и потери каждого товара в каждый день."),
        series,
        records,
        experimentOptions,
        experimentSettings,
    });
    return commandLine.run(argc, argv);
}

}  // namespace kestrin
