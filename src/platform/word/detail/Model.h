#pragma once

#include "platform/word/detail/Package.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veldra::word::detail {

// Resolved character formatting, shared by every character that carries it.
struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool subscript = false;
    bool superscript = false;
    int underline = 0;
    bool underlineFromCharacterStyle = false;

    bool operator==(const CharFormat&) const = default;
};

// What a character carries besides its code point.
struct CharAttributes {
    uint16_t format = 0;                // index into Model::formats
    int32_t field = -1;                 // the innermost field whose result holds it, or -1
    int32_t hyperlink = -1;             // the hyperlink that holds it, or -1
};

struct ParagraphRec {
    int start = 0;      // first character
    int end = 0;        // one past the paragraph mark
    QString style;      // UI name of the paragraph style
    int alignment = 0;
    int listType = 0;
    QString listString;
    int listLevel = 0;  // 1-based; 0 when not numbered
    int table = -1;     // innermost table holding the paragraph
};

struct FieldRec {
    int type = -1;
    QString code;
    int resultStart = 0;
    int resultEnd = 0;
    int parent = -1;
};

struct HyperlinkRec {
    QString address;
    QString subAddress;
    int start = 0;
    int end = 0;
};

// A footnote or endnote, read as its shown text at the place of its reference mark.
struct NoteRec {
    int position = 0;                   // its reference mark
    QString text;
};

struct BookmarkRec {
    QString name;
    int start = 0;
    int end = 0;
};

struct CellRec {
    int start = 0;
    int end = 0;
    bool mergedAway = false;            // continuation of a vertical merge: Word has no cell here
    int gridColumn = 0;                 // the first column of the table grid the cell stands in
    int columnSpan = 1;                 // grid columns it covers
    int rowSpan = 1;                    // rows it covers: itself and the continuations below it
    std::array<bool, 4> borders{};      // top, left, bottom, right
    int verticalAlignment = 0;
    std::vector<int> tables;            // tables nested directly in this cell
};

struct TableRec {
    int start = 0;
    int end = 0;
    int parent = -1;                    // enclosing table, -1 at top level
    int headingRows = 0;                // the rows at the top marked to repeat as its heading
    std::vector<std::vector<CellRec>> rows;
};

// How a picture's media is reached, as far as the package tells it.
enum class GraphicKind { Picture, Chart, SmartArt, Ole, Unknown };

struct ShapeRec {
    int position = 0;                   // its "/" character
    int type = 3;
    GraphicKind kind = GraphicKind::Picture;
    qint64 cx = 0;                      // extent in EMU
    qint64 cy = 0;
    QString mediaPart;                  // embedded media part name, "" when none
    QString linkTarget;                 // linked file, raw as the relationship gives it
    std::array<double, 4> crop{};       // left, top, right, bottom as fractions of the picture
};

struct Model {
    std::shared_ptr<const Package> package;
    QString baseFolder;                 // where linked pictures are looked for, "" for none
    std::u32string text;
    std::vector<CharAttributes> attributes;     // one per character of text
    std::vector<CharFormat> formats;
    std::vector<ParagraphRec> paragraphs;
    std::vector<FieldRec> fields;
    std::vector<int> emptyFields;       // fields whose result holds no character, by position
    std::vector<HyperlinkRec> hyperlinks;
    std::vector<BookmarkRec> bookmarks; // visible ones, by start
    std::vector<NoteRec> notes;         // footnotes and endnotes, by position
    std::vector<TableRec> tables;       // in document order of their start
    std::vector<int> topTables;         // the tables in the body, in order
    std::vector<ShapeRec> shapes;       // by position
    std::vector<int> pageBreaks;        // positions where a new page starts, ascending
    int firstPageNumber = 1;
    int storedPageCount = 0;            // from the package's statistics, 0 when absent
    QString compatibilityMode;
    mutable QStringList warnings;
    mutable bool pageWarningGiven = false;

    int paragraphAt(int position) const;
};

} // namespace veldra::word::detail
