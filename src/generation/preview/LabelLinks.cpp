#include "generation/preview/LabelLinks.h"

#include "generation/preview/LabelLinkMarks.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QUrl>

namespace veldra {

namespace {

// The script links the SPL stylesheet writes itself (its toggles), as the browser reads them.
const QStringList StylesheetScriptLinks = {QStringLiteral("javascript:toggleMixin();")};

// One attribute of a tag: from the blank before its name to the end of its value, as written.
struct Attribute {
    qsizetype from = 0;
    qsizetype to = 0;
    QString name;
    QString value;
};

struct StartTag {
    QString name;
    QList<Attribute> attributes;
    qsizetype end = 0; // after its '>'
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool endsName(QChar c)
{
    return isBlank(c) || c == u'>' || c == u'/' || c == u'=';
}

// The character a numeric reference stands for, as the browser reads it: none, a surrogate
// or one past Unicode is the replacement character.
QString numericReference(const QString& digits, int base)
{
    bool ok = false;
    const uint code = digits.toUInt(&ok, base);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return QString(QChar(QChar::ReplacementCharacter));
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

// The character references that the stylesheet's serializer writes, read as the browser reads
// them; any other stays as written, so that it cannot pass for an allowed address.
QString withReferencesRead(const QString& value)
{
    static const QRegularExpression reference(QStringLiteral("&(#[xX]([0-9a-fA-F]{1,8})|#([0-9]{1,8})|amp|lt|gt|quot|apos);"));
    static const QHash<QString, QString> named = {{QStringLiteral("amp"), QStringLiteral("&")},
                                                  {QStringLiteral("lt"), QStringLiteral("<")},
                                                  {QStringLiteral("gt"), QStringLiteral(">")},
                                                  {QStringLiteral("quot"), QStringLiteral("\"")},
                                                  {QStringLiteral("apos"), QStringLiteral("'")}};
    QString read;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : reference.globalMatch(value)) {
        read += value.mid(done, match.capturedStart() - done);
        if (match.hasCaptured(2))
            read += numericReference(match.captured(2), 16);
        else if (match.hasCaptured(3))
            read += numericReference(match.captured(3), 10);
        else
            read += named.value(match.captured(1));
        done = match.capturedEnd();
    }
    return read + value.mid(done);
}

// The address as the browser's address parser takes it: tabs and line ends anywhere are
// dropped, and controls and blanks at either end.
QString browserAddress(const QString& value)
{
    QString address = value;
    address.remove(QRegularExpression(QStringLiteral("[\\t\\n\\r]")));
    qsizetype first = 0;
    qsizetype last = address.size();
    while (first < last && address.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && address.at(last - 1).unicode() <= 0x20)
        --last;
    return address.mid(first, last - first);
}

// The address a label's own href stands for. An href that begins with a host named "www."
// is a web address written without its scheme, as authors write the FDA's and their own
// (the stylesheet puts http:// before it for that reason); any other href without a scheme
// is a relative path and stays as written.
QString labelAddress(const QString& href)
{
    const QString address = browserAddress(href);
    const bool webHost = address.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
    return webHost && QUrl(address).scheme().isEmpty() ? QStringLiteral("http://") + address : address;
}

// The address of an attribute value as the page holds it.
QString addressOf(const QString& value)
{
    return browserAddress(withReferencesRead(value));
}

Attribute readAttribute(const QString& html, qsizetype from, qsizetype nameStart)
{
    const qsizetype n = html.size();
    Attribute attribute;
    attribute.from = from;
    qsizetype i = nameStart;
    while (i < n && (!endsName(html.at(i)) || (i == nameStart && html.at(i) == u'=')))
        ++i;
    attribute.name = html.mid(nameStart, i - nameStart).toLower();
    attribute.to = i;
    qsizetype j = i;
    while (j < n && isBlank(html.at(j)))
        ++j;
    if (j >= n || html.at(j) != u'=')
        return attribute;
    ++j;
    while (j < n && isBlank(html.at(j)))
        ++j;
    if (j < n && (html.at(j) == u'"' || html.at(j) == u'\'')) {
        const qsizetype close = html.indexOf(html.at(j), j + 1);
        const qsizetype valueEnd = close < 0 ? n : close;
        attribute.value = html.mid(j + 1, valueEnd - j - 1);
        attribute.to = close < 0 ? n : close + 1;
        return attribute;
    }
    const qsizetype valueStart = j;
    while (j < n && !isBlank(html.at(j)) && html.at(j) != u'>')
        ++j;
    attribute.value = html.mid(valueStart, j - valueStart);
    attribute.to = j;
    return attribute;
}

// The start tag whose name begins at `nameStart` (after its '<').
StartTag readStartTag(const QString& html, qsizetype nameStart)
{
    const qsizetype n = html.size();
    StartTag tag;
    qsizetype i = nameStart;
    while (i < n && !isBlank(html.at(i)) && html.at(i) != u'>' && html.at(i) != u'/')
        ++i;
    tag.name = html.mid(nameStart, i - nameStart).toLower();
    while (true) {
        const qsizetype from = i;
        while (i < n && (isBlank(html.at(i)) || html.at(i) == u'/'))
            ++i;
        if (i >= n || html.at(i) == u'>')
            break;
        tag.attributes << readAttribute(html, from, i);
        i = tag.attributes.last().to;
    }
    tag.end = i < n ? i + 1 : n;
    return tag;
}

bool isTagStart(const QString& html, qsizetype at)
{
    return at + 1 < html.size() && html.at(at + 1).isLetter() && html.at(at + 1).unicode() < 0x80;
}

// Where the scan goes on after the start tag: past the text of a script or style element,
// which holds no tags.
qsizetype afterTag(const QString& html, const StartTag& tag)
{
    if (tag.name != QLatin1String("script") && tag.name != QLatin1String("style"))
        return tag.end;
    const qsizetype close = html.indexOf(QStringLiteral("</") + tag.name, tag.end, Qt::CaseInsensitive);
    return close < 0 ? html.size() : close;
}

} // namespace

std::optional<InertLink::Reason> whyLabelLinkIsInert(const QString& address)
{
    if (address.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    if (scheme.isEmpty())
        return InertLink::Reason::RelativePath;
    if (scheme == QLatin1String("mailto"))
        return std::nullopt;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return InertLink::Reason::NotOpenable;
    if (!url.isValid() || url.host().isEmpty())
        return InertLink::Reason::NotValid;
    return std::nullopt;
}

InertLinksPage withInertLabelLinks(const QString& html, const QStringList& labelHrefs)
{
    InertLinksPage page;
    qsizetype copied = 0;
    qsizetype at = 0;
    while ((at = html.indexOf(QLatin1Char('<'), at)) >= 0) {
        if (html.mid(at, 4) == QLatin1String("<!--")) {
            const qsizetype close = html.indexOf(QStringLiteral("-->"), at + 4);
            at = close < 0 ? html.size() : close + 3;
            continue;
        }
        if (!isTagStart(html, at)) {
            ++at;
            continue;
        }
        const StartTag tag = readStartTag(html, at + 1);
        if (tag.name == QLatin1String("a") || tag.name == QLatin1String("area"))
            for (const Attribute& attribute : tag.attributes) {
                if (attribute.name != QLatin1String("href"))
                    continue;
                const QString written = addressOf(attribute.value);
                if (StylesheetScriptLinks.contains(written))
                    continue;
                const std::optional<QString> labelHref = markedLabelHref(written, labelHrefs);
                const QString address = labelHref ? labelAddress(*labelHref) : written;
                const std::optional<InertLink::Reason> inert = whyLabelLinkIsInert(address);
                if (!inert && address == written)
                    continue;
                page.html += html.mid(copied, attribute.from - copied);
                copied = attribute.to;
                if (inert)
                    page.madeInert << InertLink{address, *inert};
                else
                    page.html += QStringLiteral(" href=\"%1\"").arg(address.toHtmlEscaped());
            }
        at = afterTag(html, tag);
    }
    page.html += html.mid(copied);
    return page;
}

} // namespace veldra
