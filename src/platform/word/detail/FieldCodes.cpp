#include "platform/word/detail/FieldCodes.h"

#include "platform/word/WordConstants.h"

#include <QHash>
#include <QStringList>

namespace veldra::word::detail {

namespace {

// The code split into words; a quoted argument is one word without its quotes.
QStringList words(const QString& code)
{
    QStringList result;
    QString current;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : code) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
            continue;
        }
        if (!quoted && c.isSpace()) {
            if (inWord)
                result.append(current);
            current.clear();
            inWord = false;
            continue;
        }
        current += c;
        inWord = true;
    }
    if (inWord)
        result.append(current);
    return result;
}

} // namespace

int fieldTypeOf(const QString& code)
{
    static const QHash<QString, int> types{
        {QStringLiteral("REF"), field_type::Ref},           {QStringLiteral("SEQ"), field_type::Seq},
        {QStringLiteral("TOC"), field_type::Toc},           {QStringLiteral("NUMPAGES"), field_type::NumPages},
        {QStringLiteral("DATE"), field_type::Date},         {QStringLiteral("TIME"), field_type::Time},
        {QStringLiteral("PAGE"), field_type::Page},         {QStringLiteral("QUOTE"), field_type::Quote},
        {QStringLiteral("PAGEREF"), field_type::PageRef},   {QStringLiteral("SYMBOL"), field_type::Symbol},
        {QStringLiteral("MERGEFIELD"), field_type::MergeField},
        {QStringLiteral("INCLUDEPICTURE"), field_type::IncludePicture},
        {QStringLiteral("NOTEREF"), field_type::NoteRef},   {QStringLiteral("DOCPROPERTY"), field_type::DocProperty},
        {QStringLiteral("HYPERLINK"), field_type::Hyperlink}, {QStringLiteral("LISTNUM"), field_type::ListNum},
    };
    const QStringList parts = words(code);
    if (parts.isEmpty())
        return field_type::Empty;
    const QString keyword = parts.first().toUpper();
    if (const auto it = types.constFind(keyword); it != types.cend())
        return *it;
    // A field whose code is only a bookmark name refers to that bookmark.
    return keyword.startsWith(QLatin1Char('_')) || (parts.size() == 1 && !keyword.isEmpty() && keyword[0].isLetter())
               ? field_type::Ref
               : field_type::Empty;
}

HyperlinkTarget hyperlinkTargetOf(const QString& code)
{
    HyperlinkTarget target;
    const QStringList parts = words(code);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.compare(QLatin1String("\\l"), Qt::CaseInsensitive) == 0 && i + 1 < parts.size())
            target.subAddress = parts[++i];
        else if (part.compare(QLatin1String("\\o"), Qt::CaseInsensitive) == 0
                 || part.compare(QLatin1String("\\t"), Qt::CaseInsensitive) == 0)
            ++i;    // a tooltip or a target frame: not where the link goes
        else if (part.startsWith(QLatin1Char('\\')))
            continue;
        else if (target.address.isEmpty())
            target.address = part;
    }
    return target;
}

} // namespace veldra::word::detail
