#include "platform/xml/resources/SchemaLocation.h"

#include "platform/xml/resources/ResourceAddress.h"

#include <QRegularExpression>

namespace veldra::xml {

namespace {

const char* const instanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

QString attributeText(xmlNodePtr element, const char* name)
{
    xmlChar* value = xmlGetNsProp(element, BAD_CAST name, BAD_CAST instanceNamespace);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

QString locationForNamespace(const QString& pairs, const QString& nameSpace)
{
    static const QRegularExpression whitespace(QStringLiteral("\\s+"));
    const QStringList items = pairs.split(whitespace, Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        if (items[i] == nameSpace)
            return items[i + 1];
    }
    return {};
}

} // namespace

QString schemaLocationOf(xmlDocPtr doc, QString* problem)
{
    const xmlNodePtr root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (!root) {
        *problem = QStringLiteral("The document has no document element.");
        return {};
    }
    const QString nameSpace = root->ns && root->ns->href
                                  ? QString::fromUtf8(reinterpret_cast<const char*>(root->ns->href))
                                  : QString();
    const QString location = nameSpace.isEmpty()
                                 ? attributeText(root, "noNamespaceSchemaLocation").trimmed()
                                 : locationForNamespace(attributeText(root, "schemaLocation"), nameSpace);
    if (location.isEmpty()) {
        *problem = nameSpace.isEmpty()
                       ? QStringLiteral("The document names no schema (xsi:noNamespaceSchemaLocation).")
                       : QStringLiteral("The document names no schema for the namespace %1 "
                                        "(xsi:schemaLocation).").arg(nameSpace);
        return {};
    }
    const QString base = doc->URL ? QString::fromUtf8(reinterpret_cast<const char*>(doc->URL)) : QString();
    const QString resolved = resolveReference(location, base);
    if (resolved.isEmpty())
        *problem = QStringLiteral("The schema location %1 is relative, and the document has no "
                                  "address to resolve it against.").arg(location);
    return resolved;
}

} // namespace veldra::xml
