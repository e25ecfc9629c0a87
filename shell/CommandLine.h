// The command line both programs share: without options the window starts; with
// --series a series of runs is made without any window and printed as CSV.
#pragma once

#include "Exception.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QThreadPool;

namespace shell {

class SeriesJob;

// Bad input on the command line. The message names the option; the program
// ends with status 2 and writes nothing on standard output.
class UsageError : public Exception {
public:
    using Exception::Exception;
};

// A UsageError "--<option>: <message>".
[[noreturn]] void ThrowUsageError(const QString& option, const std::string& message);

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

    // --vary's value split at its "=": what varies, and the evenly spaced
    // values from A to B, P of them.
    struct Vary {
        QString what;
        double from;
        double to;
        int points;
    };
    std::optional<Vary> vary() const;

    // Runs a series on the threads asked for, once the seed it uses has been
    // printed, and returns its CSV; throws its first run's failure.
    std::string runSeries(SeriesJob& job) const;

    // A whole number or a number of an option's value; a bad one is a UsageError
    // that names the option.
    static int integer(const QString& option, const QString& text, int min, int max);
    static double number(const QString& option, const QString& text);

private:
    void readSeriesOptions();

    QCommandLineParser parser_;
    QList<QCommandLineOption> seriesOptions_;
    QString varyValue_;
    int runs_ = 0;
    std::uint64_t seed_ = 0;
    std::unique_ptr<QThreadPool> pool_;
};

}  // namespace shell
