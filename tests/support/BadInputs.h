// Texts that users type into number fields, from plainly wrong to borderline.
#pragma once

#include <QString>
#include <QStringList>

inline QStringList badInputs()
{
    return {"",     "   ",  "abc",  "1e999", "-1e999", "nan",          "inf",
            "0x10", "1,5",  "1.5",  QString::fromUtf8("١"), QString(100000, QLatin1Char('9')), "12a"};
}
