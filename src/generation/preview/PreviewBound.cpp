#include "generation/preview/PreviewBound.h"

#include "platform/core/CountText.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/UnorderedWalk.h"

namespace veldra {

namespace {

// What one footnote, link and picture cost per element of the document, measured on labels
// made of each kind alone (a link's search of every element's ID is the dearest).
constexpr qint64 FootnoteWeight = 3;
constexpr qint64 LinkWeight = 5;
constexpr qint64 PictureWeight = 2;
constexpr qint64 SectionWeight = 1;

// How many of one kind alone a document of this size may hold.
qint64 alone(qint64 elements, qint64 weight)
{
    return PreviewLookupBound / (std::max<qint64>(elements, 1) * weight);
}

} // namespace

qint64 PreviewLookups::cost() const
{
    return elements * (FootnoteWeight * footnotes + LinkWeight * links + PictureWeight * pictures + SectionWeight * sections);
}

PreviewLookups countPreviewLookups(const xml::Document& spl)
{
    PreviewLookups counted;
    const xml::Node root = spl.documentElement();
    if (root.isNull())
        return counted;
    xml::forEachElementUnordered(xml::Cursor(root), [&counted](const xml::Cursor& element) {
        ++counted.elements;
        if (element.isNamed("footnote") || element.isNamed("footnoteRef"))
            ++counted.footnotes;
        else if (element.isNamed("linkHtml") && element.hasAttribute("href"))
            ++counted.links;
        else if (element.isNamed("renderMultiMedia") && element.hasAttribute("referencedObject"))
            ++counted.pictures;
        else if (element.isNamed("section"))
            ++counted.sections;
        return true;
    });
    return counted;
}

QString previewRefusal(const xml::Document& spl)
{
    const PreviewLookups counted = countPreviewLookups(spl);
    if (counted.cost() <= PreviewLookupBound)
        return {};
    return QStringLiteral(
               "The SPL File is not previewed: it holds %1 footnotes, %2 links, %3 pictures and %4 sections among %5 "
               "elements, and the SPL stylesheet looks each of them up across the whole file. That makes %6 lookups, "
               "more than the %7 a preview may take, so the preview would keep Veldra busy for minutes. A file of "
               "this size is previewed with up to about %8 footnotes, %9 links, %10 pictures or %11 sections.\r\n\r\n"
               "Check the file for footnotes, links, pictures or sections repeated by mistake, or split the label into "
               "smaller documents. The file itself is not changed.")
        .arg(countText(counted.footnotes), countText(counted.links), countText(counted.pictures),
             countText(counted.sections), countText(counted.elements), countText(counted.cost()), countText(PreviewLookupBound),
             countText(alone(counted.elements, FootnoteWeight)), countText(alone(counted.elements, LinkWeight)))
        .arg(countText(alone(counted.elements, PictureWeight)), countText(alone(counted.elements, SectionWeight)));
}

QString previewStoppedMessage()
{
    return QStringLiteral(
               "The SPL File is not previewed: the SPL stylesheet was stopped after %1 steps, the most the preview lets it "
               "take, as its lookups on this label (its sections, lists, tables or products, each looked up among the "
               "others) would keep Veldra busy for minutes.\r\n\r\n"
               "Check the file for parts repeated by mistake, or split the label into smaller documents. The file itself "
               "is not changed.")
        .arg(countText(qint64(PreviewStepLimit)));
}

} // namespace veldra
