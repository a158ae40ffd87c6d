#include "platform/word/detail/Xml.h"

#include "platform/core/InputScan.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

namespace veldra::word::detail {

namespace {

constexpr const char* kWordTransitional = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kWordStrict = "http://purl.oclc.org/ooxml/wordprocessingml/main";
constexpr const char* kRelTransitional = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kRelStrict = "http://purl.oclc.org/ooxml/officeDocument/relationships";

struct ParseState {
    bool refusedDoctype = false;
};

void refuseDoctype(void* userData, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto ctxt = static_cast<xmlParserCtxtPtr>(userData);
    static_cast<ParseState*>(ctxt->_private)->refusedDoctype = true;
    xmlStopParser(ctxt);
}

void quiet(void*, const char*, ...) {}

bool hrefIs(const xmlNs* ns, const char* a, const char* b)
{
    if (!ns || !ns->href)
        return false;
    const char* href = reinterpret_cast<const char*>(ns->href);
    return std::strcmp(href, a) == 0 || std::strcmp(href, b) == 0;
}

const xmlAttr* findAttr(const xmlNode* node, const char* localName)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return nullptr;
    for (const xmlAttr* a = node->properties; a; a = a->next)
        if (std::strcmp(reinterpret_cast<const char*>(a->name), localName) == 0)
            return a;
    return nullptr;
}

QString valueOf(const xmlAttr* a)
{
    if (!a || !a->children)
        return QString();
    if (!a->children->next && a->children->type == XML_TEXT_NODE)
        return QString::fromUtf8(reinterpret_cast<const char*>(a->children->content));
    xmlChar* value = xmlNodeListGetString(a->doc, a->children, 1);
    QString result = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return result;
}

} // namespace

XmlDoc parseXml(const QByteArray& bytes, QString* error)
{
    if (const auto refusal = refuseBeforeParsing(bytes, {MaxPartNodes})) {
        if (error)
            *error = QStringLiteral("%1 (line %2)").arg(refusal->reason).arg(refusal->line);
        return nullptr;
    }
    xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(bytes.constData(), static_cast<int>(bytes.size()));
    if (!ctxt) {
        if (error)
            *error = QStringLiteral("The part cannot be parsed.");
        return nullptr;
    }
    ParseState state;
    ctxt->_private = &state;
    ctxt->sax->internalSubset = refuseDoctype;
    ctxt->sax->error = quiet;
    ctxt->sax->warning = quiet;
    ctxt->vctxt.error = quiet;
    ctxt->vctxt.warning = quiet;
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT);
    xmlParseDocument(ctxt);
    XmlDoc doc(ctxt->myDoc);
    const bool wellFormed = ctxt->wellFormed && !state.refusedDoctype;
    QString reason;
    if (state.refusedDoctype)
        reason = QStringLiteral("The part declares a document type, which a package part never does.");
    else if (!wellFormed) {
        const xmlError* last = xmlCtxtGetLastError(ctxt);
        reason = QStringLiteral("The part is not well-formed XML (line %1: %2).")
                     .arg(last ? last->line : 0)
                     .arg(last && last->message ? QString::fromUtf8(last->message).trimmed() : QStringLiteral("unknown error"));
    }
    ctxt->myDoc = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (!wellFormed || !doc || !xmlDocGetRootElement(doc.get())) {
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("The part is empty.") : reason;
        return nullptr;
    }
    return doc;
}

bool inWordNamespace(const xmlNode* node)
{
    return hrefIs(node->ns, kWordTransitional, kWordStrict);
}

xmlNode* childW(xmlNode* node, const char* localName)
{
    for (xmlNode* child : children(node))
        if (isW(child, localName))
            return child;
    return nullptr;
}

xmlNode* descendant(xmlNode* node, const char* localName)
{
    for (xmlNode* child : children(node)) {
        if (isNamed(child, localName))
            return child;
        if (xmlNode* found = descendant(child, localName))
            return found;
    }
    return nullptr;
}

QString attr(const xmlNode* node, const char* localName)
{
    return valueOf(findAttr(node, localName));
}

bool hasAttr(const xmlNode* node, const char* localName)
{
    return findAttr(node, localName) != nullptr;
}

QString relAttr(const xmlNode* node, const char* localName)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return QString();
    for (const xmlAttr* a = node->properties; a; a = a->next)
        if (std::strcmp(reinterpret_cast<const char*>(a->name), localName) == 0
            && hrefIs(a->ns, kRelTransitional, kRelStrict))
            return valueOf(a);
    return QString();
}

bool onOff(const xmlNode* node)
{
    const xmlAttr* a = findAttr(node, "val");
    if (!a)
        return true;
    if (a->children && !a->children->next && a->children->type == XML_TEXT_NODE) {
        const char* value = reinterpret_cast<const char*>(a->children->content);
        return !std::strcmp(value, "1") || !std::strcmp(value, "true") || !std::strcmp(value, "on");
    }
    const QString value = valueOf(a);
    return value == QLatin1String("1") || value == QLatin1String("true") || value == QLatin1String("on");
}

int intAttr(const xmlNode* node, const char* localName, int fallback)
{
    bool ok = false;
    const int value = attr(node, localName).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

qint64 int64Attr(const xmlNode* node, const char* localName, qint64 fallback)
{
    bool ok = false;
    const qint64 value = attr(node, localName).trimmed().toLongLong(&ok);
    return ok ? value : fallback;
}

QString textOf(const xmlNode* node)
{
    if (!node)
        return QString();
    xmlChar* content = xmlNodeGetContent(node);
    QString result = QString::fromUtf8(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return result;
}

} // namespace veldra::word::detail
