#include "platform/word/Range.h"

#include "platform/word/Field.h"
#include "platform/word/InlineShape.h"
#include "platform/word/Paragraph.h"
#include "platform/word/Table.h"
#include "platform/word/WordConstants.h"
#include "platform/word/detail/Model.h"

#include <algorithm>
#include <set>

namespace veldra::word {

Range::Range(std::shared_ptr<const detail::Model> model, int start, int end) : model_(std::move(model))
{
    if (!model_)
        return;
    const int size = static_cast<int>(model_->text.size());
    start_ = std::clamp(start, 0, size);
    end_ = std::clamp(end, start_, size);
}

QString Range::text() const
{
    if (!model_)
        return QString();
    return QString::fromUcs4(model_->text.data() + start_, end_ - start_);
}

Font Range::font() const
{
    return Font(model_, start_, end_);
}

ParagraphFormat Range::paragraphFormat() const
{
    return ParagraphFormat(model_, start_, end_);
}

ListFormat Range::listFormat() const
{
    return ListFormat(model_, model_ ? model_->paragraphAt(start_) : -1);
}

Collection<Range> Range::characters() const
{
    std::vector<Range> items;
    items.reserve(static_cast<size_t>(end_ - start_));
    for (int position = start_; position < end_; ++position)
        items.emplace_back(model_, position, position + 1);
    return Collection<Range>(std::move(items));
}

Collection<Paragraph> Range::paragraphs() const
{
    std::vector<Paragraph> items;
    if (!model_)
        return {};
    const int first = model_->paragraphAt(start_);
    for (int index = first; index >= 0 && index < static_cast<int>(model_->paragraphs.size()); ++index) {
        const auto& rec = model_->paragraphs[static_cast<size_t>(index)];
        if (rec.start >= end_ && !(rec.start == start_ && start_ == end_))
            break;
        items.emplace_back(model_, index);
    }
    return Collection<Paragraph>(std::move(items));
}

namespace {

// Items by index over the characters of [start, end), plus the items that enclose them
// (parents of nested fields), in the order of their indexes.
template <typename Get, typename Parent>
std::set<int> itemsOver(const std::vector<detail::CharAttributes>& attributes, int start, int end, Get get, Parent parentOf)
{
    std::set<int> found;
    for (int position = start; position < end; ++position) {
        for (int item = get(attributes[static_cast<size_t>(position)]); item >= 0 && !found.count(item); item = parentOf(item))
            found.insert(item);
    }
    return found;
}

} // namespace

Collection<Field> Range::fields() const
{
    if (!model_)
        return {};
    const auto found = itemsOver(model_->attributes, start_, end_, [](const detail::CharAttributes& a) { return a.field; },
                                 [this](int f) { return model_->fields[static_cast<size_t>(f)].parent; });
    std::vector<Field> items;
    for (int index : found)
        items.emplace_back(model_, index);
    // Fields with an empty result hold no character; they belong to the range they sit in.
    const auto& empty = model_->emptyFields;
    auto it = std::lower_bound(empty.begin(), empty.end(), start_, [this](int field, int position) {
        return model_->fields[static_cast<size_t>(field)].resultStart < position;
    });
    for (; it != empty.end() && model_->fields[static_cast<size_t>(*it)].resultStart < end_; ++it)
        items.emplace_back(model_, *it);
    return Collection<Field>(std::move(items));
}

Collection<Hyperlink> Range::hyperlinks() const
{
    if (!model_)
        return {};
    const auto found = itemsOver(model_->attributes, start_, end_,
                                 [](const detail::CharAttributes& a) { return a.hyperlink; }, [](int) { return -1; });
    std::vector<Hyperlink> items;
    for (int index : found)
        items.emplace_back(model_, index);
    return Collection<Hyperlink>(std::move(items));
}

Collection<Bookmark> Range::bookmarks() const
{
    if (!model_)
        return {};
    // Bookmarks are kept in the order of their starts.
    const auto& marks = model_->bookmarks;
    const int last = std::max(end_, start_ + 1);
    auto it = std::lower_bound(marks.begin(), marks.end(), start_,
                               [](const detail::BookmarkRec& mark, int position) { return mark.start < position; });
    std::vector<Bookmark> items;
    for (; it != marks.end() && it->start < last; ++it)
        items.emplace_back(model_, static_cast<int>(it - marks.begin()));
    return Collection<Bookmark>(std::move(items));
}

Collection<Note> Range::notes() const
{
    if (!model_)
        return {};
    const auto& notes = model_->notes;
    auto it = std::lower_bound(notes.begin(), notes.end(), start_,
                               [](const detail::NoteRec& note, int position) { return note.position < position; });
    std::vector<Note> items;
    for (; it != notes.end() && it->position < end_; ++it)
        items.emplace_back(model_, static_cast<int>(it - notes.begin()));
    return Collection<Note>(std::move(items));
}

Collection<Table> Range::tables() const
{
    if (!model_)
        return {};
    // A nested table lies inside its outer one, so the outermost tables that overlap the
    // range are the body's tables that do; those do not overlap each other.
    const auto& top = model_->topTables;
    auto it = std::upper_bound(top.begin(), top.end(), start_, [this](int position, int table) {
        return position < model_->tables[static_cast<size_t>(table)].end;
    });
    std::vector<Table> items;
    for (; it != top.end() && model_->tables[static_cast<size_t>(*it)].start < std::max(end_, start_ + 1); ++it)
        items.emplace_back(model_, *it);
    return Collection<Table>(std::move(items));
}

Collection<InlineShape> Range::inlineShapes() const
{
    if (!model_)
        return {};
    const auto& shapes = model_->shapes;
    auto first = std::lower_bound(shapes.begin(), shapes.end(), start_,
                                  [](const detail::ShapeRec& s, int p) { return s.position < p; });
    std::vector<InlineShape> items;
    for (auto it = first; it != shapes.end() && it->position < end_; ++it)
        items.emplace_back(model_, static_cast<int>(it - shapes.begin()));
    return Collection<InlineShape>(std::move(items));
}

int Range::pageNumber() const
{
    if (!model_)
        return 0;
    if (!model_->pageWarningGiven) {
        model_->pageWarningGiven = true;
        model_->warnings.append(QStringLiteral(
            "Page numbers are estimated from the page breaks the Word document records; they may differ from the printed pages."));
    }
    // The page of the range's end: its last character, or the position itself when empty.
    const int position = end_ > start_ ? end_ - 1 : end_;
    const auto& breaks = model_->pageBreaks;
    const auto passed = std::upper_bound(breaks.begin(), breaks.end(), position) - breaks.begin();
    return model_->firstPageNumber + static_cast<int>(passed);
}

} // namespace veldra::word
