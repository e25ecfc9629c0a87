// Texts that users type into number fields: ones that are no number in any
// field, and fractions, which only whole-number fields refuse.
#pragma once

#include <QString>
#include <QStringList>

inline QStringList notNumbers()
{
    return {"",
            "   ",
            "abc",
            "1e999",
            "-1e999",
            "nan",
            "inf",
            "0x10",
            QString::fromUtf8("١"),
            QString(100000, QLatin1Char('9')),
            "12a"};
}

inline QStringList fractions()
{
    return {"1,5", "1.5"};
}
