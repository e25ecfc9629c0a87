// An experiment is named by the program that saves it, so that one program's
// file is refused by the other with a message saying so.
#include "ExperimentFile.h"

#include "Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace shell {

QString ExperimentFilter()
{
    return QStringLiteral("Эксперимент (*.json)");
}

QByteArray ExperimentBytes(const QJsonObject& settings, const SeriesSetup& series)
{
    return WriteExperiment(QCoreApplication::applicationName(), settings, series);
}

bool saveExperiment(QWidget* parent, const QByteArray& experiment)
{
    const auto target = askSavePath(parent, QStringLiteral("Сохранить эксперимент"), {ExperimentFilter()});
    return target && saveText(target->path, experiment.toStdString());
}

void refuseExperiment(const QString& path, const std::string& reason)
{
    throw Exception("Эксперимент не открыт: «" + QDir::toNativeSeparators(path).toStdString() + "» — " + reason);
}

std::optional<OpenedExperiment> openExperimentFile(QWidget* parent)
{
    const std::optional<QString> path =
        askOpenPath(parent, QStringLiteral("Открыть эксперимент"), {ExperimentFilter()});
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        refuseExperiment(*path, "файл не читается: " + file.errorString().toStdString());
    try {
        return OpenedExperiment{*path, ReadExperiment(file.readAll(), QCoreApplication::applicationName())};
    } catch (const Exception& error) {
        refuseExperiment(*path, error.message());
    }
}

}  // namespace shell
