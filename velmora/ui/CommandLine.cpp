// Distributions are written KIND:P1[:P2] with the kind's English name, and every
// message names the option and the parameter as they were typed.
#include "CommandLine.h"

#include "Experiment.h"

#include "shell/core/Convert.h"
#include "shell/headless/CommandLine.h"
#include "velmora/model/Series.h"
#include "velmora/model/Servers.h"

#include <QStringList>

#include <array>
#include <memory>

namespace velmora {
namespace {

const QString arrivalOption = QStringLiteral("arrival");
const QString processingOption = QStringLiteral("processing");

// How the help names each distribution's parameters, as "normal:MEAN:SD".
std::array<const char*, 2> parameterNames(DistributionKind kind)
{
    switch (kind) {
    case DistributionKind::Uniform:
        return {"MAX", ""};
    case DistributionKind::Erlang2:
        return {"L1", "L2"};
    case DistributionKind::Normal:
        return {"MEAN", "SD"};
    case DistributionKind::Exponential:
        break;
    }
    return {"RATE", ""};
}

const QString distributions = QStringLiteral("uniform:MAX, erlang:L1:L2, normal:MEAN:SD или exponential:RATE");

}  // namespace

DistributionSetting ReadDistributionOption(const QString& option, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const std::optional<DistributionKind> kind = ParseDistributionName(parts.front().toStdString());
    if (!kind || parts.size() != 1 + ParameterCount(*kind))
        shell::ThrowUsageError(option,
                               shell::Quoted(text.toStdString()) + " — ожидается " + distributions.toStdString());
    DistributionSetting result{*kind, 0.0, 0.0};
    result.p1 = shell::SeriesCommandLine::number(option, parts[1], shell::StrToFloat);
    if (parts.size() == 3)
        result.p2 = shell::SeriesCommandLine::number(option, parts[2], shell::StrToFloat);
    return result;
}

namespace {

// --vary names a parameter by its key, and only a parameter the distribution has.
std::optional<shell::Sweep> sweep(const shell::SeriesCommandLine& commandLine, const SeriesSettings& settings)
{
    const auto what = commandLine.varyWhat();
    if (!what)
        return std::nullopt;
    const SweepParameter varied = [&] {
        try {
            return ReadVariedParameter(settings, what->toStdString());
        } catch (const shell::Exception& error) {
            shell::ThrowUsageError(QStringLiteral("vary"), error.message());
        }
    }();
    const DistributionKind kind = varied.side == Side::Arrival ? settings.arrival.kind : settings.processing.kind;
    // Only MAX's whole part counts, so a sweep of it takes whole values.
    const bool whole = kind == DistributionKind::Uniform && varied.parameter == 1;
    return commandLine.varySweep(ParameterKey(varied), shell::StrToFloat, whole);
}

SeriesSettings settingsOf(const shell::SeriesCommandLine& commandLine)
{
    return {ReadDistributionOption(arrivalOption, commandLine.value(arrivalOption)),
            ReadDistributionOption(processingOption, commandLine.value(processingOption))};
}

// Parameters are named by the options that set them: a swept value by --vary.
shell::ParameterNamer namer(const NetworkSeries& network)
{
    return [&network](const std::string& key) {
        if (network.sweep() && network.sweep()->key == key)
            return "--vary " + key;
        const SweepParameter parameter = ParseParameterKey(key).value();
        const SeriesSettings settings = network.settingsAt(0);
        const DistributionKind kind =
            parameter.side == Side::Arrival ? settings.arrival.kind : settings.processing.kind;
        return std::string("--") + (parameter.side == Side::Arrival ? "arrival " : "processing ")
            + std::string(DistributionName(kind)) + ":"
            + parameterNames(kind)[static_cast<std::size_t>(parameter.parameter - 1)];
    };
}

std::string series(shell::SeriesCommandLine& commandLine)
{
    const SeriesSettings settings = settingsOf(commandLine);
    const auto measure =
        commandLine.measures() == QLatin1String("servers") ? NetworkMeasure::Servers : NetworkMeasure::Responses;
    const auto network =
        std::make_shared<NetworkSeries>(settings, commandLine.seed(), sweep(commandLine, settings), measure);
    const std::vector<shell::SeriesPoint> points = commandLine.runSeries(network, namer(*network));
    return measure == NetworkMeasure::Servers ? ServerSeriesCsv(points, commandLine.differences())
                                              : SeriesCsv(points, commandLine.differences());
}

// The records of the very run that a series with the same seed makes.
std::string records(shell::SeriesCommandLine& commandLine)
{
    const NetworkSeries network(settingsOf(commandLine), commandLine.seed(), std::nullopt);
    if (const auto refused = network.refusedPoint())
        throw shell::Exception(network.describe(*refused, namer(network)).message);
    commandLine.printSeed();
    const auto workspace = std::make_unique_for_overwrite<TRunWorkspace>();
    try {
        network.simulate(0, commandLine.recordedRun(), *workspace);
    } catch (...) {
        const shell::SeriesFailure failure{0, commandLine.recordedRun(), std::current_exception()};
        throw shell::Exception(network.describe(failure, namer(network)).message);
    }
    return TaskRecordsCsv(TaskRecords(*workspace));
}

// A distribution as --arrival and --processing write it, every digit kept.
QString settingText(const DistributionSetting& setting)
{
    QString text =
        QString::fromUtf8(DistributionName(setting.kind)) + QLatin1Char(':') + QString::number(setting.p1, 'g', 17);
    if (ParameterCount(setting.kind) == 2)
        text += QLatin1Char(':') + QString::number(setting.p2, 'g', 17);
    return text;
}

QMap<QString, QString> experimentOptions(const QJsonObject& json)
{
    const SeriesSettings settings = SettingsFromJson(json);
    return {{arrivalOption, settingText(settings.arrival)}, {processingOption, settingText(settings.processing)}};
}

QJsonObject experimentSettings(const shell::SeriesCommandLine& commandLine)
{
    return SettingsJson(settingsOf(commandLine));
}

}  // namespace

QString ProgramDescription()
{
    return QStringLiteral("Моделирование сети массового обслуживания: три потока задач, входные серверы, общий сервер "
                          "с приоритетом потока 1 и последний сервер с приоритетом потоков 1 и 2.");
}

std::optional<int> RunCommandLine(int argc, char** argv)
{
    const QList<QCommandLineOption> options{
        {arrivalOption,
         QStringLiteral("Распределение интервалов между появлениями задач: %1 (по умолчанию uniform:100).")
             .arg(distributions),
         QStringLiteral("DIST"), QStringLiteral("uniform:100")},
        {processingOption,
         QStringLiteral("Распределение времени обработки задач, как --arrival (по умолчанию uniform:50)."),
         QStringLiteral("DIST"), QStringLiteral("uniform:50")},
    };
    shell::SeriesCommandLine commandLine({
        ProgramDescription(),
        options,
        {},
        QStringLiteral("SIDE:K"),
        QStringLiteral("Изменять K-й параметр (1 или 2) распределения SIDE (arrival или processing) по P "
                       "равноотстоящим значениям от A до B, P от 2 до 50."),
        {QStringLiteral("responses"), QStringLiteral("servers")},
        QStringLiteral("Что мерить в каждом прогоне: responses — время отклика потоков (по умолчанию), servers — "
                       "загрузку, ожидание и очередь каждого сервера."),
        QStringLiteral("Вывести без окна записи задач одного прогона серии в CSV: прибытие, ожидание и обработку "
                       "каждой задачи на каждом сервере её пути и её время отклика."),
        series,
        records,
        experimentOptions,
        experimentSettings,
    });
    return commandLine.run(argc, argv);
}

}  // namespace velmora
