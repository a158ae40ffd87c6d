#pragma once

#include <QString>
#include <QStringList>

namespace veldra {

namespace xml {
class Document;
}

// An SPL document rendered as an HTML page, or why it could not be.
struct RenderedSPL {
    QString html;
    // The label's own link addresses, which the page's links name by their marks (see
    // LabelLinkMarks.h).
    QStringList labelHrefs;
    // The folder of the stylesheet, whose style sheet and scripts the page loads.
    QString stylesheetFolder;
    QString problem;
    // True when the problem is that the stylesheet is neither installed nor obtainable.
    bool stylesheetMissing = false;
    // True when the user stopped the rendering: the problem says so, and nothing failed.
    bool stopped = false;
    bool ok() const { return problem.isEmpty(); }
};

// Renders an SPL document through the agency's SPL stylesheet, read from the program's Preview
// folder or the per-user cache (downloaded there first when missing and allowed), whatever
// stylesheet the document's xml-stylesheet instruction names: a file could otherwise run any
// stylesheet of the disk. The transformation reads nothing outside the stylesheet's folder
// (see installResourceLoader). The page links the set's local style sheet and scripts, so
// showing it fetches nothing from the web. The stylesheet runs in a program of its own while
// the windows stay alive and the user can stop it; the label's links are marked for it first. only a label past the preview's cap of work
// done is refused (see runPreviewTransform).
RenderedSPL RenderSPLDocument(const xml::Document& spl);

} // namespace veldra
