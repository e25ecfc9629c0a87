// Orders and thresholds are ten numbers or one for all goods, checked as the
// window checks its fields; messages name the option.
#include "CommandLine.h"

#include "kestrin/model/Inputs.h"
#include "kestrin/model/Series.h"
#include "shell/core/Convert.h"
#include "shell/headless/CommandLine.h"

#include <QStringList>

#include <algorithm>

namespace kestrin {
namespace {

const QString ordersOption = QStringLiteral("orders");
const QString thresholdsOption = QStringLiteral("thresholds");
const QString daysOption = QStringLiteral("days");

std::array<float, GoodsCount> quantities(const QString& option, bool orders, const QString& text)
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

std::optional<shell::Sweep> sweep(const shell::SeriesCommandLine& commandLine)
{
    const auto what = commandLine.varyWhat();
    if (!what)
        return std::nullopt;
    const std::optional<WarehouseSweep> varied = ParseQuantityKey(what->toStdString());
    if (!varied)
        shell::ThrowUsageError(QStringLiteral("vary"),
                               shell::Quoted(what->toStdString())
                                   + " — ожидается order:J или threshold:J, где J — all или номер товара от 1 до "
                                   + std::to_string(GoodsCount));
    const bool order = varied->quantity == WarehouseSweep::Quantity::Order;
    return commandLine.varySweep(QuantityKey(*varied), order ? ReadOrder : ReadThreshold);
}

std::string series(shell::SeriesCommandLine& commandLine)
{
    TWarehouseInput input;
    input.Order = quantities(ordersOption, true, commandLine.value(ordersOption));
    input.Threshold = quantities(thresholdsOption, false, commandLine.value(thresholdsOption));
    input.DayCount = static_cast<std::int32_t>(
        shell::SeriesCommandLine::number(daysOption, commandLine.value(daysOption), ReadDayCount));
    const auto warehouse = std::make_shared<WarehouseSeries>(input, commandLine.seed(), sweep(commandLine));
    return SeriesCsv(commandLine.runSeries(warehouse, [](const std::string& key) { return "--vary " + key; }));
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
    shell::SeriesCommandLine commandLine(
        ProgramDescription() + QStringLiteral("\nБез параметров открывается окно программы."), options,
        QStringLiteral("QUANTITY:J"),
        QStringLiteral(
            "Изменять заказ (order:J) или порог (threshold:J) товара J, J — all (все товары) или от 1 до 10, "
            "по P равноотстоящим значениям от A до B, P от 2 до 50."));
    return commandLine.run(argc, argv, series);
}

}  // namespace kestrin
