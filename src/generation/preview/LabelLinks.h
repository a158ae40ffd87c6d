#pragma once

#include <QString>
#include <QStringList>

namespace veldra {

// A rendered SPL page whose links can only open what a label may open.
struct InertLinksPage {
    QString html;
    // The addresses of the links made inert, in page order, as the browser would read them.
    QStringList madeInert;
};

// True when a link of a label may open `address` (an href as the page holds it, character
// references and all): an http, https or mailto address, or a place in the page itself.
bool isOpenableLabelLink(const QString& address);

// The page with every link (a or area element) that may not open made inert: its href is
// removed, its text stays. A label's links come from others and would otherwise run script in
// the page (javascript:) or open files (file:, or a relative address, which resolves to the
// disk). The stylesheet's own script links (its toggles) are kept. `html` is the HTML the SPL
// stylesheet writes: comments, script and style contents are passed over.
InertLinksPage withInertLabelLinks(const QString& html);

} // namespace veldra
