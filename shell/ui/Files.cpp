// The save dialog is Qt's own; the default suffix follows the chosen file type,
// so that "picture" becomes "picture.svg" when SVG is chosen, and the dialog asks
// before it replaces that file.
#include "Files.h"

#include "Application.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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

// Where the dialogs open: where the user last saved or opened a file, at first
// in their documents.
QString& lastFolder()
{
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

std::optional<SaveTarget> askInDialog(QWidget* parent, const QString& title, const QStringList& filters)
{
    QString& folder = lastFolder();
    QFileDialog dialog(parent, title, QDir(folder).exists() ? folder : QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixOf(filters.value(0)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString typed = dialog.selectedFiles().front();
        folder = QFileInfo(typed).absolutePath();
        const SaveTarget target =
            resolveSaveTarget(typed, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())), filters);
        // The dialog asked about the name it was given; one that got another
        // extension is asked about here, and a "no" opens the dialog again.
        if (target.path == typed || !QFileInfo::exists(target.path))
            return target;
        const QString question =
            QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(QDir::toNativeSeparators(target.path));
        if (QMessageBox::question(&dialog, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes)
            return target;
    }
}

SaveDialog& saveDialog()
{
    static SaveDialog dialog = askInDialog;
    return dialog;
}

std::optional<QString> askOpenInDialog(QWidget* parent, const QString& title, const QStringList& filters)
{
    QString& folder = lastFolder();
    QFileDialog dialog(parent, title, QDir(folder).exists() ? folder : QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    folder = QFileInfo(dialog.selectedFiles().front()).absolutePath();
    return dialog.selectedFiles().front();
}

OpenDialog& openDialog()
{
    static OpenDialog dialog = askOpenInDialog;
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

SaveTarget resolveSaveTarget(const QString& path, int filter, const QStringList& filters)
{
    const QString suffix = QFileInfo(path).suffix();
    const auto isOf = [&suffix](const QString& type) {
        return suffixOf(type).compare(suffix, Qt::CaseInsensitive) == 0;
    };
    const bool offered = filter >= 0 && filter < filters.size();
    if (offered && isOf(filters[filter]))
        return {path, filter};
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (isOf(filters[i]))
            return {path, static_cast<int>(i)};
    }
    const int chosen = offered ? filter : 0;
    return {path + QLatin1Char('.') + suffixOf(filters.value(chosen)), chosen};
}

void setSaveDialog(SaveDialog dialog)
{
    saveDialog() = dialog ? std::move(dialog) : askInDialog;
}

std::optional<SaveTarget> askSavePath(QWidget* parent, const QString& title, const QStringList& filters)
{
    const std::optional<SaveTarget> answer = saveDialog()(parent, title, filters);
    if (!answer)
        return std::nullopt;
    return resolveSaveTarget(answer->path, answer->filter, filters);
}

void setOpenDialog(OpenDialog dialog)
{
    openDialog() = dialog ? std::move(dialog) : askOpenInDialog;
}

std::optional<QString> askOpenPath(QWidget* parent, const QString& title, const QStringList& filters)
{
    return openDialog()(parent, title, filters);
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

bool saveText(const QString& path, const std::string& text)
{
    return saveFile(path, [&text](QIODevice& device) {
        return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    });
}

}  // namespace shell
