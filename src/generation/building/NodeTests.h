#pragma once

#include <QByteArray>

#include <libxml/tree.h>

namespace veldra {

// Tests a build asks of target nodes thousands of times, answered on the parsed nodes without
// turning names into text.

// A name test as a location step writes it: an element's local name in any namespace, or any
// element for "*".
struct NameTest {
    QByteArray name;  // empty for "*"

    bool matches(xmlNodePtr node) const
    {
        return node->type == XML_ELEMENT_NODE
            && (name.isEmpty() || xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name.constData())));
    }
};

// The attribute of that name and no namespace (as getAttribute finds an unprefixed name).
// Most attributes asked past differ in their first letter, so that is tested first.
inline xmlAttrPtr unprefixedAttribute(xmlNodePtr element, const char* name)
{
    if (element->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
        if (!attribute->ns && attribute->name[0] == static_cast<xmlChar>(name[0])
            && xmlStrEqual(attribute->name, reinterpret_cast<const xmlChar*>(name)))
            return attribute;
    return nullptr;
}

// The name of the mark the build gives settings elements and the target copies made for them.
inline constexpr char word2SPLIDName[] = "Word2SPLID";

// An element's mark (its Word2SPLID attribute), or null.
inline xmlAttrPtr markOf(xmlNodePtr element)
{
    return unprefixedAttribute(element, word2SPLIDName);
}

// An attribute's value where it is held as one text node (as parsed or set), "" for an empty
// one; null when it is spread over several nodes, which getAttribute joins.
inline const xmlChar* attributeText(xmlAttrPtr attribute)
{
    const xmlNodePtr text = attribute->children;
    if (!text)
        return reinterpret_cast<const xmlChar*>("");
    if (text->next || (text->type != XML_TEXT_NODE && text->type != XML_CDATA_SECTION_NODE))
        return nullptr;
    return text->content ? text->content : reinterpret_cast<const xmlChar*>("");
}

// Whether two elements bear the same qualified name.
inline bool sameQualifiedName(xmlNodePtr a, xmlNodePtr b)
{
    const xmlChar* prefixA = a->ns ? a->ns->prefix : nullptr;
    const xmlChar* prefixB = b->ns ? b->ns->prefix : nullptr;
    return xmlStrEqual(a->name, b->name) && xmlStrEqual(prefixA, prefixB);
}

} // namespace veldra
