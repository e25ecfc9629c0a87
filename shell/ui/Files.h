// Files the user asks for: where to save them, and writing them whole or not at all.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QIODevice;
class QWidget;

namespace shell {

// A file to save and the index of its file type among the offered ones.
struct SaveTarget {
    QString path;
    int filter;
};

// What a save dialog's answer saves, so that a file's name never contradicts its
// contents: an extension of an offered type chooses that type; any other
// extension, or none, stays and gets the chosen type's own after it ("typed.jpg"
// as PNG becomes "typed.jpg.png"). A chosen type that was not offered (a dialog
// reports -1 for a type it does not know) counts as the first. The filter of the
// result is always one of `filters`, which must not be empty.
SaveTarget resolveSaveTarget(const QString& path, int filter, const QStringList& filters);

// Asks where to save, offering the file types of `filters` ("Рисунок SVG (*.svg)");
// nothing when the user cancels. The answer is resolved by resolveSaveTarget, and
// an existing file is replaced only after the user confirmed it. Replaceable so
// that tests can answer instead of a user; their answers are resolved as well.
using SaveDialog =
    std::function<std::optional<SaveTarget>(QWidget* parent, const QString& title, const QStringList& filters)>;
void setSaveDialog(SaveDialog dialog);
std::optional<SaveTarget> askSavePath(QWidget* parent, const QString& title, const QStringList& filters);

// Asks which file to open, offering the file types of `filters`; nothing when
// the user cancels. Replaceable as the save dialog is.
using OpenDialog =
    std::function<std::optional<QString>(QWidget* parent, const QString& title, const QStringList& filters)>;
void setOpenDialog(OpenDialog dialog);
std::optional<QString> askOpenPath(QWidget* parent, const QString& title, const QStringList& filters);

// Writes a file through a temporary one that replaces it only when `write`
// succeeded, so a failure never leaves a broken file; a failure is shown as one
// message naming the file. Returns whether the file was written.
bool saveFile(const QString& path, const std::function<bool(QIODevice& device)>& write);

// saveFile of a text made beforehand, byte for byte.
bool saveText(const QString& path, const std::string& text);

}  // namespace shell
