// The command line both programs share: without options the window starts; with
// --series a series of runs is made without any window and printed as CSV.
#pragma once

#include "shell/core/Exception.h"
#include "shell/core/SeriesModel.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

class SeriesCommandLine {
public:
    // modelOptions: the options of the program's own model; varyWhat: how the
    // value of --vary names what varies, before its "=A:B:P".
    SeriesCommandLine(const QString& description, const QList<QCommandLineOption>& modelOptions,
                      const QString& varyWhat, const QString& varyDescription);
    ~SeriesCommandLine();

    // Without any option, returns nothing, and the program starts its window.
    // Otherwise the command line is handled here and the status returned: 0
    // after --help, --version or a series whose CSV `series` returned is
    // printed; 2 after bad input (UsageError); 1 after a model's error
    // (any other Exception).
    std::optional<int> run(int argc, char** argv, const std::function<std::string(SeriesCommandLine&)>& series);

    // For `series`: the options as given.
    bool isSet(const QString& option) const { return parser_.isSet(option); }
    QString value(const QString& option) const { return parser_.value(option); }
    int runs() const { return runs_; }
    std::uint64_t seed() const { return seed_; }

    // What --vary varies, before its "=", if it is given.
    std::optional<QString> varyWhat() const;
    // --vary's range "A:B:P": P evenly spaced values from A to B, the bounds read
    // by `readBound`.
    Sweep varySweep(std::string key, const NumberReader& readBound) const;

    // Runs the series of `model` on the threads asked for, once the seed it uses
    // has been printed, and returns its points; throws its failure as an
    // Exception whose message names parameters by `name`.
    std::vector<SeriesPoint> runSeries(std::shared_ptr<const SeriesModel> model, const ParameterNamer& name) const;

    // A whole number or a number of an option's value; a bad one is a UsageError
    // that names the option.
    static int integer(const QString& option, const QString& text, int min, int max);
    static double number(const QString& option, const QString& text, const NumberReader& read);

private:
    void parse(const QStringList& arguments);
    // Prints --help's or --version's text when either is asked for.
    bool printedInformation() const;
    void refuseSeriesOptions() const;
    void readSeriesOptions();

    QCommandLineParser parser_;
    QList<QCommandLineOption> seriesOptions_;
    QList<QCommandLineOption> allOptions_;
    QString varyValue_;
    int runs_ = 0;
    std::uint64_t seed_ = 0;
    int threads_ = 1;
};

}  // namespace shell
