// Control operations that Qt's widgets do not offer as such.
#pragma once

#include "Exception.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QEvent;
class QLabel;
class QMainWindow;
class QLocale;

namespace shell {

// Lets a label show its whole caption, as an auto-sized label does: a word-wrapping
// label keeps its width and takes the height its text needs (never less than
// minimumHeight); any other label takes the size of its text.
void fitLabel(QLabel* label, int minimumHeight = 0);

// Keeps controls at their designed distance from the edges of the area they
// are anchored to while the area is resized: a control anchored to two
// opposite edges stretches between them, one anchored to the right or bottom
// edge alone moves with it. The designed size becomes the area's minimum size.
class Anchors : public QObject {
public:
    // Records the area's current size as the designed one; follows its resizes.
    explicit Anchors(QWidget* area);

    // Records the control's current geometry as the designed one.
    void add(QWidget* control, Qt::Edges edges);

    // Fits every anchored control to the area's current size.
    void apply() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchor {
        QWidget* control;
        Qt::Edges edges;
        QRect designed;
    };
    QWidget* area_;
    QSize designed_;
    std::vector<Anchor> anchors_;
};

// Places a main window whose frame was designed at `position` with the size it
// has now: there when its whole frame fits within its screen's available area,
// otherwise moved, and then shrunk if it must, until it does. A window of
// fixed size keeps it unless it cannot fit. Whatever it loses of its designed
// size, its designed area must scroll.
void fitToScreen(QWidget* window, QPoint position, bool fixedSize);

// A main window whose designed area lies below its menu bar: its designed size
// is the area's grown by the menu bar, which is also the smallest a resizable
// one takes where the screen allows; then placed by fitToScreen.
void placeMainWindow(QMainWindow* window, const QWidget* designedArea, QPoint position, bool fixedSize);

// Shows a window of its own, or brings it to the front if it is shown already.
// A window shown for the first time opens near `owner`, and within the screen.
void bringToFront(QWidget* window, const QWidget* owner);

// n in the locale's format followed by the form of the Russian noun that fits it.
QString NumberWithNoun(const QLocale& locale, std::int64_t n, const char* one, const char* few, const char* many);

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
