// A side's parameters are a list, as long as its distribution takes.
#include "Experiment.h"

#include "shell/core/Exception.h"
#include "shell/headless/Experiment.h"

#include <QJsonArray>

#include <algorithm>

namespace velmora {
namespace {

QJsonObject sideJson(const DistributionSetting& setting)
{
    QJsonArray parameters{setting.p1};
    if (ParameterCount(setting.kind) == 2)
        parameters.append(setting.p2);
    return {{QStringLiteral("distribution"), QString::fromUtf8(DistributionName(setting.kind))},
            {QStringLiteral("parameters"), parameters}};
}

DistributionSetting sideFromJson(const QJsonObject& object, const QString& path)
{
    shell::JsonFields fields(object, path);
    const QString name = fields.text(QStringLiteral("distribution"));
    const std::optional<DistributionKind> kind = ParseDistributionName(name.toStdString());
    if (!kind)
        throw shell::Exception(("файл эксперимента не прочитан: поле «" + path + "distribution» — «" + name
                                + "»: ожидается uniform, erlang, normal или exponential")
                                   .toStdString());
    const QJsonArray parameters = fields.array(QStringLiteral("parameters"));
    if (parameters.size() != ParameterCount(*kind)
        || std::any_of(parameters.begin(), parameters.end(), [](const QJsonValue& value) { return !value.isDouble(); }))
        throw shell::Exception(("файл эксперимента не прочитан: поле «" + path + "parameters» должно быть списком из "
                                + QString::number(ParameterCount(*kind)) + " чисел")
                                   .toStdString());
    fields.done();
    return {*kind, parameters[0].toDouble(), parameters.size() == 2 ? parameters[1].toDouble() : 0.0};
}

}  // namespace

QJsonObject SettingsJson(const SeriesSettings& settings)
{
    return {{QStringLiteral("arrival"), sideJson(settings.arrival)},
            {QStringLiteral("processing"), sideJson(settings.processing)}};
}

SeriesSettings SettingsFromJson(const QJsonObject& settings)
{
    shell::JsonFields fields(settings, QStringLiteral("settings."));
    const SeriesSettings result{sideFromJson(fields.object(QStringLiteral("arrival")), "settings.arrival."),
                                sideFromJson(fields.object(QStringLiteral("processing")), "settings.processing.")};
    fields.done();
    return result;
}

}  // namespace velmora
