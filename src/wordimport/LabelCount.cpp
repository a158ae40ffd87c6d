#include "wordimport/clsWord.h"

#include "wordimport/TableCells.h"

#include <algorithm>

namespace veldra {

namespace {

// That many elements of the settings document, with the Word2SPLID each gets there.
DocumentSize elements(qint64 count)
{
    return DocumentSize{count, count, count * kIdAttributeBytes};
}

// Whether a paragraph's text holds more than its mark and control characters.
bool holdsText(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20; });
}

// The count of the label's text in the sections: what it adds at least, and where.
struct LabelCount {
    EditorRoom room;
    QString section;
    bool counting = false;       // in a section's text; not before the first section, nor in excerpts
    std::vector<int> openItems;  // the list items the converter holds open (clsWord::placeListItem)
    qint64 pendingBreaks = 0;    // empty paragraphs after a list item, not yet counted

    bool take(const DocumentSize& size) { return !counting || room.take(size); }
    // Empty paragraphs after a list item continue an open item, adding nothing, when the list
    // item after them goes on with it; anything else makes each of them a line break.
    bool countBreaks(bool continued)
    {
        const DocumentSize breaks = elements(continued ? 0 : pendingBreaks);
        pendingBreaks = 0;
        return take(breaks);
    }
    bool endList()
    {
        openItems.clear();
        return countBreaks(false);
    }
};

} // namespace

void clsWord::refuseLabelLargerThanTheRoom()
{
    LabelCount count;
    count.room = Room;
    const auto refuse = [&] {
        roomPassedIn_ = count.section;
        refuseOutOfRoom();
    };
    for (int i = 1; i <= ParagraphCount; ++i) {
        const word::Range range = paragraph(i).range();
        const QString style = styleOf(i);
        if (const word::Table table = range.tables().first(); !table.isNull()) {
            const word::Collection<word::Paragraph> paragraphs = table.range().paragraphs();
            i = paragraphs.first().index() + paragraphs.count() - 1;
            // A table left out for its cells adds nothing; any other adds a row or a cell at least for each.
            const qint64 cells = cellsOf(table);
            if (!count.endList() || !count.take(elements(cells <= kMaxTableCells ? cells + table.rowCount() : 0)))
                refuse();
        } else if ((style == sectionStyle_ || style == subSectionStyle_ || style == excerptStyle_) && isHeading(i, style)) {
            if (!count.endList())
                refuse();
            if (style == sectionStyle_)
                count.section = headingText(i);
            count.counting = style != excerptStyle_ && !count.section.isNull();
            if (!count.take(elements(1)))
                refuse();
        } else {
            DocumentSize size = leastMarkupSizeOf(range);
            const bool listItem = range.listFormat().listType() != word::list_type::None;
            if (listItem && !count.countBreaks(placeListItem(count.openItems, i)))
                refuse();
            if (listItem || holdsText(range.text()) || count.openItems.empty())
                size += elements(1);
            else
                ++count.pendingBreaks;
            if (!count.take(size))
                refuse();
        }
    }
    if (!count.endList())
        refuse();
}

} // namespace veldra
