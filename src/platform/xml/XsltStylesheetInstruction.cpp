#include "platform/xml/XsltStylesheetInstruction.h"

#include "platform/xml/Document.h"
#include "platform/xml/ResourceAddress.h"

#include <QMap>
#include <QRegularExpression>

namespace veldra::xml {

namespace {

// The pseudo-attributes of a processing instruction's content: name="value" or name='value'.
QMap<QString, QString> pseudoAttributes(const QString& content)
{
    static const QRegularExpression attribute(QStringLiteral(R"(([\w:.-]+)\s*=\s*(["'])(.*?)\2)"));
    QMap<QString, QString> values;
    auto matches = attribute.globalMatch(content);
    while (matches.hasNext()) {
        const auto match = matches.next();
        values.insert(match.captured(1), match.captured(3));
    }
    return values;
}

bool isXsltType(const QString& type)
{
    static const QStringList xsltTypes{QStringLiteral("text/xsl"), QStringLiteral("application/xslt+xml"),
                                       QStringLiteral("text/xml"), QStringLiteral("application/xml")};
    return type.isEmpty() || xsltTypes.contains(type.trimmed().toLower());
}

} // namespace

QString stylesheetAddressOf(xmlDocPtr doc)
{
    if (!doc)
        return {};
    for (xmlNodePtr node = doc->children; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE)
            break;
        if (node->type != XML_PI_NODE || xmlStrcmp(node->name, BAD_CAST "xml-stylesheet") != 0)
            continue;
        const auto values = pseudoAttributes(QString::fromUtf8(reinterpret_cast<const char*>(node->content)));
        const QString href = values.value(QStringLiteral("href")).trimmed();
        if (href.isEmpty() || !isXsltType(values.value(QStringLiteral("type"))))
            continue;
        const QString base = doc->URL ? QString::fromUtf8(reinterpret_cast<const char*>(doc->URL)) : QString();
        return resolveReference(href, base);
    }
    return {};
}

QString stylesheetAddressOf(const Document& doc)
{
    return stylesheetAddressOf(doc.raw());
}

} // namespace veldra::xml
