#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// The agency's published address of the SPL stylesheet, which SPL files (and the program's SPL
// templates) name in their xml-stylesheet instruction.
QString OnlineStylesheetAddress();

// The program's local copy of the stylesheet: Preview/spl-stylesheet-6.2/spl.xsl below the
// program folder.
QString LocalStylesheetPath();

// The SPL document with every occurrence of the online stylesheet address in its text replaced
// by the local stylesheet path, parsed again; a document that does not name the address comes
// back unchanged. Throws VbError when the rewritten text does not parse.
xml::Document RewriteStylesheetReference(const xml::Document& spl);

} // namespace veldra
