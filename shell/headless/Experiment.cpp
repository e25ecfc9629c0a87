// Qt's JSON classes read and write the file; every field is checked before any
// of it is used, so that a damaged file changes nothing.
#include "Experiment.h"

#include "shell/core/Convert.h"
#include "shell/core/Exception.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace shell {
namespace {

[[noreturn]] void damaged(const QString& why)
{
    throw Exception(("файл эксперимента не прочитан: " + why).toStdString());
}

}  // namespace

JsonFields::JsonFields(const QJsonObject& object, QString path)
    : object_(object)
    , path_(std::move(path))
{
}

bool JsonFields::has(const QString& name)
{
    read_ << name;
    return object_.contains(name) && !object_.value(name).isNull();
}

QJsonValue JsonFields::take(const QString& name)
{
    read_ << name;
    if (!object_.contains(name))
        damaged(QStringLiteral("нет поля «%1%2»").arg(path_, name));
    return object_.value(name);
}

void JsonFields::wrong(const QString& name, const char* expected) const
{
    damaged(QStringLiteral("поле «%1%2» должно быть %3").arg(path_, name, QString::fromUtf8(expected)));
}

double JsonFields::number(const QString& name)
{
    const QJsonValue value = take(name);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        wrong(name, "числом");
    return value.toDouble();
}

int JsonFields::integer(const QString& name, int min, int max)
{
    const double value = number(name);
    if (value != std::trunc(value) || value < min || value > max)
        wrong(name, QStringLiteral("целым числом от %1 до %2").arg(min).arg(max).toUtf8().constData());
    return static_cast<int>(value);
}

QString JsonFields::text(const QString& name)
{
    const QJsonValue value = take(name);
    if (!value.isString())
        wrong(name, "строкой");
    return value.toString();
}

QJsonObject JsonFields::object(const QString& name)
{
    const QJsonValue value = take(name);
    if (!value.isObject())
        wrong(name, "объектом");
    return value.toObject();
}

QJsonArray JsonFields::array(const QString& name)
{
    const QJsonValue value = take(name);
    if (!value.isArray())
        wrong(name, "списком");
    return value.toArray();
}

void JsonFields::done() const
{
    for (auto field = object_.begin(); field != object_.end(); ++field) {
        if (!read_.contains(field.key()))
            damaged(QStringLiteral("неизвестное поле «%1%2»").arg(path_, field.key()));
    }
}

namespace {

SeriesSetup readSeries(const QJsonObject& object)
{
    JsonFields fields(object, QStringLiteral("series."));
    SeriesSetup series;
    series.runs = fields.integer(QStringLiteral("runs"), 2, 1'000'000);
    // A seed may need all 64 bits, which a JSON number cannot hold exactly.
    if (fields.has(QStringLiteral("seed"))) {
        try {
            series.seed = StrToUInt64(fields.text(QStringLiteral("seed")).toStdString());
        } catch (const Exception& error) {
            damaged(QStringLiteral("поле «series.seed»: ") + QString::fromStdString(error.message()));
        }
    }
    if (fields.has(QStringLiteral("vary"))) {
        JsonFields vary(fields.object(QStringLiteral("vary")), QStringLiteral("series.vary."));
        series.vary =
            SeriesSetup::Vary{vary.text(QStringLiteral("parameter")).toStdString(), vary.number(QStringLiteral("from")),
                              vary.number(QStringLiteral("to")), vary.integer(QStringLiteral("points"), 2, 50)};
        vary.done();
    }
    series.measures = fields.text(QStringLiteral("measures")).toStdString();
    if (fields.has(QStringLiteral("precision"))) {
        series.precision = fields.number(QStringLiteral("precision"));
        if (!(*series.precision > 0 && *series.precision < 1))
            damaged(QStringLiteral("поле «series.precision» должно быть больше 0 и меньше 1"));
    }
    fields.done();
    return series;
}

QJsonObject writeSeries(const SeriesSetup& series)
{
    QJsonObject object;
    object.insert(QStringLiteral("runs"), series.runs);
    object.insert(QStringLiteral("seed"), series.seed ? QJsonValue(QString::number(*series.seed)) : QJsonValue());
    if (series.vary) {
        object.insert(QStringLiteral("vary"),
                      QJsonObject{{QStringLiteral("parameter"), QString::fromStdString(series.vary->parameter)},
                                  {QStringLiteral("from"), series.vary->from},
                                  {QStringLiteral("to"), series.vary->to},
                                  {QStringLiteral("points"), series.vary->points}});
    } else {
        object.insert(QStringLiteral("vary"), QJsonValue());
    }
    object.insert(QStringLiteral("measures"), QString::fromStdString(series.measures));
    object.insert(QStringLiteral("precision"), series.precision ? QJsonValue(*series.precision) : QJsonValue());
    return object;
}

}  // namespace

ExperimentParts ReadExperiment(const QByteArray& bytes, const QString& program)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        damaged(QStringLiteral("это не JSON (%1, знак %2)").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        damaged(QStringLiteral("это не объект JSON"));
    JsonFields fields(document.object(), QString());
    const QString owner = fields.text(QStringLiteral("program"));
    if (owner != program)
        damaged(QStringLiteral("это эксперимент программы «%1», а не %2").arg(owner, program));
    const double version = fields.number(QStringLiteral("version"));
    if (version > ExperimentVersion)
        damaged(QStringLiteral("он записан более новой версией программы (формат %1, эта читает формат %2)")
                    .arg(version)
                    .arg(ExperimentVersion));
    if (version != ExperimentVersion)
        damaged(QStringLiteral("неизвестная версия формата %1").arg(version));
    ExperimentParts parts{fields.object(QStringLiteral("settings")),
                          readSeries(fields.object(QStringLiteral("series")))};
    fields.done();
    return parts;
}

QByteArray WriteExperiment(const QString& program, const QJsonObject& settings, const SeriesSetup& series)
{
    const QJsonObject document{{QStringLiteral("program"), program},
                               {QStringLiteral("version"), ExperimentVersion},
                               {QStringLiteral("settings"), settings},
                               {QStringLiteral("series"), writeSeries(series)}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

QString ExperimentPathBeside(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return (suffix.isEmpty() ? path : path.chopped(suffix.size() + 1)) + QStringLiteral(".json");
}

}  // namespace shell
