#pragma once

#include <QByteArray>
#include <QList>

namespace veldra::xml {

class Document;

// Brings a document's tree, in place, to what writing it as text (Document::xml), taking
// every `xmlns=""` out of that text and loading the text again (Document::loadXml) gives:
// empty default namespace declarations go; every element and attribute takes the namespace
// its prefix names where it stands (an element without a prefix the default namespace in
// force there, an attribute without one none); empty text goes, adjacent text joins and
// whitespace-only text that is layout goes (WhitespaceRules.h); the document loses its
// address, as a loaded text has none. Nothing is written or parsed.
//
// Returns false, changing nothing, where the text would read back otherwise or not at all:
// "xmlns=\"\"" within text, CDATA or a processing instruction, attributes that the text
// would make declarations, prefixes or declarations the parser refuses, attributes that
// would clash, CDATA that is empty or holds "]]>", unescaped text, entity references, a
// document type declaration, comments, or elements nested deeper than the parser reads.
bool rereadInPlace(const Document& document);

// The same for the document once every comment and every attribute of one of `attributeNames`
// is out of it (as removeAttributesAndComments takes them out): they are taken out in the
// same walk, which spares the large tree a second pass, and they are out whatever the answer.
bool rereadInPlaceWithout(const Document& document, const QList<QByteArray>& attributeNames);

} // namespace veldra::xml
