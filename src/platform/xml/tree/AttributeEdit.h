#pragma once

#include <QString>

#include <libxml/tree.h>

namespace veldra::xml::detail {

// Attributes of an element by qualified name, as the DOM names them: "code", "xsi:type".
// "xmlns" and "xmlns:p" name the element's namespace declarations.

xmlAttrPtr findAttribute(xmlNodePtr element, const QString& name);
xmlNsPtr findNamespaceDeclaration(xmlNodePtr element, const QString& name);

QString attributeValue(xmlAttrPtr attr);
void setAttributeValue(xmlAttrPtr attr, const QString& value);

void setAttribute(xmlNodePtr element, const QString& name, const QString& value);
// Sets the attribute `local` in `ns` (null: none) to the stored text `utf8`. When memory runs
// out it throws std::bad_alloc and the element keeps the attribute as it was.
void setAttributeText(xmlNodePtr element, xmlNsPtr ns, const xmlChar* local, const QByteArray& utf8);
void removeAttribute(xmlNodePtr element, const QString& name);
// Puts a detached attribute of the same document on element. Returns the attribute it
// replaced, detached, or null.
xmlAttrPtr putAttribute(xmlNodePtr element, xmlAttrPtr attr);

// The qualified name of an element or attribute.
QString qualifiedName(xmlNodePtr node);

} // namespace veldra::xml::detail
