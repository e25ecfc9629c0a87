// The command line both programs share: without options the window starts; with
// --series a series of runs is made without any window and printed as CSV.
#pragma once

#include "shell/core/Exception.h"
#include "shell/core/SeriesModel.h"
#include "shell/headless/SeriesRunner.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QTranslator;

namespace shell {

// Qt's own texts (dialogs, context menus, the command line's help) in Russian,
// whatever the user's locale, since every text of the programs is Russian. The
// translator works while it lives.
std::unique_ptr<QTranslator> installQtTranslations();

// Bad input on the command line. The message names the option; the program
// ends with status 2 and writes nothing on standard output.
class UsageError : public Exception {
public:
    using Exception::Exception;
};

// A UsageError "--<option>: <message>".
[[noreturn]] void ThrowUsageError(const QString& option, const std::string& message);

// Reads a number from an option's text; throws Exception quoting the text.
using NumberReader = std::function<double(std::string_view text)>;

// --vary's value "WHAT=A:B:P" split at its "=": what varies, and its range.
// Throws UsageError, showing `form`, for a value of another form.
std::pair<QString, QString> SplitVary(const QString& text, const QString& form);
// A range "A:B:P" of --vary: P evenly spaced values from A to B, the bounds
// read by `readBound`, whole values (WholeSweepValues) for a `whole`
// parameter. Throws UsageError.
Sweep ReadVaryRange(std::string key, const QString& range, const NumberReader& readBound, bool whole);

class SeriesCommandLine;

// What a program's command line is made of beside what every program's has:
// --series makes a series of runs and prints its CSV; --records prints what
// one run of a series did, as CSV. Both read the model's options.
struct ProgramCommandLine {
    QString description;
    QList<QCommandLineOption> modelOptions;
    // Options of the program's that only a series takes.
    QList<QCommandLineOption> seriesOptions;
    // How --vary's value names what varies, before its "=A:B:P", and what it says.
    QString varyWhat;
    QString varyDescription;
    // --measures' values, the first the default, and what it says.
    QStringList measures;
    QString measuresDescription;
    // What --records prints.
    QString recordsDescription;
    std::function<std::string(SeriesCommandLine&)> series;
    std::function<std::string(SeriesCommandLine&)> records;
    // The options that the settings of an experiment file stand for, as the
    // command line writes them ("arrival" → "normal:50:10"); throws Exception
    // for settings that are not the program's.
    std::function<QMap<QString, QString>(const QJsonObject& settings)> experimentOptions;
    // The settings of the command line as an experiment keeps them.
    std::function<QJsonObject(const SeriesCommandLine&)> experimentSettings;
};

class SeriesCommandLine {
public:
    explicit SeriesCommandLine(ProgramCommandLine program);
    ~SeriesCommandLine();

    // Without any option, returns nothing, and the program starts its window.
    // Otherwise the command line is handled here and the status returned: 0
    // after --help, --version, or a series or records whose CSV is printed; 2
    // after bad input (UsageError); 1 after a model's error (any other
    // Exception).
    std::optional<int> run(int argc, char** argv);

    // For the program's series and records: the options as given, or else as
    // the experiment file (--experiment) sets them, or else their defaults.
    bool isSet(const QString& option) const;
    QString value(const QString& option) const;
    int runs() const { return runs_; }
    // --seed, or a fresh one that has been printed.
    std::uint64_t seed() const { return seed_; }
    // --measures, one of the program's.
    QString measures() const { return measures_; }
    // --precision, if given: the relative half-width each row must reach.
    std::optional<double> precision() const { return precision_; }
    // --differences: print each point's paired differences from the baseline.
    bool differences() const { return isSet(QStringLiteral("differences")); }
    // --run: the run of the series whose records are printed.
    std::uint64_t recordedRun() const { return recordedRun_; }
    // "seed: S" on standard error, so that a fresh seed can be given again.
    void printSeed() const;

    // What --vary varies, before its "=", if it is given.
    std::optional<QString> varyWhat() const;
    // --vary's range "A:B:P": P evenly spaced values from A to B, the bounds read
    // by `readBound`; whole values (WholeSweepValues) for a `whole` parameter.
    Sweep varySweep(std::string key, const NumberReader& readBound, bool whole = false) const;

    // Runs the series of `model` on the threads asked for and returns its
    // points, with their rows when `keepRows`; with --differences, each point's
    // paired differences from the baseline instead. Says on standard error
    // which rows missed the precision asked for. Throws the series' failure as
    // an Exception whose message names parameters by `name`.
    std::vector<SeriesPoint> runSeries(std::shared_ptr<const SeriesModel> model, const ParameterNamer& name,
                                       bool keepRows = false) const;
    // Prints a line on standard error.
    static void note(const QString& line);

    // A whole number or a number of an option's value; a bad one is a UsageError
    // that names the option.
    static int integer(const QString& option, const QString& text, int min, int max);
    static double number(const QString& option, const QString& text, const NumberReader& read);

private:
    void parse(const QStringList& arguments);
    // Prints --help's or --version's text when either is asked for.
    bool printedInformation() const;
    // Refuses an option that the mode asked for (series, records or none) does not take.
    void refuseOptionsOutside(const QString& mode) const;
    void readSeed();
    void readSeriesOptions();
    void readExperiment();
    // Writes the CSV to --output's file, and the experiment that makes it again beside it.
    void writeOutput(const std::string& csv) const;
    std::size_t baselineOf(const Sweep& sweep) const;
    void reportPrecision(const SeriesModel& model, const std::vector<std::optional<PointOutcome>>& outcomes) const;

    ProgramCommandLine program_;
    QCommandLineParser parser_;
    QList<QCommandLineOption> allOptions_;
    QStringList seriesOnly_;
    QStringList recordsOnly_;
    QString varyValue_;
    int runs_ = 0;
    std::uint64_t seed_ = 0;
    QString measures_;
    std::uint64_t recordedRun_ = 0;
    int threads_ = 1;
    std::optional<double> precision_;
    QMap<QString, QString> experiment_;
};

}  // namespace shell
