// libFuzzer target for the .docx reader: any bytes must open or be refused with a reason,
// and whatever opens must be readable member by member.
#include "platform/word/Document.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace veldra::word;

namespace {

// A broken promise ends the run, so that the fuzzer keeps the input.
void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "Fuzz check failed: %s\n", promise);
    std::abort();
}

void walk(const Document& doc)
{
    int expectedStart = 0;
    for (const Paragraph& paragraph : doc.paragraphs()) {
        const Range range = paragraph.range();
        require(range.start() == expectedStart && range.end() > range.start(), "paragraphs tile the story");
        require(range.text().endsWith(QLatin1Char('\r')), "a paragraph ends with its mark");
        expectedStart = range.end();
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
    require(expectedStart == doc.content().end(), "paragraphs cover the story");
    (void)doc.pageCount();
    (void)doc.crossReferenceItems();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Document doc;
    const bool opened = doc.openBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    require(opened == doc.openError().ok(), "an open succeeds exactly when it reports no error");
    if (opened)
        walk(doc);
    return 0;
}
