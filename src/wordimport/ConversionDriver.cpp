#include "wordimport/clsWord.h"

#include "app/SharedProcedures.h"
#include "app/frmLog.h"
#include "wordimport/ImportLog.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>

namespace veldra {

namespace {

const QString highlightsTitle = QStringLiteral("HIGHLIGHTS OF PRESCRIBING INFORMATION");

QString now()
{
    const QLocale locale;
    const QDateTime time = QDateTime::currentDateTime();
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(time.time(), QLocale::LongFormat);
}

// Blanks only, as a header test needs: a paragraph holding only its mark is not empty.
bool isBlank(const QString& text)
{
    for (const QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

// Subsection IDs come from titles without their numbers, so "4.1 Nitrates" and "7.1 Nitrates"
// would share one ID and the label would not be valid SPL. A later section with an ID already
// used gets "-2", "-3", ... appended; links keep pointing at the first.
void makeSectionIdsUnique(const xml::Document& spl)
{
    QSet<QString> used;
    for (const xml::Node& section : spl.selectNodes(QStringLiteral("//section[@ID]"))) {
        const QString id = section.getAttribute(QStringLiteral("ID"));
        QString unique = id;
        for (int n = 2; used.contains(unique); ++n)
            unique = id + QLatin1Char('-') + QString::number(n);
        if (unique != id)
            section.setAttribute(QStringLiteral("ID"), unique);
        used.insert(unique);
    }
}

// The log window's caption is the progress line while a conversion runs; whatever way
// the conversion ends, the caption it had comes back.
class CaptionKeeper {
public:
    CaptionKeeper() : caption_(logWindow() ? logWindow()->windowTitle() : QString()) {}
    ~CaptionKeeper()
    {
        if (frmLog* log = logWindow())
            log->setWindowTitle(caption_);
    }
    CaptionKeeper(const CaptionKeeper&) = delete;
    CaptionKeeper& operator=(const CaptionKeeper&) = delete;

private:
    QString caption_;
};

} // namespace

std::optional<xml::Document> clsWord::ProcessSPLR4Document(const QString& SourceFileName,
                                                           const QString& ImageTargetFolder,
                                                           const QString& CheckCrossReferencesText,
                                                           const QString& SectionStyle, const QString& ExcerptStyle,
                                                           const QString& SubSectionStyle,
                                                           const QString& BoxedWarningTitle)
{
    const CaptionKeeper caption;
    try {
        SPL = std::make_unique<clsSPL>();
        ImageCounter = 0;
        if (ImageTargetFolder.isEmpty())
            throw VbError(err::General, QStringLiteral("clsWord"), QStringLiteral("No image target folder given"));
        TargetFolder = ImageTargetFolder;
        sectionStyle_ = SectionStyle;
        subSectionStyle_ = SubSectionStyle;
        excerptStyle_ = ExcerptStyle;

        wordlog::information(QStringLiteral("Starting Word SPL Processing ") + now());
        SPL->Initialize(BoxedWarningTitle);
        wordlog::separator(true);
        wordlog::information(QStringLiteral("Opening File: ") + SourceFileName);
        OpenDocument(SourceFileName);
        if (DocumentCompatibilityMode) {
            wordlog::warning(QStringLiteral("The MS-Word Document is in Compatibility Mode, some functions such as image "
                                            "extraction may not work."));
            wordlog::warning(DocumentCompatibilityInfo);
            wordlog::warning(QStringLiteral("Please save the MS-Word Document in the latest MS-Word format and use that "
                                            "file for the SPL conversion."));
        }
        for (const QString& line : Document.warnings())
            wordlog::warning(wordlog::indent5 + line);
        listParagraphs();
        if (CheckCrossReferencesText == QLatin1String("Yes"))
            InitializeCrossReferenceCheck();
        InitiliaizeSectionAndSubSectionHeaders(SectionStyle, SubSectionStyle, ExcerptStyle);
        if (!Cancel) {
            wordlog::information(QStringLiteral("Start Processing Label from Word"));
            walkParagraphs();
        }
        CloseDocument();
        SPL->FinalizeSPLR4();
        LoincLoadingCancelled = SPL->LoincLoadingCancelled;
        std::optional<xml::Document> result = SPL->Document;
        if (result)
            makeSectionIdsUnique(*result);
        SPL.reset();
        return result;
    } catch (const std::exception& e) {
        const VbError error = toVbError(e, QStringLiteral("clsWord"));
        WriteLog(QStringLiteral("Fatal Error"), error.text());
        CloseDocument();
        SPL.reset();
        return std::nullopt;
    }
}

void clsWord::listParagraphs()
{
    ParagraphList.assign(1, word::Paragraph());
    const word::Collection<word::Paragraph> paragraphs = Document.paragraphs();
    ParagraphList.reserve(static_cast<size_t>(paragraphs.count()) + 1);
    for (const word::Paragraph& p : paragraphs)
        ParagraphList.push_back(p);
    ParagraphCount = paragraphs.count();
}

// The top-level walk acts on section and excerpt headers only; everything between them is
// converted by ProcessSection, which leaves i one before the paragraph that stopped it.
void clsWord::walkParagraphs()
{
    const int count = ParagraphCount;
    for (int i = 1; i <= count; ++i) {
        setProgress(i);
        const QString style = styleOf(i);
        const QString text = headingText(i);
        if (style == sectionStyle_) {
            if (!isBlank(text)) {
                QString title = text;
                QString noSubSection;
                wordlog::processing(title, true);
                if (sectionInTemplate(title)) {
                    ++i;
                    ProcessSection(title, noSubSection, i);
                }
            }
        } else if (style == excerptStyle_) {
            if (!isBlank(text)) {
                QString title = text;
                title.remove(QLatin1Char('-'));
                StripControlChars(title);
                QString noSubSection;
                wordlog::processing(QStringLiteral("Excerpts - ") + title);
                ProcessSection(title, noSubSection, i);
            }
        }
        if (askToCancel())
            break;
    }
}

bool clsWord::sectionInTemplate(const QString& title) const
{
    QString cleaned = title;
    StripControlChars(cleaned);
    // Only a section of the template's top level will do: a subsection added earlier under
    // the same title must not take in another section's content.
    for (const xml::Node& section :
         SPL->Document->selectNodes(QStringLiteral("document/component/structuredBody/component/section/title")))
        if (!cleaned.isEmpty() && section.text().compare(cleaned, Qt::CaseInsensitive) == 0)
            return true;
    wordlog::error(QStringLiteral("Document Section >") + cleaned + QStringLiteral("< not found in SPL template"));
    return false;
}

void clsWord::ProcessSection(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    if (Cancel || i > ParagraphCount)
        return;
    const QString style = styleOf(i);
    if (style == sectionStyle_) {
        // Stepped back, so that the caller's step lands on this header and it is not lost.
        --i;
        return;
    }
    if (style == subSectionStyle_) {
        SubSectionTitle = headingText(i);
        StripControlChars(SubSectionTitle);
        wordlog::processing(wordlog::indent5 + SubSectionTitle);
        SPL->AddSubSection(SectionTitle, SubSectionTitle);
        ++i;
        ProcessSection(SectionTitle, SubSectionTitle, i);
        return;
    }
    if (style == excerptStyle_)
        excerptRun(SectionTitle, SubSectionTitle, i);
    else
        contentRun(SectionTitle, SubSectionTitle, i);
}

void clsWord::contentRun(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    while (i <= ParagraphCount && !isHeader(i)) {
        QString ParagraphText;
        QString TextType = QStringLiteral("Normal");
        setProgress(i);
        const word::Range range = paragraph(i).range();
        CheckCharOccurrence(range);
        QString ParagraphID;
        if (const word::Bookmark bookmark = range.bookmarks().first(); !bookmark.isNull())
            ParagraphID = bookmark.name();

        // The run goes on at the paragraph after a list or a table (a table's pictures went
        // into its cells), so that paragraph is converted and tested as a header too.
        int next = i + 1;
        const word::Table table = range.tables().first();
        if (!table.isNull()) {
            next = i;
            if (!ConvertTable(table, next, SectionTitle, SubSectionTitle, ParagraphText)) {
                i += std::max(1, table.range().paragraphs().count());
                continue;
            }
            TextType = QStringLiteral("Table");
        } else {
            ParagraphText = FormatBoldItalicUnderlineSubScriptSuperScript(paragraph(i));
            const bool crossReference = ConvertCrossReference(ParagraphText, range);
            const bool hyperlink = ConvertHyperLink(ParagraphText, range);
            if (crossReference || hyperlink)
                TextType = QStringLiteral("LinkHTML");
            if (const auto pictures = range.inlineShapes(); !pictures.isEmpty())
                ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, true);
            if (const int listType = range.listFormat().listType(); listType != word::list_type::None) {
                next = i;
                ConvertList(next, listType, ParagraphText);
                TextType = QStringLiteral("BulletList");
            }
        }
        if (!SPL->AddSectionText(SectionTitle, SubSectionTitle, TextType, ParagraphText, true, ParagraphID))
            break;
        i = next;
    }
    if (i <= ParagraphCount && styleOf(i) == subSectionStyle_) {
        SubSectionTitle = headingText(i);
        StripControlChars(SubSectionTitle);
        ProcessSection(SectionTitle, SubSectionTitle, i);
    }
    --i;
}

void clsWord::excerptRun(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    ++i;
    while (i <= ParagraphCount && !isHeader(i)) {
        bool ContainsLink = false;
        QString ParagraphText;
        QString TextType;
        setProgress(i);
        const word::Range range = paragraph(i).range();
        if (SectionTitle == highlightsTitle)
            DocumentTitle += range.text();
        int next = i + 1;
        bool added = true;
        const word::Table table = range.tables().first();
        if (!table.isNull()) {
            next = i;
            if (!ConvertTable(table, next, SectionTitle, SubSectionTitle, ParagraphText)) {
                // Nothing of a table that failed is added, not even the text before it.
                i += std::max(1, table.range().paragraphs().count());
                continue;
            }
            TextType = QStringLiteral("Table");
            added = SPL->AddSectionExcerpt(SectionTitle, TextType, ParagraphText, true, ContainsLink);
        } else {
            TextType = QStringLiteral("Normal");
            ParagraphText = FormatBoldItalicUnderlineSubScriptSuperScript(paragraph(i));
            if (range.listFormat().listType() != word::list_type::None)
                TextType = QStringLiteral("BulletList");
            if (ConvertCrossReference(ParagraphText, range))
                ContainsLink = true;
            if (ConvertHyperLink(ParagraphText, range))
                ContainsLink = true;
            added = SPL->AddSectionExcerpt(SectionTitle, TextType, ParagraphText, false, ContainsLink);
        }
        if (!added)
            break;
        i = next;
    }
    --i;
}

} // namespace veldra
