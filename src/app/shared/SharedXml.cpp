#include "app/shared/SharedProcedures.h"

#include "app/log/Log.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

// Elements that stand inside a line of SPL text: a break beside them would be read as a blank
// between words ("C<sub>33</sub>H" must not become "C 33 H").
bool isInlineElement(QStringView name)
{
    static const QStringList inlineNames{QStringLiteral("content"), QStringLiteral("sub"), QStringLiteral("sup"),
                                         QStringLiteral("linkHtml"), QStringLiteral("footnote"),
                                         QStringLiteral("footnoteRef"), QStringLiteral("br"),
                                         QStringLiteral("renderMultiMedia")};
    return inlineNames.contains(name);
}

// The element name of the tag that begins at `open` ("<name", "</name" or "<name/").
QStringView tagNameAt(const QString& xml, qsizetype open)
{
    qsizetype start = open + 1;
    if (start < xml.size() && xml[start] == QLatin1Char('/'))
        ++start;
    qsizetype end = start;
    while (end < xml.size() && !xml[end].isSpace() && xml[end] != QLatin1Char('>') && xml[end] != QLatin1Char('/'))
        ++end;
    return QStringView(xml).mid(start, end - start);
}

// Line breaks for a readable file, put only between two tags of block elements, so that no
// text of the fragment changes.
QString withLineBreaksBetweenBlocks(const QString& xml)
{
    QString laidOut;
    laidOut.reserve(xml.size() + xml.size() / 8);
    qsizetype lastOpen = -1;
    for (qsizetype i = 0; i < xml.size(); ++i) {
        const QChar c = xml[i];
        laidOut += c;
        if (c == QLatin1Char('<'))
            lastOpen = i;
        const bool betweenTags = c == QLatin1Char('>') && lastOpen >= 0 && i + 1 < xml.size() && xml[i + 1] == QLatin1Char('<');
        if (betweenTags && !isInlineElement(tagNameAt(xml, lastOpen)) && !isInlineElement(tagNameAt(xml, i + 1)))
            laidOut += QLatin1String("\r\n");
    }
    return laidOut;
}

} // namespace

xml::Node ParseXMLFragment(QString& xml, bool addBreaks)
{
    if (addBreaks)
        xml = withLineBreaksBetweenBlocks(xml);
    xml.prepend(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));

    xml::Document fragment;
    if (!fragment.loadXml(xml)) {
        // One log line per failure: the parser's reason without its line breaks.
        QString reason = fragment.parseError().reason;
        reason.remove(QLatin1Char('\r'));
        reason.remove(QLatin1Char('\n'));
        WriteLog(log_category::Error, QString(10, QLatin1Char(' ')) + QStringLiteral("MSXML: ") + reason, false);
        return {};
    }
    // The first top-level node is the XML declaration; the node handle keeps the
    // fragment's document alive until the caller has put the node where it belongs.
    const xml::Node declaration = fragment.firstChild();
    return declaration ? declaration.nextSibling() : xml::Node();
}

} // namespace veldra
