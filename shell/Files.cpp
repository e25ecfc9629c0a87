// The save dialog is Qt's own; the default suffix follows the chosen file type,
// so that "picture" becomes "picture.svg" when SVG is chosen.
#include "Files.h"

#include "Application.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace shell {
namespace {

QString suffixOf(const QString& filter)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral(R"(\*\.(\w+))")).match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<SaveTarget> askInDialog(QWidget* parent, const QString& title, const QStringList& filters)
{
    // The dialog opens where the user last saved, at first in their documents.
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(parent, title, QDir(folder).exists() ? folder : QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixOf(filters.value(0)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().front();
    folder = QFileInfo(path).absolutePath();
    // A typed suffix of another file type chooses that type.
    auto chosen = filters.indexOf(dialog.selectedNameFilter());
    const QString suffix = QFileInfo(path).suffix();
    if (suffixOf(filters.value(chosen)).compare(suffix, Qt::CaseInsensitive) != 0) {
        for (qsizetype i = 0; i < filters.size(); ++i) {
            if (suffixOf(filters[i]).compare(suffix, Qt::CaseInsensitive) == 0)
                chosen = i;
        }
    }
    return SaveTarget{path, static_cast<int>(chosen)};
}

SaveDialog& saveDialog()
{
    static SaveDialog dialog = askInDialog;
    return dialog;
}

QString reason(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return QStringLiteral("такой папки нет, или в неё нельзя писать");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError:
        return QStringLiteral("прежний файл не удалось заменить");
    default:
        return QStringLiteral("запись не удалась, возможно, диск заполнен");
    }
}

}  // namespace

void setSaveDialog(SaveDialog dialog)
{
    saveDialog() = dialog ? std::move(dialog) : askInDialog;
}

std::optional<SaveTarget> askSavePath(QWidget* parent, const QString& title, const QStringList& filters)
{
    return saveDialog()(parent, title, filters);
}

bool saveFile(const QString& path, const std::function<bool(QIODevice& device)>& write)
{
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && write(file) && file.commit();
    if (!saved) {
        const QFileDevice::FileError error =
            file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
        file.cancelWriting();
        showError(
            QStringLiteral("Не удалось сохранить файл «%1»: %2").arg(QDir::toNativeSeparators(path), reason(error)));
    }
    return saved;
}

}  // namespace shell
