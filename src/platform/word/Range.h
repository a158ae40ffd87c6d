#pragma once

#include "platform/word/Collection.h"

#include <QString>

#include <memory>

namespace veldra::word {

namespace detail {
struct Model;
}

class Bookmark;
class Field;
class Hyperlink;
class InlineShape;
class Note;
class Paragraph;
class Table;
class Range;

// Formatting of a range's characters: 0 / True (-1) / Mixed for the toggles, the underline
// kind (underline::…) or Mixed. The paragraph mark carries its own formatting.
class Font {
public:
    Font() = default;
    Font(std::shared_ptr<const detail::Model> model, int start, int end);

    int bold() const;
    int italic() const;
    int underline() const;
    int subscript() const;
    int superscript() const;
    // Whether the underline is the look of the characters' style (a hyperlink's) rather than
    // stated on the text itself: True, False or Mixed.
    int underlineFromCharacterStyle() const;

private:
    template <typename Get> int uniform(Get get) const;

    std::shared_ptr<const detail::Model> model_;
    int start_ = 0;
    int end_ = 0;
};

// The numbering shown in front of the range's first paragraph.
class ListFormat {
public:
    ListFormat() = default;
    ListFormat(std::shared_ptr<const detail::Model> model, int paragraph);

    // The number as shown ("2.1", "a)", "•"), "" when the paragraph is not numbered.
    QString listString() const;
    // list_type::…; None for a paragraph that is not numbered.
    int listType() const;
    // 1-based level of the list, 0 when not numbered.
    int listLevelNumber() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int paragraph_ = -1;
};

class ParagraphFormat {
public:
    ParagraphFormat() = default;
    ParagraphFormat(std::shared_ptr<const detail::Model> model, int start, int end);

    // alignment::… of the paragraphs in the range, Mixed when they differ.
    int alignment() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int start_ = 0;
    int end_ = 0;
};

// A stretch [start, end) of the document's main story, counted in characters (code points).
// The story holds text with its paragraph marks ("\r"), "\t", "\v" (line break), "\f"
// (page break), 14 (column break), 30/31 (non-breaking and soft hyphen), 2 for each
// footnote or endnote mark, and "/" for each picture (a floating one where it is anchored).
// Field results are in it, field codes, hidden text and deleted revisions are not; the
// paragraphs of a text box follow the paragraph that holds it. A default Range is null: it
// is empty and every lookup on it is empty too.
class Range {
public:
    Range() = default;
    Range(std::shared_ptr<const detail::Model> model, int start, int end);

    bool isNull() const { return !model_; }
    int start() const { return start_; }
    int end() const { return end_; }

    QString text() const;
    Font font() const;
    ParagraphFormat paragraphFormat() const;
    ListFormat listFormat() const;

    // One range per character, in order.
    Collection<Range> characters() const;
    // Paragraphs that overlap the range.
    Collection<Paragraph> paragraphs() const;
    // Fields and hyperlinks that overlap the range, outermost first by start.
    Collection<Field> fields() const;
    Collection<Hyperlink> hyperlinks() const;
    // Visible bookmarks that start in the range, in document order.
    Collection<Bookmark> bookmarks() const;
    // Footnotes and endnotes whose mark lies in the range, in document order.
    Collection<Note> notes() const;
    // The outermost tables that overlap the range.
    Collection<Table> tables() const;
    Collection<InlineShape> inlineShapes() const;

    // Estimated page number of the range's end, adjusted by the first page number. Page
    // layout is not computed: the estimate counts the page breaks the file records, and
    // the document's warnings() say so once.
    int pageNumber() const;

    bool operator==(const Range& other) const
    {
        return model_ == other.model_ && start_ == other.start_ && end_ == other.end_;
    }

private:
    std::shared_ptr<const detail::Model> model_;
    int start_ = 0;
    int end_ = 0;
};

} // namespace veldra::word
