// How the windows show the three flows: their titles and designed colours.
#pragma once

#include <QColor>
#include <QString>

namespace velmora {

// "Поток 1", "Поток 2", "Поток 3".
inline QString FlowTitle(int flow)
{
    return QStringLiteral("Поток %1").arg(flow);
}

// Red, green and yellow, flow by flow.
inline QColor FlowColor(int flow)
{
    switch (flow) {
    case 1:
        return {0xFF, 0x00, 0x00};
    case 2:
        return {0x00, 0x80, 0x00};
    default:
        return {0xFF, 0xFF, 0x00};
    }
}

}  // namespace velmora
