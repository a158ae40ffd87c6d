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
inline xmlAttrPtr unprefixedAttribute(xmlNodePtr element, const char* name)
{
    if (element->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
        if (!attribute->ns && xmlStrEqual(attribute->name, reinterpret_cast<const xmlChar*>(name)))
            return attribute;
    return nullptr;
}

} // namespace veldra
