#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "wordimport/ImportLog.h"
#include "wordimport/LinkPlacement.h"

namespace veldra {

namespace {

const QString referencesItem = QStringLiteral("15 REFERENCES");
const QString afterReferencesItem = QStringLiteral("16 HOW SUPPLIED/STORAGE AND HANDLING");

// The number of a numbered item: its text up to the first blank, full stops removed;
// an item without a blank has none.
std::optional<QString> itemNumber(const QString& item)
{
    const int blank = item.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    return item.left(blank).remove(QLatin1Char('.'));
}

// A value for a single-quoted attribute.
QString attributeValue(const QString& text)
{
    return XMLEscape(text).replace(QLatin1Char('\''), QStringLiteral("&apos;"));
}

// Whether a browser previewing the label may follow the address: a web or mail address, or
// one within the label. Any other scheme (javascript:, file:, data:) would run or open
// something on the reader's computer.
bool isSafeLinkAddress(const QString& address)
{
    for (const char* prefix : {"http://", "https://", "mailto:", "#"})
        if (address.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    return false;
}

// Links every "[cited]" that stands in the text to the references; whether the text holds
// that link now. A superscript or subscript holds text only, so a raised citation mark stays
// text, and the log says so.
bool placeCrossReference(QString& Text, const QString& cited)
{
    const QString number = XMLEscape(cited);
    const QString link = QStringLiteral("[<linkHtml href='#REFERENCES'>") + number + QStringLiteral("</linkHtml>]");
    const LinkPlacement placement = placeLink(Text, QLatin1Char('[') + number + QLatin1Char(']'), link);
    const QString mark = QLatin1Char('[') + cited + QLatin1Char(']');
    if (placement.raised > 0)
        WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("A raised or lowered ") + mark
                                            + QStringLiteral(" is left as text: SPL allows no link in a superscript or subscript"));
    const bool linked = placement.linked > 0 || Text.contains(link);
    if (!linked && placement.raised == 0)
        WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Cross Reference left as text, the paragraph holding it "
                                                                           "nowhere in brackets: ") + mark);
    return linked;
}

} // namespace

void clsWord::InitializeCrossReferenceCheck()
{
    try {
        const QStringList& items = crossReferenceItems();
        const long last = items.size();
        for (long k = 1; k <= last; ++k) {
            const QString& item = items.at(k - 1);
            if (item.compare(referencesItem, Qt::CaseInsensitive) == 0)
                CrossReferenceStartIndex = k + 1;
            else if (CrossReferenceStartIndex == 0)
                CrossReferenceStartIndex = 1;
            if (item.compare(afterReferencesItem, Qt::CaseInsensitive) == 0) {
                CrossReferenceEndIndex = k - 1;
                break;
            }
            if (CrossReferenceEndIndex == 0)
                CrossReferenceEndIndex = last;
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("Error initializing Cross References - ") + toVbError(e, QStringLiteral("clsWord")).text());
    }
}

bool clsWord::ConvertCrossReference(QString& Text, const word::Range& SourceRange)
{
    bool linked = false;
    try {
        if (CheckCrossReferences != 1)
            return false;
        const auto fields = SourceRange.fields();
        if (fields.isEmpty())
            return false;
        for (const word::Field& field : fields) {
            if (field.type() != word::field_type::Ref)
                continue;
            // Fields nested in one another share their results, so reading each result whole
            // would cost the square of the nesting: a result is read only within the links' budget.
            const word::Range result = field.result();
            if (!spendLinkCharacters(QStringLiteral("a cross reference"), result.end() - result.start()))
                continue;
            const QString cited = result.text();
            WriteLog(log_category::Reference, wordlog::indent5 + QStringLiteral("Cross Reference: ") + cited);
            const ReferenceEntries entries = cited.isEmpty() ? ReferenceEntries()
                                                             : referenceEntriesByNumber().value(cited.toCaseFolded());
            const int matches = entries.count;
            const QString& matched = entries.last;
            if (matches == 0) {
                WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Cross Reference Target unknown - Attention: Cross References in "
                                                                   "Word Document must point to the numbered items listed in Section: 15 REFERENCES"));
                WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Links to SPL Sections or Subsections must be configured as "
                                                                   "Hyperlinks and not as Cross Reference in Word Document"));
            } else if (matches > 1) {
                WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Cross Reference Target ambiguous: ") + matched);
            } else {
                WriteLog(log_category::Reference, wordlog::indent5 + QStringLiteral("Cross Reference Target: ") + matched);
                if (!spendLinkCharacters(cited, Text.size()) || !placeCrossReference(Text, cited))
                    continue;
                linked = true;
            }
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, toVbError(e, QStringLiteral("clsWord")).text());
    }
    return linked;
}

const QHash<QString, clsWord::ReferenceEntries>& clsWord::referenceEntriesByNumber()
{
    const std::pair<long, long> range(CrossReferenceStartIndex, CrossReferenceEndIndex);
    if (referenceEntriesRange_ == range)
        return referenceEntries_;
    referenceEntries_.clear();
    const QStringList& items = crossReferenceItems();
    for (long k = std::max(1L, range.first); k <= std::min<long>(range.second, items.size()); ++k) {
        const QString& item = items.at(k - 1);
        if (const std::optional<QString> number = itemNumber(item)) {
            ReferenceEntries& entries = referenceEntries_[number->toCaseFolded()];
            ++entries.count;
            entries.last = item;
        }
    }
    referenceEntriesRange_ = range;
    return referenceEntries_;
}

bool clsWord::ConvertHyperLink(QString& Text, const word::Range& SourceRange)
{
    bool found = false;
    try {
        if (CheckCrossReferences != 1)
            return false;
        for (const word::Hyperlink& link : SourceRange.hyperlinks()) {
            if (link.type() != word::hyperlink_type::Range)
                continue;
            const QString shown = link.textToDisplay();
            const QString subAddress = link.subAddress();
            if (!admitsLink(shown, subAddress.isEmpty() ? link.address() : subAddress, Text.size()))
                continue;
            found = true;
            QString target;
            if (subAddress.isEmpty()) {
                // A link out of the document stays a link to where it points.
                if (link.address().isEmpty()) {
                    WriteLog(log_category::Information, wordlog::indent5 + QStringLiteral("Hyperlink without a target left as text: ") + shown);
                    continue;
                }
                if (!isSafeLinkAddress(link.address())) {
                    WriteLog(log_category::Warning, wordlog::indent5 + QStringLiteral("Hyperlink address not allowed in SPL, left as text: ")
                                                        + shown + QStringLiteral(" > ") + link.address());
                    continue;
                }
                WriteLog(log_category::Reference, wordlog::indent5 + QStringLiteral("Hyperlink: ") + shown + QStringLiteral(" > ")
                                   + link.address());
                target = link.address();
            } else {
                const QString header = FindSectionOrSubSectionHeader(QString(subAddress).replace(QLatin1Char('_'), QLatin1Char(' ')).trimmed());
                WriteLog(log_category::Reference, wordlog::indent5 + QStringLiteral("Hyperlink: ") + shown + QStringLiteral(" > ") + subAddress);
                if (header.isEmpty()) {
                    WriteLog(log_category::Information, wordlog::indent5
                                         + QStringLiteral("Hyperlink Target is not a Section or Subsection Header, adding: ")
                                         + subAddress);
                    target = QLatin1Char('#') + subAddress;
                } else {
                    target = QLatin1Char('#') + MakeSectionKey(header);
                }
            }
            const QString linkText = XMLEscape(shown);
            const QString markup = QStringLiteral("<linkHtml href='") + attributeValue(target) + QStringLiteral("'>")
                                   + linkText + QStringLiteral("</linkHtml>");
            const QString linked = TextReplaceLink(Text, linkText, markup);
            if (linked == Text && !Text.contains(markup))
                WriteLog(log_category::Warning, wordlog::indent5
                                                    + QStringLiteral("Hyperlink left as text, its text standing nowhere in the paragraph "
                                                                     "on its own outside raised or lowered text: ")
                                                    + shown);
            Text = linked;
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, toVbError(e, QStringLiteral("clsWord")).text());
    }
    return found;
}

QString clsWord::TextReplaceLink(const QString& Text, const QString& LinkText, const QString& LinkHTML)
{
    const QString L = LinkText;
    const QString H = LinkHTML;
    const std::pair<QString, QString> forms[] = {
        {QLatin1Char('[') + L + QLatin1Char(']'), QLatin1Char('[') + H + QLatin1Char(']')},
        {QLatin1Char('[') + L, QLatin1Char('[') + H},
        {L + QLatin1Char(']'), H + QLatin1Char(']')},
        {QLatin1Char('(') + L + QLatin1Char(')'), QLatin1Char('(') + H + QLatin1Char(')')},
        {QLatin1Char('(') + L, QLatin1Char('(') + H},
        {L + QLatin1Char(')'), H + QLatin1Char(')')},
        {QStringLiteral(", ") + L + QLatin1Char(','), QStringLiteral(", ") + H + QLatin1Char(',')},
        {L, H}};
    for (const auto& [from, to] : forms) {
        QString text = Text;
        if (placeLink(text, from, to).linked > 0)
            return text;
    }
    return Text;
}

} // namespace veldra
