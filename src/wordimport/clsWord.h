#pragma once

#include "buildform/BuildConverter.h"
#include "platform/word/Document.h"
#include "platform/xml/tree/Document.h"
#include "splbuilder/clsSPL.h"
#include "wordimport/HeadingBounds.h"
#include "wordimport/LinkBounds.h"
#include "wordimport/MarkupSize.h"
#include "wordimport/PictureWork.h"
#include "wordimport/cDIBSection.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace veldra {

// A header paragraph of the label as the index keeps it: its text, the number the word
// processor shows in front of it ("2.1", "" when not numbered) and the blank between them.
struct HeaderRecord {
    QString Title;
    QString ListString;
    QString Separator = QStringLiteral(" ");
};

// The Word label converter: one object per job. A conversion opens the label read-only,
// recognises sections, subsections and excerpts by the paragraph styles the user names,
// turns paragraphs, lists, tables, links and pictures into SPL text markup and pours it
// into an SPL section builder, whose finished document it returns.
//
// Cancel, CheckChars, CheckCrossReferences, CheckSubscriptSuperscript,
// IgnoreTableCellBorders and SPLOutputBoxedWarning are the options the build form shares
// (BuildConverter); the main window's Esc sets Cancel through requestCancel().
//
// There is no word-processor application behind it: documents are read by the word
// layer, so the application object, its window states and its quit have no counterpart.
class clsWord : public buildform::BuildConverter {
public:
    // The section builder of the running conversion; empty outside one.
    std::unique_ptr<clsSPL> SPL;
    // The document in use; closed (null) outside a conversion.
    word::Document Document;
    // The document was saved in an older format than this reader's version names.
    bool DocumentCompatibilityMode = false;
    QString DocumentCompatibilityInfo;
    // The paragraphs of the "HIGHLIGHTS OF PRESCRIBING INFORMATION" excerpt, each with its mark.
    QString DocumentTitle;
    // The number of the last picture named in this conversion.
    long ImageCounter = 0;
    // Where extracted pictures are written.
    QString TargetFolder;
    // The numbered items (1-based) that count as reference entries; 0 until prepared.
    long CrossReferenceStartIndex = 0;
    long CrossReferenceEndIndex = 0;
    // True: pictures are written as JPEG files; false: only named in the log.
    bool ExtractImages = false;
    // How long drawing all pictures of one document may take; the pictures after it are
    // not drawn, with the reason.
    std::chrono::milliseconds PictureDrawingTime = import_picture_limits::DrawingTime;
    // The user aborted the LOINC code loading of the last conversion: the sections not coded
    // by then carry the unclassified section code.
    bool LoincLoadingCancelled = false;

    // What the links and cross references of a conversion may cost (kMaxLinkCharacters);
    // tests make it small.
    qint64 LinkCharacters = kMaxLinkCharacters;
    // The most headings a label may have and the most characters they may hold together
    // (kMaxHeadings, kMaxHeadingCharacters); a document with more is refused before its
    // sections are made. Tests make them small.
    int MaxHeadings = kMaxHeadings;
    qsizetype MaxHeadingCharacters = kMaxHeadingCharacters;
    // The tables the conversion could not convert and left out, each named; an import that
    // left something out does not report plain success.
    QStringList TablesLeftOut;
    // What the conversion may write, counted as the settings document will hold it; the import
    // sets the room its settings document leaves. A label that passes it stops the conversion,
    // which then returns nothing and logs the section where it passed.
    EditorRoom Room;

    // Lets pending events run (Esc may set Cancel meanwhile). Tests put their own in.
    std::function<void()> DoEvents;

    clsWord();

    // Document in use
    // Opens the file read-only; a file that cannot be read raises a VbError saying why.
    void OpenDocument(const QString& FileName);
    // Releases the document; never raises, also when nothing is open.
    void CloseDocument();
    // The build form's conversion: it has no body, so no SPL file is produced.
    bool ProcessDocument(buildform::BuildRequest& request) override;
    // ProcessDocument has no body (the build form's road is not taken by the program), so a
    // build run empties nothing for it.
    bool writesOutput() const override { return false; }

    // Conversion driver: the SPL document, or nothing after a fatal error (logged).
    std::optional<xml::Document> ProcessSPLR4Document(const QString& SourceFileName, const QString& ImageTargetFolder,
                                                      const QString& CheckCrossReferencesText,
                                                      const QString& SectionStyle, const QString& ExcerptStyle,
                                                      const QString& SubSectionStyle,
                                                      const QString& BoxedWarningTitle);
    void ProcessSection(QString& SectionTitle, QString& SubSectionTitle, int& i);

    // Character-format markup of one paragraph (escaped text with content/sup/sub runs).
    QString FormatBoldItalicUnderlineSubScriptSuperScript(const word::Paragraph& Paragraph) const;

    // Lists and tables
    void ConvertList(int& Index, int ListType, QString& SectionTitle, QString& SubSectionTitle, QString& ConvertedList);
    bool ConvertTable(const word::Table& Table, int& Index, QString& SectionTitle, QString& SubSectionTitle,
                      QString& ConvertedTable);

    // Cross references and hyperlinks
    void InitializeCrossReferenceCheck();
    bool ConvertCrossReference(QString& Text, const word::Range& SourceRange);
    bool ConvertHyperLink(QString& Text, const word::Range& SourceRange);
    static QString TextReplaceLink(const QString& Text, const QString& LinkText, const QString& LinkHTML);

    // Pictures: named, registered with the section, written as JPEG files when asked; with
    // AddToText false the references come back for a table cell instead.
    QString ProcessImage(const word::Collection<word::InlineShape>& InlineShapes, QString& SectionTitle,
                         QString& SubSectionTitle, const QString& Folder, bool AddToText);

    // Header index and character check
    void InitiliaizeSectionAndSubSectionHeaders(const QString& SectionStyle, const QString& SubSectionStyle,
                                                const QString& ExcerptStyle);
    QString FindSectionOrSubSectionHeader(const QString& Text) const;
    QString GetSectiontTitleNumbered(const QString& Title, bool IsSubSection) const;
    void CheckCharOccurrence(const word::Range& TargetRange);

    const std::vector<HeaderRecord>& sectionHeaders() const { return SectionHeaders; }
    const std::vector<HeaderRecord>& subSectionHeaders() const { return SubSectionHeaders; }
    const std::vector<HeaderRecord>& excerptHeaders() const { return ExcerptHeaders; }

private:
    // Paragraph i (1-based) of the conversion.
    const word::Paragraph& paragraph(int i) const { return ParagraphList[static_cast<size_t>(i)]; }
    QString styleOf(int i) const;
    // The markup of a paragraph, taken from Room; empty once Room is passed, which is checked
    // before a markup larger than what is left is built.
    QString paragraphMarkup(const word::Paragraph& Paragraph, const QString& SectionTitle);
    bool outOfRoom() const { return roomPassedIn_.has_value(); }
    // Whether a link shown as `shown` to `target`, in a paragraph of textSize characters, is
    // made: its address is not too long, and it fits the links' budget. Logs why not.
    bool admitsLink(const QString& shown, const QString& target, qsizetype textSize);
    // Takes that many characters from the links' budget; once it is spent, says so once and false.
    bool spendLinkCharacters(const QString& shown, qint64 characters);
    // Logs why the table is left out and keeps its name for the import's closing message; false.
    bool leaveTableOut(const word::Table& Table, const QString& SectionTitle, const QString& reason);
    // Raises the error that ends a conversion that passed Room.
    [[noreturn]] void refuseOutOfRoom() const;
    // The text of a header paragraph, its mark included; a tab (often between a heading's
    // number and its words) and a manual line, column or page break count as a blank, and a
    // non-breaking hyphen as a hyphen, so that cleaning does not glue words together.
    QString headingText(int i) const;
    // Whether a heading's text holds more than its mark, blanks and breaks: a heading
    // paragraph without text is no heading, so it does not take the text after it.
    static bool hasTitle(QString headingText);
    // Whether paragraph i is a heading with text in that style.
    bool isHeading(int i, const QString& style) const;
    bool isHeader(int i) const;
    bool isExcerptHeading(int i) const;
    // Where the outermost table holding paragraph i starts, -1 outside tables.
    int tableStartAt(int i) const;
    // Whether paragraph i is a heading with text in a heading style below the subsection
    // headings' ("Heading 3" under subsections in "Heading 2").
    bool isDeeperHeading(int i) const;
    void listParagraphs();
    void contentRun(QString& SectionTitle, QString& SubSectionTitle, int& i);
    QString listFrom(int& i, int ListType, QString& SectionTitle, QString& SubSectionTitle);
    // Whether paragraph i is a numbered paragraph of the table that starts at `table` (-1:
    // outside tables) and no header.
    bool isListItem(int i, int table) const;
    // Whether list paragraph j stands deeper than list paragraph k: at a deeper level of the
    // same numbering; in another numbering, indented deeper (a "List Bullet 2" item numbers
    // at the first level of a numbering of its own, indented under the item before it), or
    // indented alike at a deeper level.
    bool isDeeperItem(int j, int k) const;
    // Where the paragraphs without a number from i on end when they continue list item
    // `item`, or i when they do not: they lead into items deeper than it, or the item after
    // them goes on with its numbering, level with it. Between bullets of one numbering (list
    // styles number all their paragraphs alike) they continue the item only when indented as
    // deep as it: a paragraph at the margin is text between two lists.
    int continuationEnd(int i, int item, int table) const;
    // Places list paragraph j outside tables among the items listFrom holds open before it
    // (`openItems`, outermost first; empty when no list is open), as listFrom does: nested in
    // the item it stands deeper than, after the item it stands level with, or starting a list
    // of its own. False when paragraphs without a number stand between the last open item and
    // j and continue none of the open items: the list ends before them, and each stands on its own.
    bool placeListItem(std::vector<int>& openItems, int j) const;
    // A paragraph of a list item or a table cell: its text, then its pictures.
    QString textAndPictures(const word::Paragraph& Paragraph, QString& SectionTitle, QString& SubSectionTitle);
    // That with its links and cross references made links, as in a paragraph of the text.
    QString linkedTextAndPictures(const word::Paragraph& Paragraph, QString& SectionTitle, QString& SubSectionTitle);
    // That of paragraph i; empty, with the error logged, when it cannot be read.
    QString itemPiece(int i, QString& SectionTitle, QString& SubSectionTitle);
    // The pictures of heading paragraph i go into the text of the section it opens.
    void headingPictures(int i, QString& SectionTitle, QString& SubSectionTitle);
    void excerptRun(QString& SectionTitle, QString& SubSectionTitle, int& i);
    void walkParagraphs();
    // Throws, naming the section, when the least the label's text adds to the settings document
    // passes Room: each paragraph, list item, table row and cell of a section becomes an element
    // at least, and its text and the notes it cites are written out. Counted from the read
    // document before any markup is built, so that a small file of a million empty paragraphs
    // costs a pass over them, not the building of a label as large as the editor opens.
    void refuseLabelLargerThanTheRoom();
    // Throws when the document has more headings, or more characters in them, than the limits.
    void refuseHeadingsPastTheirLimits(const QString& SectionStyle, const QString& SubSectionStyle, const QString& ExcerptStyle) const;
    // Adds paragraph i, a heading with text, to the index of its style (or styles).
    void indexHeader(int i, const QString& style, const QString& text, const QString& SectionStyle,
                     const QString& SubSectionStyle, const QString& ExcerptStyle);
    // Gives a section heading that the builder's document lacks a top-level section of its own.
    void keepSection(const QString& title);
    // Titles the boxed warning after the label's own boxed-warning heading, when it has one.
    void recogniseBoxedWarning();
    bool askToCancel();
    void setProgress(int i) const;
    // The numbered items of the document, read once per conversion.
    const QStringList& crossReferenceItems();
    // The reference entries (the numbered items from CrossReferenceStartIndex to
    // CrossReferenceEndIndex) by their numbers, case folded, so that a citation is looked up
    // at once rather than among all items.
    struct ReferenceEntries {
        int count = 0;
        QString last;
    };
    const QHash<QString, ReferenceEntries>& referenceEntriesByNumber();

    std::vector<word::Paragraph> ParagraphList;
    int ParagraphCount = 0;
    std::vector<HeaderRecord> ExcerptHeaders;
    std::vector<HeaderRecord> SectionHeaders;
    std::vector<HeaderRecord> SubSectionHeaders;
    QString sectionStyle_;
    QString subSectionStyle_;
    QString excerptStyle_;
    std::optional<QStringList> crossReferenceItems_;
    // referenceEntriesByNumber() and the items it was made from.
    QHash<QString, ReferenceEntries> referenceEntries_;
    std::optional<std::pair<long, long>> referenceEntriesRange_;
    std::optional<QString> roomPassedIn_;   // the section whose text passed Room
    qint64 linkCharactersLeft_ = 0;     // of LinkCharacters in this conversion; -1 once spent
    std::unique_ptr<cDIBSection> dib_;
    // The pictures of the open document, each media drawn once; made by the first picture.
    std::optional<PictureWork> pictures_;
};

} // namespace veldra
