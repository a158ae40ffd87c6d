#pragma once

#include <QStringList>

namespace veldra::test {

// Texts a file may hold that become query text when spliced between a query's quotes: each
// kind of quote, both, a union that selects everything, conditions that are always true or
// always false.
inline const QStringList& hostileQueryValues()
{
    static const QStringList values{
        QStringLiteral("0067\"6344"),
        QStringLiteral("O'Brien"),
        QStringLiteral("both ' and \" quotes"),
        QStringLiteral("\"]|//*|//*[@x=\""),
        QStringLiteral("\" or \"1\"=\"1"),
        QStringLiteral("' or '1'='1"),
        QStringLiteral("\"][1=2][@a=\""),
    };
    return values;
}

} // namespace veldra::test
