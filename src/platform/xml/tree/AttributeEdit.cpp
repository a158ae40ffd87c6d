#include "platform/xml/tree/AttributeEdit.h"

#include "platform/xml/tree/Allocated.h"
#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/XmlStrings.h"

namespace veldra::xml::detail {

namespace {

struct QName {
    QString prefix;
    QString local;
};

QName split(const QString& name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {QString(), name};
    return {name.left(colon), name.mid(colon + 1)};
}

bool samePrefix(const xmlChar* prefix, const QString& wanted)
{
    return wanted.isEmpty() ? prefix == nullptr : prefix && fromXml(prefix) == wanted;
}

bool isNamespaceDeclarationName(const QString& name)
{
    return name == QLatin1String("xmlns") || name.startsWith(QLatin1String("xmlns:"));
}

// The declaration's prefix: "" for "xmlns", "p" for "xmlns:p".
QString declaredPrefix(const QString& name)
{
    return name == QLatin1String("xmlns") ? QString() : name.mid(6);
}

xmlNsPtr declarationOn(xmlNodePtr element, const QString& prefix)
{
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next)
        if (samePrefix(ns->prefix, prefix))
            return ns;
    return nullptr;
}

bool inUseBelow(xmlNodePtr element, xmlNsPtr ns)
{
    bool used = false;
    forEachInSubtree(element, [ns, &used](xmlNodePtr node) {
        if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns == ns)
            used = true;
    });
    return used;
}

// The namespace a prefix stands for at element: declared on it or above, or (for a copy not
// yet in a tree) already used by the element or its attributes.
xmlNsPtr resolvePrefix(xmlNodePtr element, const QString& prefix)
{
    const QByteArray utf8 = toXml(prefix);
    if (xmlNsPtr ns = xmlSearchNs(element->doc, element, bytes(utf8)))
        return ns;
    if (element->ns && samePrefix(element->ns->prefix, prefix))
        return element->ns;
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
        if (attr->ns && samePrefix(attr->ns->prefix, prefix))
            return attr->ns;
    throwNodeError(QStringLiteral("The namespace prefix '%1' is not declared.").arg(prefix));
}

// A declaration of no element yet. libxml2 makes one even when it cannot copy the namespace or
// the prefix into it; that counts as running out of memory too.
xmlNsPtr newDeclaration(const xmlChar* href, const xmlChar* prefix)
{
    xmlNsPtr declared = allocated(xmlNewNs(nullptr, href, prefix));
    if (!declared->href || (prefix && !declared->prefix)) {
        xmlFreeNs(declared);
        throw std::bad_alloc();
    }
    return declared;
}

void appendDeclaration(xmlNodePtr element, xmlNsPtr declared)
{
    xmlNsPtr* link = &element->nsDef;
    while (*link)
        link = &(*link)->next;
    *link = declared;
}

void setNamespaceDeclaration(xmlNodePtr element, const QString& name, const QString& uri)
{
    const QString prefix = declaredPrefix(name);
    if (prefix == QLatin1String("xml") || prefix == QLatin1String("xmlns"))
        throwNodeError(QStringLiteral("The prefix '%1' cannot be declared.").arg(prefix));
    if (!prefix.isEmpty() && uri.isEmpty())
        throwNodeError(QStringLiteral("The prefix '%1' cannot be declared with an empty namespace.").arg(prefix));
    const QByteArray uriBytes = toXml(uri);
    if (xmlNsPtr existing = declarationOn(element, prefix)) {
        if (fromXml(existing->href) == uri)
            return;
        if (inUseBelow(element, existing))
            throwNodeError(QStringLiteral("The declaration '%1' cannot change while elements or attributes use it.").arg(name));
        const xmlChar* href = allocated(xmlStrdup(bytes(uriBytes)));
        xmlFree(const_cast<xmlChar*>(existing->href));
        existing->href = href;
        return;
    }
    const QByteArray prefixBytes = toXml(prefix);
    appendDeclaration(element, newDeclaration(bytes(uriBytes), prefix.isEmpty() ? nullptr : bytes(prefixBytes)));
}

void removeNamespaceDeclaration(xmlNodePtr element, const QString& name)
{
    xmlNsPtr ns = declarationOn(element, declaredPrefix(name));
    if (!ns)
        return;
    if (inUseBelow(element, ns))
        throwNodeError(QStringLiteral("The declaration '%1' cannot be removed while elements or attributes use it.").arg(name));
    xmlNsPtr* link = &element->nsDef;
    while (*link != ns)
        link = &(*link)->next;
    *link = ns->next;
    ns->next = nullptr;
    // Handles on the declaration may still read it; it is freed with the document.
    stateOf(element->doc)->retiredNamespaces.push_back(ns);
}

// Gives an attribute `utf8` as its value in place, so its handles stay valid. The new text is
// made before the old one goes: an attribute whose new value cannot be had keeps its old one.
// An id's entry in the document's table of ids follows its value.
void replaceAttributeText(xmlAttrPtr attr, const QByteArray& utf8)
{
    xmlNodePtr text = newText(attr->doc, bytes(utf8));
    const bool isId = attr->parent && attr->atype == XML_ATTRIBUTE_ID;
    if (isId) {
        xmlRemoveID(attr->doc, attr);
        attr->atype = XML_ATTRIBUTE_ID;
    }
    xmlFreeNodeList(attr->children);
    text->parent = reinterpret_cast<xmlNodePtr>(attr);
    attr->children = attr->last = text;
    if (isId)
        xmlAddID(nullptr, attr->doc, bytes(utf8), attr);
}

} // namespace

QString qualifiedName(xmlNodePtr node)
{
    const QString local = fromXml(node->name);
    if (node->ns && node->ns->prefix)
        return fromXml(node->ns->prefix) + QLatin1Char(':') + local;
    return local;
}

xmlAttrPtr findAttribute(xmlNodePtr element, const QString& name)
{
    const QName q = split(name);
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
        if (fromXml(attr->name) != q.local)
            continue;
        if (q.prefix.isEmpty() ? attr->ns == nullptr : attr->ns && samePrefix(attr->ns->prefix, q.prefix))
            return attr;
    }
    return nullptr;
}

xmlNsPtr findNamespaceDeclaration(xmlNodePtr element, const QString& name)
{
    return isNamespaceDeclarationName(name) ? declarationOn(element, declaredPrefix(name)) : nullptr;
}

QString attributeValue(xmlAttrPtr attr)
{
    return takeXml(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr)));
}

void setAttributeValue(xmlAttrPtr attr, const QString& value)
{
    requireStorableText(value);
    replaceAttributeText(attr, toXml(withXmlLineBreaks(value)));
}

void setAttribute(xmlNodePtr element, const QString& name, const QString& value)
{
    requireStorableText(value);
    if (isNamespaceDeclarationName(name)) {
        setNamespaceDeclaration(element, name, value);
        return;
    }
    requireQualifiedName(name);
    const QName q = split(name);
    xmlNsPtr ns = q.prefix.isEmpty() ? nullptr : resolvePrefix(element, q.prefix);
    const QByteArray local = toXml(q.local);
    const QByteArray utf8 = toXml(withXmlLineBreaks(value));
    setAttributeText(element, ns, bytes(local), utf8);
}

void setAttributeText(xmlNodePtr element, xmlNsPtr ns, const xmlChar* local, const QByteArray& utf8)
{
    xmlAttrPtr existing = xmlHasNsProp(element, local, ns ? ns->href : nullptr);
    if (existing && existing->type == XML_ATTRIBUTE_NODE) {
        replaceAttributeText(existing, utf8);
        existing->ns = ns;  // the prefix named, where another one declares the same namespace
        return;
    }
    xmlAttrPtr added = allocated(xmlNewNsProp(element, ns, local, nullptr));
    try {
        allocated(added->name);  // libxml2 makes the attribute even when it cannot store its name
        replaceAttributeText(added, utf8);
    } catch (...) {
        xmlRemoveProp(added);
        throw;
    }
}

void removeAttribute(xmlNodePtr element, const QString& name)
{
    if (isNamespaceDeclarationName(name)) {
        removeNamespaceDeclaration(element, name);
        return;
    }
    if (xmlAttrPtr attr = findAttribute(element, name))
        retire(reinterpret_cast<xmlNodePtr>(attr));
}

xmlAttrPtr putAttribute(xmlNodePtr element, xmlAttrPtr attr)
{
    if (attr->parent == element)
        return nullptr;
    if (attr->parent)
        throwNodeError(QStringLiteral("The attribute belongs to another element; remove it there or clone it first."));
    if (attr->doc != element->doc)
        throwNodeError(QStringLiteral("The attribute belongs to another document; import it first."));
    xmlAttrPtr replaced = findAttribute(element, qualifiedName(reinterpret_cast<xmlNodePtr>(attr)));
    forgetDetached(reinterpret_cast<xmlNodePtr>(attr));
    // Takes the place of the attribute it replaces, at the end otherwise.
    attr->parent = element;
    attr->prev = replaced ? replaced->prev : nullptr;
    attr->next = replaced;
    if (!replaced) {
        xmlAttrPtr last = element->properties;
        while (last && last->next)
            last = last->next;
        attr->prev = last;
    }
    if (attr->prev)
        attr->prev->next = attr;
    else
        element->properties = attr;
    if (attr->next)
        attr->next->prev = attr;
    if (replaced)
        detachChild(reinterpret_cast<xmlNodePtr>(replaced));
    if (attr->ns)
        xmlDOMWrapReconcileNamespaces(nullptr, element, 0);
    return replaced;
}

} // namespace veldra::xml::detail
