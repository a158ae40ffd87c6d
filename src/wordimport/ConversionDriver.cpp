#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "app/log/frmLog.h"
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

const QString topLevelSections = QStringLiteral("document/component/structuredBody/component/section");

// Paragraphs before the first section heading belong to no section and are not imported;
// the log says which, by their first words.
void reportParagraphsBeforeFirstSection(const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    constexpr int shownParagraphs = 5;
    constexpr int shownWords = 6;
    QStringList shown;
    for (const QString& text : texts.mid(0, shownParagraphs)) {
        const QStringList words = text.simplified().split(QLatin1Char(' '));
        shown << QLatin1Char('"') + words.mid(0, shownWords).join(QLatin1Char(' '))
                     + (words.size() > shownWords ? QStringLiteral("...") : QString()) + QLatin1Char('"');
    }
    if (texts.size() > shownParagraphs)
        shown << QStringLiteral("and %1 more").arg(texts.size() - shownParagraphs);
    WriteLog(log_category::Warning, QStringLiteral("%1 paragraph(s) not imported: they stand before the first section heading: ")
                         .arg(texts.size())
                     + shown.join(QStringLiteral(", ")));
}
// The boxed-warning title the import options ship with.
const QString shippedBoxedWarningTitle = QStringLiteral("BOXED WARNING");

// Subsection IDs come from titles without their numbers, so "4.1 Nitrates" and "7.1 Nitrates"
// would share one ID and the label would not be valid SPL. A later section with an ID already
// used gets "-2", "-3", ... appended; links keep pointing at the first. The top-level sections
// come first and also hold the key of their title, which the build gives them as their ID,
// so a subsection titled like a section never takes that section's ID.
void makeSectionIdsUnique(const xml::Document& spl)
{
    QSet<QString> used;
    const auto keepUnique = [&used](const xml::Node& section) {
        const QString id = section.getAttribute(QStringLiteral("ID"));
        const QString unique = FirstUnusedKey(id, [&used](const QString& key) { return used.contains(key); });
        if (unique != id)
            section.setAttribute(QStringLiteral("ID"), unique);
        used.insert(unique);
    };
    for (const xml::Node& section : spl.selectNodes(topLevelSections + QStringLiteral("[@ID]"))) {
        keepUnique(section);
        if (const xml::Node title = section.selectSingleNode(QStringLiteral("title")))
            used.insert(MakeSectionKey(title.text()));
    }
    for (const xml::Node& section : spl.selectNodes(QStringLiteral("//section[@ID]")))
        if (section.parentNode().parentNode().localName() != QLatin1String("structuredBody"))
            keepUnique(section);
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
        pictures_.reset();
        TablesLeftOut.clear();
        linkCharactersLeft_ = LinkCharacters;
        if (ImageTargetFolder.isEmpty())
            throw VbError(err::General, QStringLiteral("clsWord"), QStringLiteral("No image target folder given"));
        TargetFolder = ImageTargetFolder;
        sectionStyle_ = SectionStyle;
        subSectionStyle_ = SubSectionStyle;
        excerptStyle_ = ExcerptStyle;

        WriteLog(log_category::Information, QStringLiteral("Starting Word SPL Processing ") + now());
        SPL->Initialize(BoxedWarningTitle);
        WriteLog(logSeparator(), QString(), true);
        WriteLog(log_category::Information, QStringLiteral("Opening File: ") + SourceFileName);
        OpenDocument(SourceFileName);
        if (DocumentCompatibilityMode) {
            WriteLog(log_category::Warning, QStringLiteral("The MS-Word Document is in Compatibility Mode, some functions such as image "
                                            "extraction may not work."));
            WriteLog(log_category::Warning, DocumentCompatibilityInfo);
            WriteLog(log_category::Warning, QStringLiteral("Please save the MS-Word Document in the latest MS-Word format and use that "
                                            "file for the SPL conversion."));
        }
        for (const QString& line : Document.warnings())
            WriteLog(log_category::Warning, wordlog::indent5 + line);
        listParagraphs();
        if (CheckCrossReferencesText == QLatin1String("Yes"))
            InitializeCrossReferenceCheck();
        InitiliaizeSectionAndSubSectionHeaders(SectionStyle, SubSectionStyle, ExcerptStyle);
        refuseLabelLargerThanTheRoom();
        if (BoxedWarningTitle == shippedBoxedWarningTitle)
            recogniseBoxedWarning();
        if (!Cancel) {
            WriteLog(log_category::Information, QStringLiteral("Start Processing Label from Word"));
            walkParagraphs();
        }
        if (outOfRoom())
            refuseOutOfRoom();
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
        WriteLog(log_category::FatalError, error.text());
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
    QStringList beforeFirstSection;
    bool sectionSeen = false;
    for (int i = 1; i <= count; ++i) {
        setProgress(i);
        if (isHeading(i, sectionStyle_)) {
            sectionSeen = true;
            QString title = headingText(i);
            QString noSubSection;
            WriteLog(log_category::Processing, title, true);
            keepSection(title);
            headingPictures(i, title, noSubSection);
            ++i;
            ProcessSection(title, noSubSection, i);
        } else if (isHeading(i, excerptStyle_)) {
            // Before the first section every excerpt heading starts an excerpt run, so that one
            // naming no section is reported, not passed over.
            QString title = headingText(i);
            title.remove(QLatin1Char('-'));
            StripControlChars(title);
            QString noSubSection;
            WriteLog(log_category::Processing, QStringLiteral("Excerpts - ") + title);
            if (!Cancel)
                excerptRun(title, noSubSection, i);
        } else if (!sectionSeen) {
            QString text = headingText(i);
            StripControlChars(text);
            if (!text.isEmpty())
                beforeFirstSection << text;
        }
        if (askToCancel() || outOfRoom())
            break;
    }
    reportParagraphsBeforeFirstSection(beforeFirstSection);
}

// An excerpt heading names the section whose highlights follow it. Inside a section, one that
// names no section is no heading: its text and the text after it stay in that section.
bool clsWord::isExcerptHeading(int i) const
{
    if (!isHeading(i, excerptStyle_))
        return false;
    QString title = headingText(i);
    title.remove(QLatin1Char('-'));
    StripControlChars(title);
    if (title == highlightsTitle)
        return true;
    xml::Node found;
    if (SPL && SPL->Document)
        SPL->GetSectionByTitle(SPL->Document->childNodes(), title, QString(), found);
    return static_cast<bool>(found);
}

// A heading the template lacks, or one that repeats an earlier heading, becomes a section of
// its own: the label loses none of it.
void clsWord::keepSection(const QString& title)
{
    QString cleaned = title;
    StripControlChars(cleaned);
    switch (SPL->OpenSection(cleaned)) {
    case clsSPL::OpenedSection::Template: return;
    case clsSPL::OpenedSection::Added:
        WriteLog(log_category::Warning, QStringLiteral("Document Section >") + cleaned
                         + QStringLiteral("< is not a section of the SPL template: added as a section of its own"));
        return;
    case clsSPL::OpenedSection::Variant:
        WriteLog(log_category::Information, QStringLiteral("Document Section >") + cleaned
                             + QStringLiteral("< names a section of the SPL template: added as a section of its own, "
                                              "coded as that section"));
        return;
    case clsSPL::OpenedSection::Repeated:
        WriteLog(log_category::Information, QStringLiteral("Document Section >") + cleaned
                             + QStringLiteral("< repeats an earlier heading: added as a section of its own"));
        return;
    }
}

// Real labels title the boxed warning by what it warns of ("WARNING: SERIOUS INFECTIONS AND
// MALIGNANCY"). While the option holds its shipped title, the first heading that begins with
// "WARNING" and stands before every section the template knows is the boxed warning.
void clsWord::recogniseBoxedWarning()
{
    for (const HeaderRecord& record : SectionHeaders) {
        if (SPL->HasTopLevelSection(record.Title))
            return;
        if (record.Title.startsWith(QLatin1String("WARNING"))) {
            SPL->TitleBoxedWarning(record.Title);
            return;
        }
    }
}

void clsWord::ProcessSection(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    if (Cancel || outOfRoom() || i > ParagraphCount)
        return;
    if (isHeading(i, sectionStyle_)) {
        // Stepped back, so that the caller's step lands on this header and it is not lost.
        --i;
        return;
    }
    if (isHeading(i, subSectionStyle_)) {
        SubSectionTitle = headingText(i);
        StripControlChars(SubSectionTitle);
        WriteLog(log_category::Processing, wordlog::indent5 + SubSectionTitle);
        SPL->AddSubSection(SectionTitle, SubSectionTitle);
        headingPictures(i, SectionTitle, SubSectionTitle);
        ++i;
        ProcessSection(SectionTitle, SubSectionTitle, i);
        return;
    }
    if (isExcerptHeading(i))
        excerptRun(SectionTitle, SubSectionTitle, i);
    else
        contentRun(SectionTitle, SubSectionTitle, i);
}

void clsWord::contentRun(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    while (i <= ParagraphCount && !isHeader(i) && !outOfRoom()) {
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
            ParagraphText = paragraphMarkup(paragraph(i), SectionTitle);
            const bool crossReference = ConvertCrossReference(ParagraphText, range);
            const bool hyperlink = ConvertHyperLink(ParagraphText, range);
            if (crossReference || hyperlink)
                TextType = QStringLiteral("LinkHTML");
            // The sections have two levels; a deeper heading stays in the text as a bold
            // paragraph, which still reads as a heading, and is no list item when numbered.
            const bool deeperHeading = isDeeperHeading(i);
            if (deeperHeading)
                ParagraphText = QStringLiteral("<content styleCode=\"bold\">") + ParagraphText + QStringLiteral("</content>");
            // A list item's pictures stand in the item.
            const int listType = deeperHeading ? word::list_type::None : range.listFormat().listType();
            if (const auto pictures = range.inlineShapes(); !pictures.isEmpty() && listType == word::list_type::None)
                ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, true);
            if (listType != word::list_type::None) {
                next = i;
                ConvertList(next, listType, SectionTitle, SubSectionTitle, ParagraphText);
                TextType = QStringLiteral("BulletList");
            }
        }
        if (!SPL->AddSectionText(SectionTitle, SubSectionTitle, TextType, ParagraphText, true, ParagraphID))
            break;
        i = next;
    }
    if (i <= ParagraphCount && isHeading(i, subSectionStyle_)) {
        SubSectionTitle = headingText(i);
        StripControlChars(SubSectionTitle);
        ProcessSection(SectionTitle, SubSectionTitle, i);
    }
    --i;
}

void clsWord::headingPictures(int i, QString& SectionTitle, QString& SubSectionTitle)
{
    if (const auto pictures = paragraph(i).range().inlineShapes(); !pictures.isEmpty())
        ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, true);
}

void clsWord::excerptRun(QString& SectionTitle, QString& SubSectionTitle, int& i)
{
    ++i;
    while (i <= ParagraphCount && !isHeader(i) && !outOfRoom()) {
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
            ParagraphText = paragraphMarkup(paragraph(i), SectionTitle);
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
