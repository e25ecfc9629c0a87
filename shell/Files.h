// Files the user asks for: where to save them, and writing them whole or not at all.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QIODevice;
class QWidget;

namespace shell {

// The file the user chose and the index of the file type chosen with it.
struct SaveTarget {
    QString path;
    int filter;
};

// Asks where to save, offering the file types of `filters` ("Рисунок SVG (*.svg)");
// nothing when the user cancels. An existing file is replaced only after the
// dialog's confirmation. Replaceable so that tests can answer instead of a user.
using SaveDialog =
    std::function<std::optional<SaveTarget>(QWidget* parent, const QString& title, const QStringList& filters)>;
void setSaveDialog(SaveDialog dialog);
std::optional<SaveTarget> askSavePath(QWidget* parent, const QString& title, const QStringList& filters);

// Writes a file through a temporary one that replaces it only when `write`
// succeeded, so a failure never leaves a broken file; a failure is shown as one
// message naming the file. Returns whether the file was written.
bool saveFile(const QString& path, const std::function<bool(QIODevice& device)>& write);

}  // namespace shell
