#pragma once

#include "platform/word/detail/Model.h"
#include "platform/word/detail/Notes.h"
#include "platform/word/detail/Numbering.h"
#include "platform/word/detail/Properties.h"
#include "platform/word/detail/ShiftedRuns.h"
#include "platform/word/detail/Styles.h"

#include <QHash>
#include <QSet>

#include <libxml/tree.h>

#include <optional>
#include <vector>

namespace veldra::word::detail {

// The model keeps 16 bytes a character; a story longer than this (some 8,000 pages of dense
// text, 250 times a long label), its list numbers counted, is refused.
inline constexpr qsizetype MaxCharacters = 16'000'000;

// Flattens the main story of document.xml into the model: one pass over the body in
// document order, numbering paragraphs as they are met.
class BodyReader {
public:
    BodyReader(Model& model, const Styles& styles, Numbering& numbering,
               QHash<QString, Relationship> relationships, NoteTexts notes);

    // partSize (the document part's size) sizes the buffers. False, with the model
    // incomplete, when the story holds more than MaxCharacters characters.
    bool read(xmlNode* documentRoot, qsizetype partSize);

private:
    struct TableContext {
        int table = -1;
        QString styleId;
        RunProps run;                   // the table style's run properties for this cell
        ParaProps para;
    };

    struct FieldFrame {
        bool inCode = true;
        QString code;
        int field = -1;
        int hyperlink = -1;
    };

    // A paragraph style with its chain resolved, by the id a paragraph names.
    struct ParagraphStyle {
        const StyleRec* style = nullptr;
        ParaProps para;
        RunProps run;
    };

    // A run's properties with every level below it folded in.
    struct ResolvedRun {
        CharFormat format;
        bool hidden = false;
        QString font;
        int size = 0;                   // in half-points
        int position = 0;               // raised from the baseline, in half-points
    };

    struct RunContext {
        const TableContext* table = nullptr;
        QString paragraphStyle;
        RunProps paragraphRun;          // the paragraph style chain's run properties
    };

    void readBlocks(xmlNode* parent, const TableContext* table);
    void readParagraph(xmlNode* p, const TableContext* table);
    // Gives the paragraph the next number of its list, if it is a list item; the indent the
    // list level sets, if any.
    std::optional<int> numberParagraph(ParagraphRec& rec, const ParaProps& direct, const ParaProps& para,
                                       const QString& styleId);
    void readTable(xmlNode* tbl, const TableContext* outer);
    void readRow(xmlNode* tr, const std::vector<xmlNode*>& cells, int table, int rowIndex, int rowCount,
                 const TableContext& base, const Borders& tableBorders, unsigned look);
    // Whether the paragraph mark, row or cell of these properties stays when the tracked
    // changes are accepted (a deleted or moved-away one does not); notes any change.
    bool keptByChanges(xmlNode* properties);
    void readCell(xmlNode* tc, int table, int rowIndex, int columnIndex, bool lastRow, bool lastColumn,
                  const TableContext& base, const Borders& tableBorders, unsigned look);
    void readInline(xmlNode* parent, const RunContext& context);
    void readRun(xmlNode* r, const RunContext& context);
    void readRunContent(xmlNode* r, const RunContext& context, uint16_t format, const QString& font);
    void readAlternateContent(xmlNode* node, const RunContext& context);
    void readMath(xmlNode* math, const RunContext& context);
    void readDrawing(xmlNode* drawing, uint16_t format);
    void readVml(xmlNode* container, uint16_t format, bool ole);
    void readSection(xmlNode* sectPr);
    // Reads the text boxes met in the paragraph just read.
    void readTextBoxes(const TableContext* table);
    const ParagraphStyle& paragraphStyleOf(const QString& styleId);

    void fieldBegin();
    void fieldSeparate();
    void fieldEnd();
    // A w:fldChar (begin, separate or end) or a w:instrText: the field structure that both
    // visible and hidden runs carry.
    void readFieldMark(xmlNode* node);
    void abandonUnfinishedFieldCodes();
    void addBookmarkStart(xmlNode* node);
    void addBookmarkEnd(xmlNode* node);

    ResolvedRun resolve(const RunContext& context, const RunProps& characterStyle, const RunProps& direct) const;
    // Turns the runs of the paragraph just read that are raised or lowered in a smaller size
    // into superscripts and subscripts.
    void settleShiftedRuns(const RunContext& context);
    uint16_t formatIndex(const CharFormat& format);
    bool emitting() const;
    // The characters the story may still take: its text and its list numbers count.
    qsizetype charactersLeft() const;
    // Whether `count` more characters fit below MaxCharacters; once one does not, reading stops.
    bool room(qsizetype count);
    void append(char32_t c, uint16_t format);
    void appendText(const xmlChar* utf8, uint16_t format, const QString& font);
    void addShape(ShapeRec shape, uint16_t format);
    // A footnote or endnote reference: its mark, carrying the note's text.
    void addNoteReference(xmlNode* reference, const QHash<QString, QString>& texts, uint16_t format);
    void warnOnce(const QString& key, const QString& text);

    Model& model_;
    const Styles& styles_;
    Numbering& numbering_;
    QHash<QString, Relationship> rels_;
    NoteTexts notes_;
    std::vector<FieldFrame> fields_;
    std::vector<int> hyperlinks_;
    QHash<QString, int> openBookmarks_;
    std::vector<int> renderedBreaks_;
    std::vector<int> explicitBreaks_;
    std::optional<int> mergedParagraphStart_;
    int floatingPictures_ = 0;
    std::vector<xmlNode*> textBoxes_;   // met in the paragraph being read, not read yet
    std::vector<ShownRun> paragraphRuns_;   // the shown runs of the paragraph being read
    int codeDepth_ = 0;                 // fields whose code is being read
    bool sawSection_ = false;
    bool tooLong_ = false;              // MaxCharacters reached: nothing more is read
    qsizetype listCharacters_ = 0;      // of the list numbers kept so far
    bool revisions_ = false;
    QSet<QString> warned_;
    QHash<QString, ParagraphStyle> paragraphStyles_;
    // Cells being read, innermost last: nested tables register in the cell that holds them.
    std::vector<std::pair<int, std::pair<int, int>>> openCells_;
};

} // namespace veldra::word::detail
