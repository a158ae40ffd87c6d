#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace veldra {

namespace xml {
class Document;
}

// The SPL stylesheet writes a label's link address without "http" in it behind "http://", so
// that in its page a relative path ("other.xml") cannot be told from a web address. The label
// therefore goes to the stylesheet with the address of each of its links (a linkHtml's href,
// unless it is a place in the page) replaced by a mark that the stylesheet copies as it stands
// and that numbers the address, and the page's links are judged by the label's own addresses.
struct LabelWithMarkedLinks {
    // The label as Document::xmlBytes gives it, with the marks.
    QByteArray bytes;
    // The label's own addresses, by the numbers of their marks.
    QStringList hrefs;
};

// The label with its links marked; the label itself is not changed. A mark keeps the part of
// the address from its '#' on, by which the stylesheet finds the section or table whose title
// the link may show.
LabelWithMarkedLinks withMarkedLinks(const xml::Document& spl);

// The label's own address of a link of the page (its href as the browser reads it), given by
// its mark; none for a link without a mark (one the stylesheet wrote itself, or a place in the
// page), which is judged by the address it holds.
std::optional<QString> markedLabelHref(const QString& address, const QStringList& hrefs);

} // namespace veldra
