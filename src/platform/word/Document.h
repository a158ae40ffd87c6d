#pragma once

#include "platform/word/Collection.h"
#include "platform/word/Field.h"
#include "platform/word/InlineShape.h"
#include "platform/word/OpenError.h"
#include "platform/word/Paragraph.h"
#include "platform/word/Range.h"
#include "platform/word/Table.h"
#include "platform/word/WordConstants.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace veldra::word {

// A word-processing document (.docx, .docm, .dotx) read into memory. It is a read-only
// model of the main story: paragraphs in order (table cells included), their styles by UI
// name, list numbers computed as a word processor shows them, character formatting
// resolved through the style chain, fields (their results), hyperlinks, bookmarks, tables
// and pictures. Tracked changes are read as accepted; hidden text is left out. So that a
// document loses nothing it shows, floating pictures count as inline ones where they are
// anchored, a text box's paragraphs follow the paragraph that holds it, and a footnote's or
// endnote's mark carries the note's text.
//
// Opening reads untrusted input: nothing is fetched from the network, no entity is
// expanded, nothing is written to disk, and the package's entry count, each part's size
// and picture sizes are capped. A bad file is an expected outcome: open() returns false
// and openError() says which part and why. A legacy .doc or an .rtf file is refused with a
// message asking for the file saved as .docx.
//
// Document is a handle; copies share the model, and every Range, Paragraph, … keeps the
// model it came from alive.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = default;
    Document& operator=(const Document&) = default;

    bool open(const QString& path);
    // baseFolder is where linked pictures are looked for; "" reads none.
    bool openBytes(const QByteArray& bytes, const QString& baseFolder = QString());
    const OpenError& openError() const { return error_; }
    bool isOpen() const { return model_ != nullptr; }
    void close();

    // The format version the document was saved in, as text ("15", "14", "12").
    QString compatibilityMode() const;

    Collection<Paragraph> paragraphs() const;
    Range content() const;
    Range range(int start, int end) const;
    // Tables in the body (not nested ones).
    Collection<Table> tables() const;
    Collection<InlineShape> inlineShapes() const;
    // The number of pages: the count the file's statistics record, or the estimate from
    // the page breaks the file records when that is higher.
    int pageCount() const;
    // The numbered paragraphs (bullets aside), each its number, a blank and its text.
    QStringList crossReferenceItems() const;

    // Lines for the log's "Warning" category about what the model reads only
    // approximately (tracked changes, estimated page numbers, unknown number formats,
    // symbol fonts without a mapping). Grows as such things are met.
    QStringList warnings() const;

private:
    std::shared_ptr<const detail::Model> model_;
    OpenError error_;
};

} // namespace veldra::word
