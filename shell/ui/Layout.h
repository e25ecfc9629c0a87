// Controls of a designed form as the form describes them: a label sized to its
// caption, and controls anchored to the edges of their area.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QEvent;
class QLabel;
class QWidget;

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

}  // namespace shell
