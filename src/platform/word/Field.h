#pragma once

#include "platform/word/Range.h"
#include "platform/word/WordConstants.h"

namespace veldra::word {

// A field, read from its cached result: the document shows what the field last computed.
class Field {
public:
    Field() = default;
    Field(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    // field_type::…, from the code's keyword; field_type::Empty for unknown keywords.
    int type() const;
    // The field code as stored, e.g. "REF _Ref1 \h".
    QString code() const;
    Range result() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

// A hyperlink on text (hyperlink elements and HYPERLINK fields).
class Hyperlink {
public:
    Hyperlink() = default;
    Hyperlink(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    int type() const { return hyperlink_type::Range; }
    // The external target, "" for a link inside the document.
    QString address() const;
    // The bookmark it points at, "" when none.
    QString subAddress() const;
    Range range() const;
    QString textToDisplay() const { return range().text(); }

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

// A named bookmark. Hidden bookmarks (names starting with "_", made for cross references
// and tables of contents) are not listed, as the user does not see them.
class Bookmark {
public:
    Bookmark() = default;
    Bookmark(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    QString name() const;
    Range range() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

// A footnote or endnote: its mark in the main story and the text it shows.
class Note {
public:
    Note() = default;
    Note(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    Range reference() const;
    QString text() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

} // namespace veldra::word
