// Parsing follows QCommandLineParser's conventions, but errors are reported here,
// since QCommandLineParser::process() would end the program with status 1.
#include "CommandLine.h"

#include "Application.h"
#include "Convert.h"
#include "Random.h"
#include "Series.h"
#include "SeriesJob.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <cstdio>
#include <memory>

namespace shell {
namespace {

const QString seriesOption = QStringLiteral("series");
const QString runsOption = QStringLiteral("runs");
const QString seedOption = QStringLiteral("seed");
const QString varyOption = QStringLiteral("vary");
const QString threadsOption = QStringLiteral("threads");

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

void ThrowUsageError(const QString& option, const std::string& message)
{
    throw UsageError((QStringLiteral("--") + option + QStringLiteral(": ")).toStdString() + message);
}

SeriesCommandLine::SeriesCommandLine(const QString& description, const QList<QCommandLineOption>& modelOptions,
                                     const QString& varyWhat, const QString& varyDescription)
{
    varyValue_ = varyWhat + QStringLiteral("=A:B:P");
    parser_.setApplicationDescription(description);
    // Qt's own help and version options describe themselves in English only.
    parser_.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")});
    parser_.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию программы.")});
    seriesOptions_ = {
        {seriesOption, QStringLiteral("Сделать серию прогонов без окна и вывести её итоги в CSV.")},
        {runsOption, QStringLiteral("Число прогонов в серии, от 2 до 1000000 (по умолчанию 1000)."),
         QStringLiteral("N"), QStringLiteral("1000")},
        {seedOption,
         QStringLiteral("Начальное число серии, от 0 до 18446744073709551615 (по умолчанию новое, по часам)."),
         QStringLiteral("S")},
        {varyOption, varyDescription, varyValue_},
        {threadsOption, QStringLiteral("Число рабочих потоков, от 1 до 256 (по умолчанию по числу ядер)."),
         QStringLiteral("T")},
    };
    seriesOptions_ += modelOptions;
    parser_.addOptions(seriesOptions_);
}

SeriesCommandLine::~SeriesCommandLine() = default;

std::optional<int> SeriesCommandLine::run(int argc, char** argv,
                                          const std::function<std::string(SeriesCommandLine&)>& series)
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
        if (!parser_.parse(arguments))
            throw UsageError(parser_.errorText().toStdString());
        if (!parser_.positionalArguments().isEmpty())
            throw UsageError(
                QStringLiteral("лишний аргумент «%1»").arg(parser_.positionalArguments().front()).toStdString());
        if (parser_.isSet(QStringLiteral("help"))) {
            printTo(stdout, parser_.helpText());
            return 0;
        }
        if (parser_.isSet(QStringLiteral("version"))) {
            printTo(stdout,
                    QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                        + QLatin1Char('\n'));
            return 0;
        }
        if (!parser_.isSet(seriesOption)) {
            for (const QCommandLineOption& option : seriesOptions_) {
                if (parser_.isSet(option.names().front()))
                    ThrowUsageError(option.names().front(), "действует только вместе с --series");
            }
            return std::nullopt;
        }
        readSeriesOptions();
        const std::string csv = series(*this);
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

void SeriesCommandLine::readSeriesOptions()
{
    runs_ = integer(runsOption, parser_.value(runsOption), 2, 1'000'000);
    if (parser_.isSet(seedOption)) {
        try {
            seed_ = StrToUInt64(parser_.value(seedOption).toStdString());
        } catch (const Exception& error) {
            ThrowUsageError(seedOption, error.message());
        }
    } else {
        seed_ = ClockSeed();
    }
    const int threads = parser_.isSet(threadsOption) ? integer(threadsOption, parser_.value(threadsOption), 1, 256)
                                                     : QThread::idealThreadCount();
    pool_ = std::make_unique<QThreadPool>();
    pool_->setMaxThreadCount(threads);
    vary();
}

std::optional<SeriesCommandLine::Vary> SeriesCommandLine::vary() const
{
    if (!parser_.isSet(varyOption))
        return std::nullopt;
    const QString text = parser_.value(varyOption);
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const QStringList range = text.mid(equals + 1).split(QLatin1Char(':'));
    if (equals < 0 || range.size() != 3)
        ThrowUsageError(varyOption, Quoted(text.toStdString()) + " — ожидается вид " + varyValue_.toStdString());
    const double from = number(varyOption, range[0]);
    double to = 0;
    try {
        to = ReadSweepEnd(from, range[1].toStdString());
    } catch (const Exception& error) {
        ThrowUsageError(varyOption, error.message());
    }
    return Vary{text.left(equals), from, to, integer(varyOption, range[2], 2, 50)};
}

std::string SeriesCommandLine::runSeries(SeriesJob& job) const
{
    printTo(stderr, QStringLiteral("seed: %1\n").arg(seed_));
    job.start(pool_.get()).waitForFinished();
    job.rethrowFailure();
    return job.csv();
}

int SeriesCommandLine::integer(const QString& option, const QString& text, int min, int max)
{
    try {
        return StrToIntInRange(text.toStdString(), min, max);
    } catch (const Exception& error) {
        ThrowUsageError(option, error.message());
    }
}

double SeriesCommandLine::number(const QString& option, const QString& text)
{
    try {
        return StrToFloat(text.toStdString());
    } catch (const Exception& error) {
        ThrowUsageError(option, error.message());
    }
}

}  // namespace shell
