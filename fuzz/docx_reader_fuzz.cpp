// libFuzzer target for the .docx reader: any bytes must open or be refused with a reason,
// and whatever opens must be readable member by member.
#include "platform/word/Document.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace veldra::word;

namespace {

void walk(const Document& doc)
{
    for (const Paragraph& paragraph : doc.paragraphs()) {
        const Range range = paragraph.range();
        (void)paragraph.style();
        (void)range.text();
        (void)range.listFormat().listString();
        (void)range.paragraphFormat().alignment();
        for (const Range& character : range.characters())
            (void)(character.font().bold() + character.fields().count() + character.hyperlinks().count());
        for (const Field& field : range.fields())
            (void)field.result().text();
        for (const Bookmark& bookmark : range.bookmarks())
            (void)bookmark.range().text();
        for (const Table& table : range.tables())
            for (int row = 1; row <= table.rowCount(); ++row)
                for (int column = 1; column <= table.columnCount(); ++column) {
                    try {
                        const Cell cell = table.cell(row, column);
                        (void)(cell.border(border::Bottom) + cell.verticalAlignment() + cell.range().text().size());
                    } catch (const std::exception&) {
                        // a merged or missing cell: an expected answer
                    }
                }
        for (const InlineShape& shape : range.inlineShapes())
            (void)shape.picture().bytes.size();
        (void)range.pageNumber();
    }
    (void)doc.pageCount();
    (void)doc.crossReferenceItems();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Document doc;
    if (doc.openBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        walk(doc);
    return 0;
}
