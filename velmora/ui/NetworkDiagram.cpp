// Painted in designed coordinates: three rows of sources and entry servers on the
// left, the shared server between the rows of flows 1 and 2, the final server
// to the right. Lines get a dark casing so that flow 3's yellow shows on white.
#include "NetworkDiagram.h"

#include "Flows.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace velmora {
namespace {

constexpr QSize designedSize(700, 240);
constexpr std::array<double, 3> rowY{45, 125, 205};
const QColor ink(40, 40, 40);

void drawArrow(QPainter& painter, QPointF from, QPointF to, const QColor& color)
{
    const QLineF line(from, to);
    const QPointF along = (to - from) / line.length();
    const QPointF across(-along.y(), along.x());
    const QPointF base = to - along * 11;
    for (const auto& [pen, width] : {std::pair{ink, 6.0}, {color, 3.5}}) {
        painter.setPen(QPen(pen, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, base);
    }
    painter.setPen(QPen(ink, 1));
    painter.setBrush(color);
    painter.drawPolygon(QPolygonF({to, base + across * 6, base - across * 6}));
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

// A server: a box with its name in bold over the lines below it.
void drawServer(QPainter& painter, const QRectF& box, const QString& name, const QString& rest = {})
{
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(QColor(0xF2, 0xF2, 0xF2));
    painter.drawRoundedRect(box, 6, 6);
    const QFont plain = painter.font();
    const QRectF inner = box.adjusted(4, 4, -4, -4);
    painter.setFont(bold(plain));
    QRectF used;
    painter.drawText(inner, Qt::AlignHCenter | (rest.isEmpty() ? Qt::AlignVCenter : Qt::AlignTop) | Qt::TextWordWrap,
                     name, &used);
    painter.setFont(plain);
    if (!rest.isEmpty())
        painter.drawText(inner.adjusted(0, used.height() + 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         rest);
}

}  // namespace

NetworkDiagram::NetworkDiagram(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Схема сети"));
    setAccessibleDescription(QStringLiteral(
        "Потоки 1, 2 и 3 входят каждый в свой входной сервер. Оттуда потоки 1 и 2 идут на общий сервер, где поток 1 "
        "имеет приоритет над потоком 2, а затем на последний сервер. Поток 3 идёт со своего входного сервера прямо на "
        "последний сервер, где потоки 1 и 2 имеют приоритет над потоком 3. С последнего сервера задачи всех потоков "
        "уходят из сети."));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize NetworkDiagram::sizeHint() const
{
    return designedSize;
}

QSize NetworkDiagram::minimumSizeHint() const
{
    return designedSize;
}

void NetworkDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.translate((width() - designedSize.width()) / 2.0, (height() - designedSize.height()) / 2.0);
    std::array<QColor, 3> flow;
    for (int f = 0; f < 3; ++f)
        flow[f] = FlowColor(f + 1);

    // Sources: a dot in the flow's colour, its name and its interval.
    static const char* const intervals[] = {"интервал 4x + 1", "интервал 2x + 1", "интервал x + 1"};
    QFont small = painter.font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    for (int f = 0; f < 3; ++f) {
        const double y = rowY[f];
        painter.setPen(QPen(ink, 1));
        painter.setBrush(flow[f]);
        painter.drawEllipse(QPointF(12, y), 8, 8);
        painter.setFont(bold(font()));
        painter.drawText(QRectF(26, y - 24, 110, 20), Qt::AlignLeft | Qt::AlignBottom,
                         QStringLiteral("Поток %1").arg(f + 1));
        painter.setFont(small);
        painter.drawText(QRectF(26, y + 4, 110, 20), Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(intervals[f]));
        painter.setFont(font());
        drawArrow(painter, QPointF(24, y), QPointF(158, y), flow[f]);
    }

    const QRectF shared(330, 38, 130, 94);
    const QRectF final(525, 78, 130, 110);
    for (int f = 0; f < 3; ++f) {
        const double y = rowY[f];
        drawServer(painter, QRectF(160, y - 24, 112, 48), QStringLiteral("Входной сервер"));
        // Flows 1 and 2 meet at the shared server; flow 3 goes straight on to the final one.
        const double finalY = final.top() + 24 + 30 * f;
        if (f < 2) {
            const double sharedY = shared.top() + 30 + 28 * f;
            drawArrow(painter, QPointF(272, y), QPointF(shared.left(), sharedY), flow[f]);
            drawArrow(painter, QPointF(shared.right(), sharedY), QPointF(final.left(), finalY), flow[f]);
        } else {
            drawArrow(painter, QPointF(272, y), QPointF(final.left(), finalY), flow[f]);
        }
        drawArrow(painter, QPointF(final.right(), finalY), QPointF(designedSize.width() - 2, finalY), flow[f]);
    }
    drawServer(painter, shared, QStringLiteral("Общий сервер"),
               QStringLiteral("приоритет: поток\u00A01 над потоком\u00A02"));
    drawServer(painter, final, QStringLiteral("Последний сервер"),
               QStringLiteral("приоритет: потоки\u00A01 и\u00A02 над потоком\u00A03"));
    painter.setPen(ink);
    painter.drawText(QRectF(final.right() + 2, final.top() - 4, 44, 24), Qt::AlignCenter, QStringLiteral("выход"));
}

}  // namespace velmora
