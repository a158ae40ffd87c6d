#pragma once

#include <QStringList>

namespace veldra::test {

// ` xmlns:p0="urn:p0"` and on, `count` namespace declarations from the `from`th.
inline QString namespaceDeclarations(qint64 count, qint64 from = 0)
{
    QString text;
    for (qint64 i = from; i < from + count; ++i)
        text += QStringLiteral(" xmlns:p%1=\"urn:p%1\"").arg(i);
    return text;
}

// `pairs` times an apostrophe and a double quote: each change of quote kind was once one more
// argument of a concat(), and a few thousand nested deeper than the query engine allows.
inline QString quotePairs(int pairs)
{
    return QString(QStringLiteral("'\"")).repeated(pairs);
}

// Texts a file may hold that become query text when spliced between a query's quotes: each
// kind of quote, both, a union that selects everything, conditions that are always true or
// always false, long runs of both quotes and 64 KB of text and quotes mixed.
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
        quotePairs(1500),
        quotePairs(3000),
        QString(QStringLiteral("a'b\"c''d\"\"")).repeated(64 * 1024 / 10),
    };
    return values;
}

// Besides those, texts a tree may hold: empty, tab and line feed (which a file's attributes
// read as spaces), 100,000 quote pairs.
inline const QStringList& hostileTreeValues()
{
    static const QStringList values = QStringList(hostileQueryValues())
        << QString() << QStringLiteral("a\t'\n\"b") << quotePairs(100000);
    return values;
}

// Texts no tree holds (control characters, U+FFFE, U+FFFF), which a query may still be asked.
inline const QStringList& unstorableQueryValues()
{
    static const QStringList values = [] {
        QStringList all;
        for (char16_t c = 1; c < 0x20; ++c)
            if (c != u'\t' && c != u'\n' && c != u'\r')
                all << QStringLiteral("x'\"") + QChar(c) << QString(QChar(c));
        all << QStringLiteral("\uFFFE") << QStringLiteral("'\"\uFFFF");
        return all;
    }();
    return values;
}

} // namespace veldra::test
