// An experiment file: what a program's main window and its series window show,
// kept as JSON that a user can read and edit, so that a result can be made
// again later. The programs add their own settings; this is the frame they
// share and the series' part.
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace shell {

// The series window's settings as an experiment keeps them.
struct SeriesSetup {
    int runs = 1000;
    std::optional<std::uint64_t> seed;  // none: a fresh one from the clock
    struct Vary {
        std::string parameter;  // the parameter's key, as --vary names it
        double from;
        double to;
        int points;
    };
    std::optional<Vary> vary;
    std::string measures;             // empty: the program's first
    std::optional<double> precision;  // a share, as --precision takes it
};

// The experiments of this version of the programs; a file of a later one is refused.
inline constexpr int ExperimentVersion = 1;

// Reads an experiment of `program`: its "settings" object, whose reading is
// the program's, and its "series". Throws Exception saying what is wrong with
// a file that is no JSON, another program's, of a later version, or with a
// field missing, unknown or of the wrong type.
struct ExperimentParts {
    QJsonObject settings;
    SeriesSetup series;
};
ExperimentParts ReadExperiment(const QByteArray& bytes, const QString& program);
QByteArray WriteExperiment(const QString& program, const QJsonObject& settings, const SeriesSetup& series);

// Reading a JSON object field by field: each getter throws Exception naming the
// field, as "settings.orders", when it is missing or not of its type; `done`
// refuses fields that nothing read, so that no typo passes unnoticed.
class JsonFields {
public:
    JsonFields(const QJsonObject& object, QString path);
    // Whether an optional field holds a value: it may be missing or null.
    bool has(const QString& name);
    double number(const QString& name);
    int integer(const QString& name, int min, int max);
    QString text(const QString& name);
    QJsonObject object(const QString& name);
    QJsonArray array(const QString& name);
    void done() const;

private:
    QJsonValue take(const QString& name);
    [[noreturn]] void wrong(const QString& name, const char* expected) const;

    QJsonObject object_;
    QString path_;
    QStringList read_;
};

// A file's experiment beside it: "series.csv" has "series.json".
QString ExperimentPathBeside(const QString& path);

}  // namespace shell
