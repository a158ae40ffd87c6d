#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// What the SPL stylesheet looks up to render a label. It searches the whole document for each
// footnote (counting the footnotes before it; a footnote reference finds its footnote the
// same way), each link (its target) and each picture (its media), so its time grows with
// those counts times the document's size: a label of a few thousand of them keeps the program
// busy for minutes, on a thread it cannot be stopped on.
struct PreviewLookups {
    qint64 elements = 0;
    qint64 footnotes = 0; // footnote and footnoteRef elements
    qint64 links = 0;     // linkHtml elements with an href
    qint64 pictures = 0;  // renderMultiMedia elements with a referencedObject

    // The weighted lookups: each kind weighs what its lookups cost the stylesheet per element.
    qint64 cost() const;
};

// The bound of PreviewLookups::cost under which a label is rendered: about eight seconds of
// the stylesheet's work on a desktop computer, whatever the mix of footnotes, links and
// pictures. Real labels stay far below it (a 300-page label with 50 footnotes, 150 links and
// 40 pictures costs a tenth of it).
inline constexpr qint64 PreviewLookupBound = 100'000'000;

// Counts what the stylesheet will look up, in one pass over the document.
PreviewLookups countPreviewLookups(const xml::Document& spl);

// Why the label is not rendered, naming its counts, the bound and what to do; empty when its
// lookups stay within the bound.
QString previewRefusal(const xml::Document& spl);

} // namespace veldra
