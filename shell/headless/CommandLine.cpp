// Parsing follows QCommandLineParser's conventions, but errors are reported here,
// since QCommandLineParser::process() would end the program with status 1.
#include "CommandLine.h"

#include "Experiment.h"
#include "SeriesRunner.h"

#include "shell/core/Convert.h"
#include "shell/core/Random.h"
#include "shell/core/Series.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QSaveFile>
#include <QThread>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace shell {
namespace {

const QString seriesOption = QStringLiteral("series");
const QString runsOption = QStringLiteral("runs");
const QString seedOption = QStringLiteral("seed");
const QString varyOption = QStringLiteral("vary");
const QString threadsOption = QStringLiteral("threads");
const QString recordsOption = QStringLiteral("records");
const QString runOption = QStringLiteral("run");
const QString measuresOption = QStringLiteral("measures");
const QString precisionOption = QStringLiteral("precision");
const QString differencesOption = QStringLiteral("differences");
const QString baselineOption = QStringLiteral("baseline");
const QString experimentOption = QStringLiteral("experiment");
const QString outputOption = QStringLiteral("output");

void printTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

void printError(const std::string& message)
{
    printTo(stderr,
            QCoreApplication::applicationName() + QStringLiteral(": ") + QString::fromStdString(message)
                + QLatin1Char('\n'));
}

}  // namespace

std::unique_ptr<QTranslator> installQtTranslations()
{
    // Without the translations (a build outside the package) Qt's texts stay English.
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator.get());
    return translator;
}

void ThrowUsageError(const QString& option, const std::string& message)
{
    throw UsageError((QStringLiteral("--") + option + QStringLiteral(": ")).toStdString() + message);
}

SeriesCommandLine::SeriesCommandLine(ProgramCommandLine program)
    : program_(std::move(program))
{
    varyValue_ = program_.varyWhat + QStringLiteral("=A:B:P");
    parser_.setApplicationDescription(program_.description
                                      + QStringLiteral("\nБез параметров открывается окно программы."));
    // Qt's own help and version options describe themselves in English only.
    allOptions_ = {
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")},
        {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию программы.")},
        {seriesOption, QStringLiteral("Сделать серию прогонов без окна и вывести её итоги в CSV.")},
        {recordsOption, program_.recordsDescription},
        {runsOption, QStringLiteral("Число прогонов в серии, от 2 до 1000000 (по умолчанию 1000)."),
         QStringLiteral("N"), QStringLiteral("1000")},
        {seedOption,
         QStringLiteral("Начальное число серии, от 0 до 18446744073709551615 (по умолчанию новое, по часам)."),
         QStringLiteral("S")},
        {runOption, QStringLiteral("С --records: номер прогона серии, от 0 до 999999 (по умолчанию 0)."),
         QStringLiteral("R"), QStringLiteral("0")},
        {varyOption, program_.varyDescription, varyValue_},
        {measuresOption, program_.measuresDescription, QStringLiteral("M"), program_.measures.value(0)},
        {threadsOption, QStringLiteral("Число рабочих потоков, от 1 до 256 (по умолчанию по числу ядер)."),
         QStringLiteral("T")},
        {precisionOption,
         QStringLiteral("Делать прогоны этапами по 10, 20, 40, 80… всего, пока половина ширины интервала каждой "
                        "строки не станет не больше E · |среднее|, 0 < E < 1 (например, 0.01); --runs тогда — "
                        "наибольшее число прогонов (по умолчанию 1000000)."),
         QStringLiteral("E")},
        {differencesOption,
         QStringLiteral("С --vary: вывести вместо оценок разности каждой точки с базовой, попарно по прогонам, "
                        "с их интервалами.")},
        {baselineOption,
         QStringLiteral("С --differences: базовая точка, одно из значений --vary (по умолчанию первое)."),
         QStringLiteral("V")},
        {experimentOption,
         QStringLiteral("Взять настройки из файла эксперимента (его сохраняет окно программы); параметры, "
                        "заданные рядом, важнее файла."),
         QStringLiteral("FILE")},
        {outputOption,
         QStringLiteral("Записать CSV в файл, а не на стандартный вывод, и рядом с ним — эксперимент, который "
                        "его повторяет: FILE с расширением .json."),
         QStringLiteral("FILE")},
    };
    allOptions_ += program_.modelOptions;
    allOptions_ += program_.seriesOptions;
    parser_.addOptions(allOptions_);
    seriesOnly_ = {runsOption,      varyOption,        measuresOption, threadsOption,
                   precisionOption, differencesOption, baselineOption};
    for (const QCommandLineOption& option : program_.seriesOptions)
        seriesOnly_ << option.names().front();
    recordsOnly_ = {runOption};
}

SeriesCommandLine::~SeriesCommandLine() = default;

std::optional<int> SeriesCommandLine::run(int argc, char** argv)
{
    if (argc <= 1)
        return std::nullopt;
    // Qt's own texts and the help need an application object; the window's comes later.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr)
        application = std::make_unique<QCoreApplication>(argc, argv);
    const auto translator = installQtTranslations();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    try {
        parse(arguments);
        if (printedInformation())
            return 0;
        const bool series = parser_.isSet(seriesOption);
        const bool records = parser_.isSet(recordsOption);
        if (series && records)
            ThrowUsageError(recordsOption, "не сочетается с --series");
        refuseOptionsOutside(series ? seriesOption : records ? recordsOption : QString());
        if (!series && !records)
            return std::nullopt;
        readExperiment();
        std::string csv;
        if (series) {
            readSeriesOptions();
            readSeed();
            csv = program_.series(*this);
        } else {
            recordedRun_ = static_cast<std::uint64_t>(integer(runOption, value(runOption), 0, MaxRuns - 1));
            readSeed();
            csv = program_.records(*this);
        }
        if (parser_.isSet(outputOption))
            writeOutput(csv);
        else
            std::fwrite(csv.data(), 1, csv.size(), stdout);
        return 0;
    } catch (const UsageError& error) {
        printError(error.message());
        return 2;
    } catch (const std::exception& error) {
        printError(error.what());
        return 1;
    }
}

// Refuses what the parser would let through: an option whose value is missing,
// so that it took the next option as its value; words that are no option; and
// an option given twice, of which only the last would count.
void SeriesCommandLine::parse(const QStringList& arguments)
{
    if (!parser_.parse(arguments))
        throw UsageError(parser_.errorText().toStdString());
    const QStringList found = parser_.optionNames();
    for (const QCommandLineOption& option : allOptions_) {
        const QString name = option.names().back();
        if (!option.valueName().isEmpty() && parser_.isSet(name)
            && parser_.values(name).front().startsWith(QStringLiteral("--")))
            ThrowUsageError(name, "не задано значение");
        const auto given = std::count_if(found.begin(), found.end(),
                                         [&option](const QString& each) { return option.names().contains(each); });
        if (given > 1)
            ThrowUsageError(name, "задан больше одного раза");
    }
    if (!parser_.positionalArguments().isEmpty())
        throw UsageError(
            QStringLiteral("лишний аргумент «%1»").arg(parser_.positionalArguments().front()).toStdString());
}

bool SeriesCommandLine::printedInformation() const
{
    if (parser_.isSet(QStringLiteral("help"))) {
        printTo(stdout, parser_.helpText());
        return true;
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        printTo(stdout,
                QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                    + QLatin1Char('\n'));
        return true;
    }
    return false;
}

// The window takes no option; a series and records take their own and the
// model's, and the seed.
void SeriesCommandLine::refuseOptionsOutside(const QString& mode) const
{
    const auto refuse = [this](const QStringList& options, const QString& with) {
        for (const QString& option : options) {
            if (parser_.isSet(option))
                ThrowUsageError(option, "действует только вместе с --" + with.toStdString());
        }
    };
    if (mode != seriesOption)
        refuse(seriesOnly_, seriesOption);
    if (mode != recordsOption)
        refuse(recordsOnly_, recordsOption);
    if (!mode.isEmpty())
        return;
    QStringList shared{seedOption, experimentOption, outputOption};
    for (const QCommandLineOption& option : program_.modelOptions)
        shared << option.names().front();
    refuse(shared, seriesOption + QStringLiteral(" или --") + recordsOption);
}

bool SeriesCommandLine::isSet(const QString& option) const
{
    return parser_.isSet(option) || experiment_.contains(option);
}

QString SeriesCommandLine::value(const QString& option) const
{
    if (!parser_.isSet(option) && experiment_.contains(option))
        return experiment_.value(option);
    return parser_.value(option);
}

// The file's settings become the options they stand for, below those given.
void SeriesCommandLine::readExperiment()
{
    if (!parser_.isSet(experimentOption))
        return;
    QFile file(parser_.value(experimentOption));
    if (!file.open(QIODevice::ReadOnly))
        ThrowUsageError(experimentOption, Quoted(file.fileName().toStdString()) + " — файл не открывается");
    try {
        const ExperimentParts parts = ReadExperiment(file.readAll(), QCoreApplication::applicationName());
        experiment_ = program_.experimentOptions(parts.settings);
        const SeriesSetup& series = parts.series;
        experiment_.insert(runsOption, QString::number(series.runs));
        if (series.seed)
            experiment_.insert(seedOption, QString::number(*series.seed));
        if (series.vary) {
            experiment_.insert(varyOption,
                               QStringLiteral("%1=%2:%3:%4")
                                   .arg(QString::fromStdString(series.vary->parameter))
                                   .arg(series.vary->from, 0, 'g', 17)
                                   .arg(series.vary->to, 0, 'g', 17)
                                   .arg(series.vary->points));
        }
        if (!series.measures.empty())
            experiment_.insert(measuresOption, QString::fromStdString(series.measures));
        if (series.precision)
            experiment_.insert(precisionOption, QString::number(*series.precision, 'g', 17));
    } catch (const Exception& error) {
        ThrowUsageError(experimentOption, Quoted(file.fileName().toStdString()) + ": " + error.message());
    }
}

void SeriesCommandLine::writeOutput(const std::string& csv) const
{
    SeriesSetup series;
    series.runs = runs_ > 0 ? runs_ : 1000;
    series.seed = seed_;
    if (const auto what = varyWhat()) {
        // The series read the range already, so it holds numbers.
        const QString text = value(varyOption);
        const QStringList range = text.mid(text.indexOf(QLatin1Char('=')) + 1).split(QLatin1Char(':'));
        series.vary = SeriesSetup::Vary{what->toStdString(), StrToFloat(range[0].toStdString()),
                                        StrToFloat(range[1].toStdString()), StrToInt(range[2].toStdString())};
    }
    series.measures = measures_.toStdString();
    series.precision = precision_;
    const QString path = parser_.value(outputOption);
    const QByteArray experiment =
        WriteExperiment(QCoreApplication::applicationName(), program_.experimentSettings(*this), series);
    for (const auto& [target, bytes] :
         {std::pair{path, QByteArray::fromStdString(csv)}, std::pair{ExperimentPathBeside(path), experiment}}) {
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw Exception(Quoted(target.toStdString()) + " — файл не записан: " + file.errorString().toStdString());
    }
}

void SeriesCommandLine::readSeed()
{
    if (isSet(seedOption)) {
        try {
            seed_ = StrToUInt64(value(seedOption).toStdString());
        } catch (const Exception& error) {
            ThrowUsageError(seedOption, error.message());
        }
    } else {
        seed_ = ClockSeed();
    }
}

void SeriesCommandLine::readSeriesOptions()
{
    if (isSet(precisionOption)) {
        precision_ = number(precisionOption, value(precisionOption), [](std::string_view text) {
            const double precision = StrToFloat(text);
            if (!(precision > 0 && precision < 1))
                throw Exception(Quoted(text) + " — задайте число больше 0 и меньше 1");
            return precision;
        });
        if (isSet(differencesOption))
            ThrowUsageError(precisionOption,
                            "не сочетается с --differences: разности считаются по общим прогонам "
                            "точек, а точки с точностью кончаются каждая на своём числе прогонов");
    }
    if (isSet(differencesOption) && !isSet(varyOption))
        ThrowUsageError(differencesOption, "действует только вместе с --vary");
    if (isSet(baselineOption) && !isSet(differencesOption))
        ThrowUsageError(baselineOption, "действует только вместе с --differences");
    // With a precision the runs are a ceiling, by default the largest.
    runs_ = precision_ && !isSet(runsOption) ? MaxRuns
                                             : static_cast<int>(number(runsOption, value(runsOption), ReadRunCount));
    threads_ =
        isSet(threadsOption) ? integer(threadsOption, value(threadsOption), 1, 256) : QThread::idealThreadCount();
    measures_ = value(measuresOption);
    if (!program_.measures.contains(measures_))
        ThrowUsageError(measuresOption,
                        Quoted(measures_.toStdString()) + " — ожидается "
                            + program_.measures.join(QStringLiteral(" или ")).toStdString());
}

std::optional<QString> SeriesCommandLine::varyWhat() const
{
    if (!isSet(varyOption))
        return std::nullopt;
    return SplitVary(value(varyOption), varyValue_).first;
}

Sweep SeriesCommandLine::varySweep(std::string key, const NumberReader& readBound, bool whole) const
{
    return ReadVaryRange(std::move(key), SplitVary(value(varyOption), varyValue_).second, readBound, whole);
}

std::pair<QString, QString> SplitVary(const QString& text, const QString& form)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0 || text.mid(equals + 1).split(QLatin1Char(':')).size() != 3)
        ThrowUsageError(varyOption, Quoted(text.toStdString()) + " — ожидается вид " + form.toStdString());
    return {text.left(equals), text.mid(equals + 1)};
}

Sweep ReadVaryRange(std::string key, const QString& range, const NumberReader& readBound, bool whole)
{
    const QStringList parts = range.split(QLatin1Char(':'));
    const auto number = SeriesCommandLine::number;
    const double from = number(varyOption, parts[0], readBound);
    const double to = number(varyOption, parts[1], [&](std::string_view end) {
        readBound(end);
        return ReadSweepEnd(from, end, whole);
    });
    const auto points = static_cast<int>(number(varyOption, parts[2], ReadSweepPoints));
    try {
        return {std::move(key), whole ? WholeSweepValues(from, to, points) : SweepValues(from, to, points)};
    } catch (const Exception& error) {
        ThrowUsageError(varyOption, error.message());
    }
}

void SeriesCommandLine::printSeed() const
{
    printTo(stderr, QStringLiteral("seed: %1\n").arg(seed_));
}

std::vector<SeriesPoint> SeriesCommandLine::runSeries(std::shared_ptr<const SeriesModel> model,
                                                      const ParameterNamer& name, bool keepRows) const
{
    const bool paired = differences();
    const std::size_t baseline = paired ? baselineOf(*model->sweep()) : 0;
    if (const auto refused = model->refusedPoint())
        throw Exception(model->describe(*refused, name).message);
    printSeed();
    SeriesRunner runner(model, {runs_, precision_, keepRows || paired});
    runner.start({threads_}).waitForFinished();
    if (const auto failure = runner.failure())
        throw Exception(model->describe(*failure, name).message);
    if (precision_)
        reportPrecision(*model, runner.outcomes());
    std::vector<SeriesPoint> points = runner.keptPoints();
    if (!paired)
        return points;
    std::vector<SeriesPoint> differences;
    for (const SeriesPoint& point : points)
        differences.push_back(PairedDifferences(point, points[baseline], model->statisticCount()));
    return differences;
}

void SeriesCommandLine::note(const QString& line)
{
    printTo(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + line + QLatin1Char('\n'));
}

// The baseline is one of the sweep's values, as typed or as --vary spaced it.
std::size_t SeriesCommandLine::baselineOf(const Sweep& sweep) const
{
    if (!isSet(baselineOption))
        return 0;
    const double wanted = number(baselineOption, value(baselineOption), StrToFloat);
    for (std::size_t point = 0; point < sweep.values.size(); ++point) {
        if (std::abs(sweep.values[point] - wanted) <= 1e-9 * std::max(1.0, std::abs(wanted)))
            return point;
    }
    std::string values;
    for (const double value : sweep.values)
        values += (values.empty() ? "" : ", ") + FloatToStr(value, ".");
    ThrowUsageError(baselineOption,
                    Quoted(value(baselineOption).toStdString()) + " — задайте одно из значений --vary: " + values);
}

// The rows that reached the ceiling before the precision, each with what it reached.
void SeriesCommandLine::reportPrecision(const SeriesModel& model,
                                        const std::vector<std::optional<PointOutcome>>& outcomes) const
{
    for (std::size_t point = 0; point < outcomes.size(); ++point) {
        const PointOutcome& outcome = *outcomes[point];
        if (outcome.precise)
            continue;
        const std::optional<double> value = model.valueAt(static_cast<int>(point));
        for (std::size_t statistic = 0; statistic < outcome.summary.estimates.size(); ++statistic) {
            const Estimate& estimate = outcome.summary.estimates[statistic];
            const double halfWidth = (estimate.high - estimate.low) / 2;
            if (Precise({estimate}, *precision_))
                continue;
            const QString where = value ? QStringLiteral("значение %1, ").arg(*value) : QString();
            note(QStringLiteral("точность не достигнута за %1 прогонов: %2%3 — половина интервала %4 при среднем %5")
                     .arg(outcome.summary.runs)
                     .arg(where, QString::fromStdString(model.statisticLabel(static_cast<int>(statistic))))
                     .arg(halfWidth, 0, 'g', 4)
                     .arg(estimate.mean, 0, 'g', 6));
        }
    }
}

int SeriesCommandLine::integer(const QString& option, const QString& text, int min, int max)
{
    try {
        return StrToIntInRange(text.toStdString(), min, max);
    } catch (const Exception& error) {
        ThrowUsageError(option, error.message());
    }
}

double SeriesCommandLine::number(const QString& option, const QString& text, const NumberReader& read)
{
    try {
        return read(text.toStdString());
    } catch (const Exception& error) {
        ThrowUsageError(option, error.message());
    }
}

}  // namespace shell
