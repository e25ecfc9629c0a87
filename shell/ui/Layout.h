// Controls of a designed form as the form describes them: a label sized to its
// caption, controls anchored to the edges of their area, and content that
// scrolls only when it must.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

class QEvent;
class QLabel;

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

// The content of a resizable scroll area that fills the viewport while it has
// room there and scrolls only below its minimum height. A scroll area gives
// content whose text wraps its preferred height for the width instead, so a
// stretching part of it, such as a results area, would not shrink first.
class ScrollContent : public QWidget {
public:
    using QWidget::QWidget;
    int heightForWidth(int width) const override;
};

}  // namespace shell
