// A picture of the queueing network: each flow's path, in the flow's colour, from
// its source through its servers to the exit; after a run, each server's load.
#pragma once

#include "velmora/model/Servers.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>

namespace velmora {

// What the diagram writes on a server's box after a run.
struct ServerLoad {
    double utilisation;
    double queueMean;
};
using ServerLoads = std::array<ServerLoad, ServerCount>;

class NetworkDiagram : public QWidget {
    Q_OBJECT

public:
    explicit NetworkDiagram(QWidget* parent = nullptr);

    // The designed size with loads.
    static constexpr QSize LoadedSize{700, 320};

    // The designed size: the picture is painted at it, centred, and is never
    // squeezed below it, so that its captions stay legible. Loads take room
    // for their numbers and their legend.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Fills each server's box by its utilisation and writes its utilisation and
    // mean queue on it, under a legend of the fills; none shows the plain network.
    void showLoads(const std::optional<ServerLoads>& loads);

    // The utilisation classes: five steps of 0.2, light to dark blue, so that
    // they stay apart without colour vision and in grey print; 1 and above
    // falls in the last.
    static constexpr int LoadClassCount = 5;
    static int loadClass(double utilisation);
    static QColor loadColor(int loadClass);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString describe() const;

    std::optional<ServerLoads> loads_;
};

}  // namespace velmora
