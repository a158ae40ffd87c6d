#include "platform/word/detail/Styles.h"

#include <QHash>

namespace veldra::word::detail {

namespace {

// Built-in styles whose UI name is not simply their stored name in title case.
const QHash<QString, QString>& irregularNames()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("normal"), QStringLiteral("Normal")},
        {QStringLiteral("annotation text"), QStringLiteral("Comment Text")},
        {QStringLiteral("annotation reference"), QStringLiteral("Comment Reference")},
        {QStringLiteral("annotation subject"), QStringLiteral("Comment Subject")},
        {QStringLiteral("macro"), QStringLiteral("Macro Text")},
        {QStringLiteral("toa heading"), QStringLiteral("TOA Heading")},
        {QStringLiteral("toc heading"), QStringLiteral("TOC Heading")},
        {QStringLiteral("table of figures"), QStringLiteral("Table of Figures")},
        {QStringLiteral("table of authorities"), QStringLiteral("Table of Authorities")},
        {QStringLiteral("html top of form"), QStringLiteral("z-Top of Form")},
        {QStringLiteral("html bottom of form"), QStringLiteral("z-Bottom of Form")},
        {QStringLiteral("html preformatted"), QStringLiteral("HTML Preformatted")},
        {QStringLiteral("html address"), QStringLiteral("HTML Address")},
        {QStringLiteral("html cite"), QStringLiteral("HTML Cite")},
        {QStringLiteral("html code"), QStringLiteral("HTML Code")},
        {QStringLiteral("html acronym"), QStringLiteral("HTML Acronym")},
        {QStringLiteral("html definition"), QStringLiteral("HTML Definition")},
        {QStringLiteral("html keyboard"), QStringLiteral("HTML Keyboard")},
        {QStringLiteral("html sample"), QStringLiteral("HTML Sample")},
        {QStringLiteral("html typewriter"), QStringLiteral("HTML Typewriter")},
        {QStringLiteral("html variable"), QStringLiteral("HTML Variable")},
        {QStringLiteral("e-mail signature"), QStringLiteral("E-mail Signature")},
        {QStringLiteral("envelope address"), QStringLiteral("Envelope Address")},
        {QStringLiteral("envelope return"), QStringLiteral("Envelope Return")},
        {QStringLiteral("plain text"), QStringLiteral("Plain Text")},
        {QStringLiteral("no list"), QStringLiteral("No List")},
        {QStringLiteral("outline list 1"), QStringLiteral("1 / a / i")},
        {QStringLiteral("outline list 2"), QStringLiteral("1 / 1.1 / 1.1.1")},
        {QStringLiteral("outline list 3"), QStringLiteral("Article / Section")},
    };
    return names;
}

QString titleCase(const QString& name)
{
    QString result = name;
    bool wordStart = true;
    for (QChar& c : result) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    // Tables of contents and indexes keep their abbreviation upper case ("TOC 1").
    if (result.startsWith(QLatin1String("Toc ")))
        result.replace(0, 3, QStringLiteral("TOC"));
    return result;
}

} // namespace

QString uiStyleName(const QString& storedName, bool customStyle)
{
    if (customStyle || storedName != storedName.toLower())
        return storedName;
    const auto& irregular = irregularNames();
    if (const auto it = irregular.constFind(storedName); it != irregular.cend())
        return *it;
    return titleCase(storedName);
}

} // namespace veldra::word::detail
