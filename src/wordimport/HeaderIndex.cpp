#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "platform/ui/Ui.h"
#include "wordimport/ImportLog.h"

namespace veldra {

namespace {

HeaderRecord recordOf(const word::Paragraph& paragraph, QString title)
{
    HeaderRecord record;
    record.Title = std::move(title);
    record.ListString = paragraph.range().listFormat().listString();
    return record;
}

const HeaderRecord* firstBeginningWith(const std::vector<HeaderRecord>& records, const QString& text,
                                       Qt::CaseSensitivity cs)
{
    for (const HeaderRecord& record : records)
        if (record.Title.startsWith(text, cs))
            return &record;
    return nullptr;
}

} // namespace

void clsWord::InitiliaizeSectionAndSubSectionHeaders(const QString& SectionStyle, const QString& SubSectionStyle,
                                                     const QString& ExcerptStyle)
{
    WriteLog(log_category::Information, QStringLiteral("Preloading Section and Subsection Headers"));
    ExcerptHeaders.clear();
    SectionHeaders.clear();
    SubSectionHeaders.clear();
    for (int i = 1; i <= ParagraphCount; ++i) {
        const QString style = styleOf(i);
        const QString text = headingText(i);
        if (hasTitle(text))
            indexHeader(i, style, text, SectionStyle, SubSectionStyle, ExcerptStyle);
        if (askToCancel())
            break;
    }
    refuseHeadingsPastTheirLimits(SectionStyle, SubSectionStyle, ExcerptStyle);
    for (const HeaderRecord& excerpt : ExcerptHeaders) {
        const bool hasSection = std::any_of(SectionHeaders.begin(), SectionHeaders.end(),
                                            [&](const HeaderRecord& s) { return s.Title == excerpt.Title; });
        if (!hasSection)
            SectionHeaders.push_back(excerpt);
    }
    for (HeaderRecord& section : SectionHeaders)
        SPL->RememberSectionInformation(section.Title);
    // Cleaned like the section titles, so a subsection's key and number carry no paragraph mark.
    for (HeaderRecord& record : SubSectionHeaders)
        StripControlChars(record.Title);
    for (HeaderRecord& record : ExcerptHeaders)
        StripControlChars(record.Title);
    WriteLog(logSeparator(), QString());
}

void clsWord::refuseHeadingsPastTheirLimits(const QString& SectionStyle, const QString& SubSectionStyle,
                                            const QString& ExcerptStyle) const
{
    const size_t headings = SectionHeaders.size() + SubSectionHeaders.size() + ExcerptHeaders.size();
    qsizetype characters = 0;
    for (const std::vector<HeaderRecord>* records : {&SectionHeaders, &SubSectionHeaders, &ExcerptHeaders})
        for (const HeaderRecord& record : *records)
            characters += record.Title.size();
    const QString styles = QStringLiteral("in the styles '%1', '%2' and '%3'").arg(SectionStyle, SubSectionStyle, ExcerptStyle);
    if (headings > static_cast<size_t>(MaxHeadings))
        throw VbError(err::General, QStringLiteral("clsWord"),
                      QStringLiteral("The Word document has %1 headings %2; a label is imported with at most %3 section, "
                                     "subsection and excerpt headings.")
                          .arg(headings)
                          .arg(styles)
                          .arg(MaxHeadings));
    if (characters > MaxHeadingCharacters)
        throw VbError(err::General, QStringLiteral("clsWord"),
                      QStringLiteral("The Word document's headings %1 hold %2 characters; a label is imported with at most "
                                     "%3 characters in its section, subsection and excerpt headings.")
                          .arg(styles)
                          .arg(characters)
                          .arg(MaxHeadingCharacters));
}

void clsWord::indexHeader(int i, const QString& style, const QString& text, const QString& SectionStyle,
                          const QString& SubSectionStyle, const QString& ExcerptStyle)
{
    if (style == ExcerptStyle) {
        ExcerptHeaders.push_back(recordOf(paragraph(i), QString(text).remove(QLatin1Char('-'))));
        WriteLog(log_category::Processing, QStringLiteral("Excerpt: ") + ExcerptHeaders.back().Title);
    }
    if (style == SectionStyle) {
        SectionHeaders.push_back(recordOf(paragraph(i), text));
        WriteLog(log_category::Processing, text);
    }
    if (style == SubSectionStyle) {
        SubSectionHeaders.push_back(recordOf(paragraph(i), text));
        WriteLog(log_category::Processing, text);
    }
}

QString clsWord::FindSectionOrSubSectionHeader(const QString& Text) const
{
    if (const HeaderRecord* record = firstBeginningWith(SectionHeaders, Text, Qt::CaseInsensitive))
        return record->Title;
    if (const HeaderRecord* record = firstBeginningWith(SubSectionHeaders, Text, Qt::CaseInsensitive))
        return record->Title;
    return QString();
}

QString clsWord::GetSectiontTitleNumbered(const QString& Title, bool IsSubSection) const
{
    const std::vector<HeaderRecord>& records = IsSubSection ? SubSectionHeaders : SectionHeaders;
    // A whole title is its own heading, though a longer heading before it begins the same way.
    const auto same = std::find_if(records.begin(), records.end(), [&](const HeaderRecord& r) { return r.Title == Title; });
    const HeaderRecord* record = same != records.end() ? &*same : firstBeginningWith(records, Title, Qt::CaseSensitive);
    if (!record)
        return Title;
    // An unnumbered heading reads as stored, without a blank in front.
    if (record->ListString.isEmpty())
        return record->Title;
    return record->ListString + record->Separator + record->Title;
}

void clsWord::CheckCharOccurrence(const word::Range& TargetRange)
{
    try {
        if (CheckChars.trimmed().isEmpty())
            return;
        const QString text = TargetRange.text();
        for (const QString& entry : CheckChars.split(QLatin1Char(' '))) {
            // An empty entry (two blanks in a row) would match every paragraph.
            if (entry.isEmpty() || !text.contains(entry, Qt::CaseSensitive))
                continue;
            ui::msgBox(QStringLiteral("Character Occurrence found: '$CHAR' - Click OK to show Word Document")
                           .replace(QStringLiteral("$CHAR"), entry),
                       ui::Buttons::OK, ui::Icon::Warning);
            // The document cannot be shown at the place: the log names the paragraph instead.
            QString excerpt = text;
            StripControlChars(excerpt);
            const int number = TargetRange.paragraphs().first().index();
            WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Character '%1' in paragraph %2: %3")
                                                    .arg(entry)
                                                    .arg(number)
                                                    .arg(excerpt.left(80)));
            ui::msgBox(QStringLiteral("Click OK to Continue SPL Building."), ui::Buttons::OK, ui::Icon::Information);
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("Character check failed: ") + toVbError(e, QStringLiteral("clsWord")).text());
    }
}

} // namespace veldra
