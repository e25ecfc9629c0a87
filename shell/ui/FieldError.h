// Errors about one field of a window: how messages name the field, and the
// focus that goes to it when the error is shown.
#pragma once

#include "shell/core/Exception.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <exception>
#include <string>

namespace shell {

// How a field is named in messages: "<group>, <caption>", where the caption is
// the field's visible label without its trailing colon. An empty group gives
// the caption alone.
QString fieldName(const QString& group, const QString& caption);

// An error about one field, usually "<name>: <message>". When it is shown, the
// focus goes to the field, its text selected, so the user can type the correction at once.
class FieldError : public Exception {
public:
    FieldError(std::string message, QWidget* field);
    FieldError(const QString& name, const std::string& message, QWidget* field);
    QWidget* field() const { return field_; }

private:
    QPointer<QWidget> field_;
};

// Runs read(); an Exception it throws comes back as a FieldError of `field`.
template <typename Read>
auto readField(QWidget* field, const QString& name, Read&& read)
{
    try {
        return read();
    } catch (const Exception& error) {
        throw FieldError(name, error.message(), field);
    }
}

// Focuses the field of a FieldError and selects its text; other errors leave the focus alone.
void focusField(const std::exception& error);

}  // namespace shell
