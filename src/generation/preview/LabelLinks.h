#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace veldra {

// A link of a label that the page shows as text, and why.
struct InertLink {
    enum class Reason { NotOpenable, NotValid, RelativePath };
    // Its address as the label gives it (see LabelLinkMarks.h), or for a link the stylesheet
    // wrote itself as the page does; either as the browser reads it, tabs, line ends and the
    // blanks at either end taken off.
    QString address;
    Reason reason = Reason::NotOpenable;

    bool operator==(const InertLink&) const = default;
};

// A rendered SPL page whose links can only open what a label may open.
struct InertLinksPage {
    QString html;
    // The links made inert, in page order.
    QList<InertLink> madeInert;
};

// Whether a link of a label may open `address`: an http or https address the browser can go
// to, a mailto address, or a place in the page itself. An address without a scheme is a
// relative path, however much it looks like a host name ("www.example.org" as much as
// "other.xml").
std::optional<InertLink::Reason> whyLabelLinkIsInert(const QString& address);

// The page with every link (a or area element) that may not open made inert: its href is
// removed, its text stays. A label's links come from others and would otherwise run script in
// the page (javascript:), open files (file:, or a relative address, which resolves to the
// disk), or, being no valid address, make the browser replace the page with a blank one. A
// link of the label, marked in the label the stylesheet rendered, is judged by the label's own
// address in `labelHrefs` and gets it back (see LabelLinkMarks.h). The stylesheet's own script
// links (its toggles) are kept. `html` is the HTML the SPL stylesheet writes: comments, script
// and style contents are passed over.
InertLinksPage withInertLabelLinks(const QString& html, const QStringList& labelHrefs);

} // namespace veldra
