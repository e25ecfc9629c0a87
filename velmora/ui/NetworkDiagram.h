// A picture of the queueing network: each flow's path, in the flow's colour, from
// its source through its servers to the exit.
#pragma once

#include <QWidget>

namespace velmora {

class NetworkDiagram : public QWidget {
    Q_OBJECT

public:
    explicit NetworkDiagram(QWidget* parent = nullptr);

    // The designed size: the picture is painted at it, centred, and is never
    // squeezed below it, so that its captions stay legible.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora
