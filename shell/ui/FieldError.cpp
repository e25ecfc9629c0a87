// Field names follow the captions the user sees.
#include "FieldError.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QWindow>

namespace shell {

QString fieldName(const QString& group, const QString& caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return group.isEmpty() ? name : group + QStringLiteral(", ") + name;
}

FieldError::FieldError(std::string message, QWidget* field)
    : Exception(std::move(message))
    , field_(field)
{
}

FieldError::FieldError(const QString& name, const std::string& message, QWidget* field)
    : FieldError(name.toStdString() + ": " + message, field)
{
}

void focusField(const std::exception& error)
{
    const auto* fieldError = dynamic_cast<const FieldError*>(&error);
    QWidget* field = fieldError ? fieldError->field() : nullptr;
    if (field == nullptr || !field->isVisible())
        return;
    // The field may be in another window than the one that reported it.
    if (QGuiApplication::focusWindow() != field->window()->windowHandle()) {
        field->window()->raise();
        field->window()->activateWindow();
    }
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

}  // namespace shell
