// How the windows name the servers and their measures.
#pragma once

#include "velmora/model/Servers.h"

#include <QString>
#include <QStringList>

#include <array>

namespace velmora {

inline QString ServerTitle(Server server)
{
    const std::string_view name = ServerName(server);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// Titles of a table's columns, broken into lines so that tables stay narrow;
// a chart joins the lines.
inline QString ServerStatisticTitle(ServerStatistic statistic)
{
    static const std::array<QString, ServerStatisticCount> titles{
        QStringLiteral("Задач"),
        QStringLiteral("Загрузка"),
        QStringLiteral("Среднее\nожидание"),
        QStringLiteral("Наибольшее\nожидание"),
        QStringLiteral("Средняя\nочередь"),
        QStringLiteral("В среднем\nна сервере"),
        QStringLiteral("Задач на\n1000 тиков"),
    };
    return titles[static_cast<std::size_t>(statistic)];
}

// Every statistic's title, in ServerStatistic's order.
inline QStringList ServerStatisticTitles()
{
    QStringList titles;
    for (int statistic = 0; statistic < ServerStatisticCount; ++statistic)
        titles << ServerStatisticTitle(static_cast<ServerStatistic>(statistic));
    return titles;
}

}  // namespace velmora
