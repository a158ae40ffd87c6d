#include "platform/xml/resources/ResourceReferences.h"

#include <QRegularExpression>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <memory>

namespace veldra::xml {

namespace {

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct XPathContextFree {
    void operator()(xmlXPathContext* c) const { xmlXPathFreeContext(c); }
};
struct XPathObjectFree {
    void operator()(xmlXPathObject* o) const { xmlXPathFreeObject(o); }
};

QStringList stringValues(xmlXPathContext* context, const char* expression)
{
    QStringList values;
    std::unique_ptr<xmlXPathObject, XPathObjectFree> found(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression), context));
    if (!found || !found->nodesetval)
        return values;
    for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
        xmlChar* text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
        values << QString::fromUtf8(reinterpret_cast<const char*>(text)).trimmed();
        xmlFree(text);
    }
    return values;
}

QStringList literalDocumentCalls(const QStringList& expressions)
{
    static const QRegularExpression call(QStringLiteral(R"(document\(\s*(['"])([^'"]+)\1\s*[,)])"));
    QStringList names;
    for (const QString& expression : expressions) {
        auto matches = call.globalMatch(expression);
        while (matches.hasNext())
            names << matches.next().captured(2);
    }
    return names;
}

void addUnique(QList<ResourceReference>& list, const QString& target, bool required)
{
    if (target.isEmpty())
        return;
    for (ResourceReference& known : list) {
        if (known.target == target) {
            known.required = known.required || required;
            return;
        }
    }
    list.append(ResourceReference{target, required});
}

} // namespace

QList<ResourceReference> resourceReferences(ResourceKind kind, const QByteArray& content, QString* problem)
{
    QList<ResourceReference> references;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlReadMemory(content.constData(), int(content.size()), nullptr, nullptr,
                                                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        if (problem)
            *problem = QStringLiteral("the content is not well-formed XML");
        return references;
    }
    std::unique_ptr<xmlXPathContext, XPathContextFree> context(xmlXPathNewContext(doc.get()));
    xmlXPathRegisterNs(context.get(), BAD_CAST "xs", BAD_CAST "http://www.w3.org/2001/XMLSchema");
    xmlXPathRegisterNs(context.get(), BAD_CAST "xsl", BAD_CAST "http://www.w3.org/1999/XSL/Transform");

    if (kind == ResourceKind::Schema) {
        for (const QString& target : stringValues(context.get(), "//xs:include/@schemaLocation | "
                                                                 "//xs:import/@schemaLocation | "
                                                                 "//xs:redefine/@schemaLocation"))
            addUnique(references, target, true);
        return references;
    }

    for (const QString& target : stringValues(context.get(), "//xsl:include/@href | //xsl:import/@href"))
        addUnique(references, target, true);
    for (const QString& target :
         literalDocumentCalls(stringValues(context.get(), "//@*[contains(., 'document(')]")))
        addUnique(references, target, true);
    for (const QString& value : stringValues(context.get(), "//xsl:param[not(@select)]")) {
        if (isNetworkAddress(value))
            addUnique(references, value, false);
    }
    return references;
}

} // namespace veldra::xml
