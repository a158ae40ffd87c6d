#include "generation/preview/LabelLinkMarks.h"

#include "platform/xml/tree/Document.h"

#include <QRegularExpression>

#include <algorithm>

namespace veldra {

namespace {

// Holds "http", so that the stylesheet copies the address as it stands, and no '#'.
const QString Mark = QStringLiteral("veldra-label-link-http:");

const QString Links = QStringLiteral("//linkHtml[@href]");

// Whether the link is not to a place in the page ("#..."), which the stylesheet copies as it
// stands.
bool leavesPage(const xml::Node& link)
{
    return !link.getAttribute(QStringLiteral("href")).startsWith(QLatin1Char('#'));
}

} // namespace

LabelWithMarkedLinks withMarkedLinks(const xml::Document& spl)
{
    const xml::NodeList links = spl.selectNodes(Links);
    if (std::none_of(links.begin(), links.end(), leavesPage))
        return {spl.xmlBytes(), {}};
    xml::Document copy;
    copy.loadCopy(spl);
    QStringList hrefs;
    for (const xml::Node& link : copy.selectNodes(Links)) {
        if (!leavesPage(link))
            continue;
        const QString href = link.getAttribute(QStringLiteral("href"));
        const qsizetype place = href.indexOf(QLatin1Char('#'));
        link.setAttribute(QStringLiteral("href"),
                          Mark + QString::number(hrefs.size()) + (place < 0 ? QString() : href.mid(place)));
        hrefs << href;
    }
    return {copy.xmlBytes(), hrefs};
}

std::optional<QString> markedLabelHref(const QString& address, const QStringList& hrefs)
{
    static const QRegularExpression marked(QLatin1Char('^') + QRegularExpression::escape(Mark) + QStringLiteral("(\\d{1,9})"));
    const QRegularExpressionMatch match = marked.match(address);
    if (!match.hasMatch())
        return std::nullopt;
    const qsizetype number = match.captured(1).toLongLong();
    return number < hrefs.size() ? std::optional<QString>(hrefs.at(number)) : std::nullopt;
}

} // namespace veldra
