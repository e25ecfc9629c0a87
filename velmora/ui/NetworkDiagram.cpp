// Painted in designed coordinates: three rows of sources and entry servers on the
// left, the shared server between the rows of flows 1 and 2, the final server
// to the right, and with loads their legend below. Lines get a dark casing so
// that flow 3's yellow shows on white.
#include "NetworkDiagram.h"

#include "Flows.h"
#include "ServerTitles.h"

#include "shell/ui/NumberText.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {
namespace {

constexpr QSize designedSize(700, 240);
constexpr std::array<double, 3> plainRows{45, 125, 205};
// The boxes grow by two lines of numbers, the rows apart with them, and the
// legend goes below them.
constexpr std::array<double, 3> loadedRows{50, 140, 230};
const QColor ink(40, 40, 40);
const QColor plainFill(0xF2, 0xF2, 0xF2);
// Blues from light to dark; the last two take white text.
constexpr std::array<QRgb, NetworkDiagram::LoadClassCount> loadFills{0xDEEBF7, 0x9ECAE1, 0x4292C6, 0x2171B5, 0x08306B};
constexpr int firstDarkClass = 3;

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

// A server: a box in `fill` with its name in bold over the lines below it.
void drawServer(QPainter& painter, const QRectF& box, const QColor& fill, const QColor& text, const QString& name,
                const QString& rest = {})
{
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(text);
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

QString utilisationText(const QLocale& locale, double utilisation)
{
    return locale.toString(utilisation, 'f', 3);
}

QString queueText(const QLocale& locale, double queue)
{
    return locale.toString(queue, 'f', 2);
}

// The swatches of the load classes with their ranges, and what the numbers mean.
void drawLegend(QPainter& painter, double top, const QFont& font)
{
    const QLocale locale = shell::NumberLocale();
    painter.setFont(font);
    painter.setPen(ink);
    QRectF used;
    painter.drawText(QRectF(0, top, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Загрузка:"), &used);
    double x = used.right() + 10;
    for (int k = 0; k < NetworkDiagram::LoadClassCount; ++k) {
        painter.setPen(QPen(ink, 1));
        painter.setBrush(NetworkDiagram::loadColor(k));
        painter.drawRect(QRectF(x, top + 2, 24, 14));
        const QString range = QStringLiteral("%1–%2").arg(locale.toString(k * 0.2), locale.toString((k + 1) * 0.2));
        painter.drawText(QRectF(x + 28, top, 90, 18), Qt::AlignLeft | Qt::AlignVCenter, range, &used);
        x = used.right() + 14;
    }
    painter.drawText(QRectF(0, top + 22, designedSize.width(), 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("На серверах: загрузка — доля времени, когда сервер занят; очередь — сколько "
                                    "задач в среднем ждут его."));
}

}  // namespace

NetworkDiagram::NetworkDiagram(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Схема сети"));
    setAccessibleDescription(describe());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize NetworkDiagram::sizeHint() const
{
    return loads_ ? LoadedSize : designedSize;
}

QSize NetworkDiagram::minimumSizeHint() const
{
    return sizeHint();
}

int NetworkDiagram::loadClass(double utilisation)
{
    return std::clamp(static_cast<int>(std::floor(utilisation * LoadClassCount)), 0, LoadClassCount - 1);
}

QColor NetworkDiagram::loadColor(int loadClass)
{
    return QColor::fromRgb(loadFills[static_cast<std::size_t>(loadClass)]);
}

void NetworkDiagram::showLoads(const std::optional<ServerLoads>& loads)
{
    const bool resized = loads.has_value() != loads_.has_value();
    loads_ = loads;
    setAccessibleDescription(describe());
    if (resized)
        updateGeometry();
    update();
}

QString NetworkDiagram::describe() const
{
    QString text = QStringLiteral(
        "Потоки 1, 2 и 3 входят каждый в свой входной сервер. Оттуда потоки 1 и 2 идут на общий сервер, где поток 1 "
        "имеет приоритет над потоком 2, а затем на последний сервер. Поток 3 идёт со своего входного сервера прямо на "
        "последний сервер, где потоки 1 и 2 имеют приоритет над потоком 3. С последнего сервера задачи всех потоков "
        "уходят из сети.");
    if (!loads_)
        return text;
    const QLocale locale = shell::NumberLocale();
    for (int s = 0; s < ServerCount; ++s) {
        const ServerLoad& load = (*loads_)[static_cast<std::size_t>(s)];
        text += QStringLiteral(" %1: загрузка %2, средняя очередь %3.")
                    .arg(ServerTitle(static_cast<Server>(s)), utilisationText(locale, load.utilisation),
                         queueText(locale, load.queueMean));
    }
    return text;
}

void NetworkDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QSize size = sizeHint();
    painter.translate((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
    const std::array<double, 3>& rowY = loads_ ? loadedRows : plainRows;
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

    const QLocale locale = shell::NumberLocale();
    // A server's fill, text colour and numbers, as far as there are loads.
    const auto load = [this, &locale](Server server) {
        if (!loads_)
            return std::tuple{plainFill, ink, QString()};
        const ServerLoad& l = (*loads_)[static_cast<std::size_t>(server)];
        const int k = loadClass(l.utilisation);
        return std::tuple{loadColor(k), k >= firstDarkClass ? QColor(Qt::white) : ink,
                          QStringLiteral("загрузка %1\nочередь %2")
                              .arg(utilisationText(locale, l.utilisation), queueText(locale, l.queueMean))};
    };
    const auto server = [&painter, &load](Server which, const QRectF& box, const QString& name, const QString& rest) {
        const auto [fill, text, numbers] = load(which);
        const QString lines = rest.isEmpty() || numbers.isEmpty() ? rest + numbers : rest + QLatin1Char('\n') + numbers;
        drawServer(painter, box, fill, text, name, lines);
    };
    const double entryHalf = loads_ ? 36 : 24;
    const QRectF shared = loads_ ? QRectF(330, 30, 130, 126) : QRectF(330, 38, 130, 94);
    const QRectF final = loads_ ? QRectF(525, 80, 130, 150) : QRectF(525, 78, 130, 110);
    for (int f = 0; f < 3; ++f) {
        const double y = rowY[f];
        server(static_cast<Server>(f), QRectF(160, y - entryHalf, 112, 2 * entryHalf), QStringLiteral("Входной сервер"),
               {});
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
    server(Server::Shared, shared, QStringLiteral("Общий сервер"),
           QStringLiteral("приоритет: поток\u00A01 над потоком\u00A02"));
    server(Server::Final, final, QStringLiteral("Последний сервер"),
           QStringLiteral("приоритет: потоки\u00A01 и\u00A02 над потоком\u00A03"));
    painter.setPen(ink);
    painter.drawText(QRectF(final.right() + 2, final.top() - 4, 44, 24), Qt::AlignCenter, QStringLiteral("выход"));
    if (loads_)
        drawLegend(painter, rowY.back() + entryHalf + 14, font());
}

}  // namespace velmora
