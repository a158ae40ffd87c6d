#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// What the SPL stylesheet looks up to render a label. It searches the whole document for each
// footnote (counting the footnotes before it; a footnote reference finds its footnote the
// same way), each link (its target) and each picture (its media), and it looks at the whole
// document again for each section, so its time grows with
// those counts times the document's size: a label of a few thousand of them keeps the program
// busy for minutes, on a thread it cannot be stopped on.
struct PreviewLookups {
    qint64 elements = 0;
    qint64 footnotes = 0; // footnote and footnoteRef elements
    qint64 links = 0;     // linkHtml elements with an href
    qint64 pictures = 0;  // renderMultiMedia elements with a referencedObject
    qint64 sections = 0;  // section elements, each numbered and indexed among the others

    // The weighted lookups: each kind weighs what its lookups cost the stylesheet per element.
    qint64 cost() const;
};

// The bound of PreviewLookups::cost under which a label is rendered: about six seconds of
// the stylesheet's work on a desktop computer, whatever the mix of footnotes, links, pictures
// and sections. Real labels stay far below it: a long prescription label with 48 footnotes,
// 109 links, 24 pictures and 110 sections costs a twentieth of it.
inline constexpr qint64 PreviewLookupBound = 75'000'000;

// The most steps (nodes its lookups visit) the stylesheet may take for one page, for whatever
// else of a label grows its work with a square (thousands of list items, of table rows or of
// products, each looked up among the others): well above the 730 million a label at the bound
// takes, and some twelve seconds where a label's thousands of list items reach it.
inline constexpr unsigned long PreviewStepLimit = 800'000'000;

// Why a page whose transform reached PreviewStepLimit is not shown, and what to do.
QString previewStoppedMessage();

// Counts what the stylesheet will look up, in one pass over the document.
PreviewLookups countPreviewLookups(const xml::Document& spl);

// Why the label is not rendered, naming its counts, the bound and what to do; empty when its
// lookups stay within the bound.
QString previewRefusal(const xml::Document& spl);

} // namespace veldra
