// How the windows name the goods and their measures.
#pragma once

#include "kestrin/model/Goods.h"

#include <QString>
#include <QStringList>

#include <array>

namespace kestrin {

// "1" to "10", and "Все товары" for the warehouse (good 0 or GoodsCount + 1).
inline QString GoodTitle(int good)
{
    return good >= 1 && good <= GoodsCount ? QString::number(good) : QStringLiteral("Все товары");
}

// Titles of a table's columns, broken into lines so that tables stay narrow;
// a chart joins the lines.
inline QString GoodStatisticTitle(GoodStatistic statistic)
{
    static const std::array<QString, GoodStatisticCount> titles{
        QStringLiteral("Спрос"),
        QStringLiteral("Потеряно\nмест"),
        QStringLiteral("Доля\nудовлетворённого\nспроса"),
        QStringLiteral("Доля дней\nбез нехватки"),
        QStringLiteral("Поставок"),
        QStringLiteral("Средний\nзапас"),
        QStringLiteral("Наименьший\nзапас"),
    };
    return titles[static_cast<std::size_t>(statistic)];
}

// Every statistic's title, in GoodStatistic's order.
inline QStringList GoodStatisticTitles()
{
    QStringList titles;
    for (int statistic = 0; statistic < GoodStatisticCount; ++statistic)
        titles << GoodStatisticTitle(static_cast<GoodStatistic>(statistic));
    return titles;
}

}  // namespace kestrin
