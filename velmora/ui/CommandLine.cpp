// Distributions are written KIND:P1[:P2] with the kind's English name, and every
// message names the option and the parameter as they were typed.
#include "CommandLine.h"

#include "NetworkSeries.h"

#include "shell/CommandLine.h"
#include "shell/Convert.h"

#include <QStringList>

#include <array>

namespace velmora {
namespace {

const QString arrivalOption = QStringLiteral("arrival");
const QString processingOption = QStringLiteral("processing");

struct KindSyntax {
    DistributionKind kind;
    const char* name;
    std::array<const char*, 2> parameters;  // the second is empty for one-parameter kinds
};

constexpr std::array<KindSyntax, 4> kinds{{
    {DistributionKind::Uniform, "uniform", {"MAX", ""}},
    {DistributionKind::Erlang2, "erlang", {"L1", "L2"}},
    {DistributionKind::Normal, "normal", {"MEAN", "SD"}},
    {DistributionKind::Exponential, "exponential", {"RATE", ""}},
}};

const KindSyntax& syntaxOf(DistributionKind kind)
{
    return kinds[static_cast<std::size_t>(kind)];
}

int parameterCount(DistributionKind kind)
{
    return *syntaxOf(kind).parameters[1] == '\0' ? 1 : 2;
}

const QString distributions = QStringLiteral("uniform:MAX, erlang:L1:L2, normal:MEAN:SD или exponential:RATE");

DistributionSetting setting(const QString& option, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    for (const KindSyntax& syntax : kinds) {
        if (parts.front() != QLatin1String(syntax.name))
            continue;
        if (parts.size() != 1 + parameterCount(syntax.kind))
            break;
        DistributionSetting result{syntax.kind, 0.0, 0.0};
        result.p1 = shell::SeriesCommandLine::number(option, parts[1]);
        if (parts.size() == 3)
            result.p2 = shell::SeriesCommandLine::number(option, parts[2]);
        return result;
    }
    shell::ThrowUsageError(option, shell::Quoted(text.toStdString()) + " — ожидается " + distributions.toStdString());
}

std::optional<SweepRequest> sweep(const shell::SeriesCommandLine& commandLine, const SeriesSettings& settings)
{
    const auto vary = commandLine.vary();
    if (!vary)
        return std::nullopt;
    const QStringList what = vary->what.split(QLatin1Char(':'));
    const auto bad = [&vary](const std::string& why) {
        shell::ThrowUsageError(QStringLiteral("vary"), shell::Quoted(vary->what.toStdString()) + " — " + why);
    };
    if (what.size() != 2 || (what[0] != arrivalOption && what[0] != processingOption)
        || (what[1] != QLatin1String("1") && what[1] != QLatin1String("2")))
        bad("ожидается arrival:1, arrival:2, processing:1 или processing:2");
    const Side side = what[0] == arrivalOption ? Side::Arrival : Side::Processing;
    const int parameter = what[1].toInt();
    const DistributionKind kind = side == Side::Arrival ? settings.arrival.kind : settings.processing.kind;
    if (parameter > parameterCount(kind))
        bad(std::string("у распределения ") + syntaxOf(kind).name + " один параметр");
    return SweepRequest{{side, parameter}, vary->from, vary->to, vary->points};
}

std::string series(shell::SeriesCommandLine& commandLine)
{
    SeriesRequest request{{setting(arrivalOption, commandLine.value(arrivalOption)),
                           setting(processingOption, commandLine.value(processingOption))},
                          commandLine.runs(),
                          commandLine.seed(),
                          std::nullopt};
    request.sweep = sweep(commandLine, request.settings);
    const auto names = [&request](Side side, int parameter) {
        // A swept value comes from --vary, so that is what to correct.
        const std::optional<SweepRequest>& sweep = request.sweep;
        if (sweep && sweep->parameter.side == side && sweep->parameter.parameter == parameter)
            return ParameterName{std::string("--vary ") + (side == Side::Arrival ? "arrival:" : "processing:")
                                 + std::to_string(parameter)};
        const DistributionKind kind =
            side == Side::Arrival ? request.settings.arrival.kind : request.settings.processing.kind;
        const KindSyntax& syntax = syntaxOf(kind);
        return ParameterName{std::string("--") + (side == Side::Arrival ? "arrival " : "processing ") + syntax.name
                             + ":" + syntax.parameters[static_cast<std::size_t>(parameter - 1)]};
    };
    NetworkSeries network(request, names);
    return commandLine.runSeries(network);
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
    shell::SeriesCommandLine commandLine(
        ProgramDescription() + QStringLiteral("\nБез параметров открывается окно программы."), options,
        QStringLiteral("SIDE:K"),
        QStringLiteral("Изменять K-й параметр (1 или 2) распределения SIDE (arrival или processing) по P "
                       "равноотстоящим значениям от A до B, P от 2 до 50."));
    return commandLine.run(argc, argv, series);
}

}  // namespace velmora
