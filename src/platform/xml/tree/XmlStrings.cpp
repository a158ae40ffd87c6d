#include "platform/xml/tree/XmlStrings.h"

#include "platform/xml/io/XmlErrors.h"

#include <libxml/tree.h>
#include <libxml/xmlmemory.h>

namespace veldra::xml::detail {

QString fromXml(const xmlChar* text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

QString takeXml(xmlChar* text)
{
    QString result = fromXml(text);
    if (text)
        xmlFree(text);
    return result;
}

QByteArray toXml(const QString& text)
{
    return text.toUtf8();
}

QString withXmlLineBreaks(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

namespace {

bool isStorable(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

void requireStorableText(const QString& text)
{
    const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
        if (!isStorable(c))
            throwNodeError(QStringLiteral("The text holds the character U+%1, which XML cannot store.")
                               .arg(QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
}

void requireQualifiedName(const QString& name)
{
    const QByteArray utf8 = toXml(name);
    if (name.isEmpty() || xmlValidateQName(bytes(utf8), 0) != 0)
        throwNodeError(QStringLiteral("'%1' is not a valid XML name.").arg(name));
}

} // namespace veldra::xml::detail
