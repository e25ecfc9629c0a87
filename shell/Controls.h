// Control operations that Qt's widgets do not offer as such.
#pragma once

#include "Exception.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace shell {

// Lets a label show its whole caption, as an auto-sized label does: a word-wrapping
// label keeps its width and takes the height its text needs (never less than
// minimumHeight); any other label takes the size of its text.
void fitLabel(QLabel* label, int minimumHeight = 0);

// Keeps controls at their designed distance from the window edges they are
// anchored to while the window is resized: a control anchored to two opposite
// edges stretches between them, one anchored to the right or bottom edge alone
// moves with it. The designed size becomes the window's minimum size.
class Anchors {
public:
    // Records the window's current size as the designed one.
    explicit Anchors(QWidget* window);

    // Records the control's current geometry as the designed one.
    void add(QWidget* control, Qt::Edges edges);

    // Fits every anchored control to the window's current size.
    void apply() const;

private:
    struct Anchor {
        QWidget* control;
        Qt::Edges edges;
        QRect designed;
    };
    QWidget* window_;
    QSize designed_;
    std::vector<Anchor> anchors_;
};

// How a field is named in messages: "<group>, <caption>", where the caption is
// the field's visible label without its trailing colon. An empty group gives
// the caption alone.
QString fieldName(const QString& group, const QString& caption);

// An error about one field: "<name>: <message>".
Exception fieldError(const QString& name, const std::string& message);

// Runs read(); an Exception it throws comes back as fieldError(name, ...).
template <typename Read>
auto readField(const QString& name, Read&& read)
{
    try {
        return read();
    } catch (const Exception& error) {
        throw fieldError(name, error.message());
    }
}

}  // namespace shell
