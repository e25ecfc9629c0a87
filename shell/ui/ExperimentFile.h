// Experiments as the windows save and open them: a file the user chooses, read
// whole before anything in a window changes.
#pragma once

#include "shell/core/Exception.h"
#include "shell/headless/Experiment.h"

#include <QJsonObject>
#include <QString>

#include <optional>
#include <utility>

class QWidget;

namespace shell {

// "Эксперимент (*.json)".
QString ExperimentFilter();

// The program's experiment as a file holds it.
QByteArray ExperimentBytes(const QJsonObject& settings, const SeriesSetup& series);

// Asks where to save an experiment's bytes and saves them; false when the user
// cancels or the file could not be written (then a message says so).
bool saveExperiment(QWidget* parent, const QByteArray& experiment);

// The file the user chose, read; none when the user cancels. Throws Exception
// naming the file and what is wrong with it.
struct OpenedExperiment {
    QString path;
    ExperimentParts parts;
};
std::optional<OpenedExperiment> openExperimentFile(QWidget* parent);
[[noreturn]] void refuseExperiment(const QString& path, const std::string& reason);

// The file the user chose, with its settings read by `read` from the file's
// parts (throwing Exception for what it refuses, such as a parameter to vary
// that the settings do not have); none when the user cancels. A file that
// cannot be read or whose parts are refused throws before anything changed.
template <typename Read>
auto openExperiment(QWidget* parent, Read&& read)
    -> std::optional<std::pair<decltype(read(std::declval<const ExperimentParts&>())), SeriesSetup>>
{
    std::optional<OpenedExperiment> opened = openExperimentFile(parent);
    if (!opened)
        return std::nullopt;
    try {
        return std::pair{read(opened->parts), opened->parts.series};
    } catch (const Exception& error) {
        refuseExperiment(opened->path, error.message());
    }
}

}  // namespace shell
