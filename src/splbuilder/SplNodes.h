#pragma once

#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

#include <QByteArrayView>
#include <QString>

namespace veldra::spl {

// The source of the builder's own errors.
inline const QString errorSource = QStringLiteral("clsSPL");

// The first node at `path` from `from`; a VbError naming the path when there is none, so a
// skeleton or fragment that lacks a required element fails with a clear description. Paths
// made only of element names, "/" and "//", each name with at most one attribute value to
// match ("ingredient[@classCode='ACTIB']"), are walked in the tree (the builders resolve
// hundreds of them per document); others go to the query engine.
xml::Node requiredNode(const xml::Node& from, const QString& path);
xml::Node requiredNode(const xml::Document& document, const QString& path);

// Replaces the value of an attribute the element already carries; a VbError naming the
// element and the attribute when it has none (the builders never create attributes).
void setExistingAttribute(const xml::Node& element, const QString& name, const QString& value);

// "source number description", as the builders' failure lines show an error.
QString spacedErrorText(const VbError& error);

// Whether the node is an element of that local name (in any namespace).
bool isElement(const xml::Node& node, QByteArrayView name);

// The first child element named `name` (local name), or a null node.
xml::Node childElement(const xml::Node& parent, QByteArrayView name);

// The element that the path "names[0]//names[1]//..." finds first below `from` (each name a
// descendant of the one before), or a null node. A walk of the tree: the builders look
// their targets up once per unit, and a query of that shape costs a pass per match.
xml::Node descendantPath(const xml::Node& from, const QStringList& names);

// The first section below the document's structured body whose ID reads `id`, then the
// descendants named in `below` ("excerpt", "highlight", ...); a VbError naming the path when
// there is none.
xml::Node requiredSectionPart(const xml::Document& document, const QString& id, const QStringList& below = {});

// A section title without the section numbers in front of it ("1.1 ", "8.1. ", "17\t", "2) ",
// "5.3.1 ", "2.1 2.1 "): a number is the label's own, so neither a LOINC name nor a template
// title holds it.
QString withoutSectionNumber(const QString& title);

} // namespace veldra::spl
