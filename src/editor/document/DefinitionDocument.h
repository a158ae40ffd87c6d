#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// The definition document (SPLR4Definitions/DefinitionSPLR4.xml in the program folder)
// holds one element per element path of a settings document: its attributes are the
// definition attributes, its child elements the children the element may have, in their
// required order, and its text the value a new document starts with. It is only read,
// and loaded afresh by every operation that needs it.
QString definitionFilePath();

// The transformation file of the reverse import and of the editor's clone rules.
QString transformFilePath();

// The loaded definition document; a file that is missing or does not parse throws VbError
// naming the file and the reason.
xml::Document requireDefinitionDocument();

// Refreshes the definition attributes of every element below `node` (not of `node`
// itself) from the first element at the same element path in `definition`: attributes
// whose names contain "Constraint" are removed, then every attribute of the definition
// element is copied over, replacing one of the same name. Other attributes (Color, and
// Word2SPLID, which a definition never hands on) stay. Children are refreshed before
// their parent; only element children are visited. Errors are passed on with
// " - UpdateConstraintsFromTemplate" appended to their source.
void UpdateConstraintsFromTemplate(const xml::Node& node, const xml::Document& definition);

} // namespace veldra
