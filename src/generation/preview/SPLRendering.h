#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// An SPL document rendered as an HTML page, or why it could not be.
struct RenderedSPL {
    QString html;
    QString problem;
    // True when the problem is that the stylesheet is neither installed nor obtainable.
    bool stylesheetMissing = false;
    bool ok() const { return problem.isEmpty(); }
};

// Renders an SPL document through the SPL stylesheet that its xml-stylesheet instruction names.
// The program's local copy of the stylesheet, and a document that names none, stand for the
// agency's stylesheet set, which is read from the program's Preview folder or the per-user
// cache (downloaded there first when missing and allowed). The page links the set's local
// style sheet and scripts, so showing it fetches nothing from the web.
RenderedSPL RenderSPLDocument(const xml::Document& spl);

} // namespace veldra
