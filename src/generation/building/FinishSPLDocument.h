#pragma once

namespace veldra {

namespace xml {
class Document;
}

// Readies the built SPL for saving: every Word2SPLID attribute, every editor attribute that
// settings elements copied whole brought along (Color, AllowMultiLineText) and every comment
// goes, the text is read in afresh twice (so elements made without a namespace take the
// document's default namespace, empty namespace declarations dropped), and the declaration
// names the encoding UTF-8. The indexed road brings the tree to what that reading gives in
// place (xml::rereadInPlaceWithout) wherever that is provably the same. `target` then holds
// the finished document. Throws VbError when the text does not read back.
void FinishSPLDocument(xml::Document& target);

} // namespace veldra
