#include "wordimport/analysis/FormattingAnalysis.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/word/Document.h"
#include "wordimport/analysis/AnalysisLines.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace veldra {

namespace {

using namespace formatting_analysis;

struct StyleNames {
    QString section;
    QString excerpt;
    QString subSection;
};

QString generalDateTime()
{
    const QLocale locale = QLocale::system();
    return locale.toString(QDate::currentDate(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(QTime::currentTime(), QLocale::LongFormat);
}

void separator()
{
    WriteLog(logSeparator(), QString(), true);
}

void banner(const QString& category)
{
    separator();
    WriteLog(category, QString(), true);
    separator();
}

// The header a paragraph in this style starts, "" for none. Names compare exactly.
QString headerKind(const QString& style, const StyleNames& names)
{
    if (style == names.section)
        return log_category::Section;
    if (style == names.excerpt)
        return log_category::Excerpt;
    if (style == names.subSection)
        return log_category::Subsection;
    return {};
}

word::Document openReadOnly(const QString& fileName)
{
    word::Document document;
    if (!document.open(fileName))
        throw VbError(err::FileAccess, QStringLiteral("Word Document"), document.openError().text());
    return document;
}

class ParagraphWalk {
public:
    ParagraphWalk(int pages, const StyleNames& names) : pages_(pages), names_(names) {}

    void log(const word::Paragraph& paragraph)
    {
        const word::Range range = paragraph.range();
        const QString style = paragraph.style();
        const QString location = locationLabel(range.pageNumber(), pages_, paragraph.index());
        const QString prefix = stylePrefix(style);
        const QString plain = plainText(range.text());
        const QString header = headerKind(style, names_);
        if (!header.isEmpty()) {
            separator();
            WriteLog(header, range.text(), true);
            separator();
        }
        if (!header.isEmpty() || !logPicturesAndTable(range, location, prefix, plain))
            WriteLog(location, prefix + plain);
        if (!styles_.contains(style))
            styles_.append(style);
    }

    const QStringList& styles() const { return styles_; }

private:
    // A line per picture, each named as the import names the file it writes, and a line
    // for a paragraph in a table; false when the paragraph has neither.
    bool logPicturesAndTable(const word::Range& range, const QString& location, const QString& prefix,
                             const QString& plain)
    {
        const int pictures = range.inlineShapes().count();
        for (int k = 0; k < pictures; ++k)
            WriteLog(location, prefix + QStringLiteral("Image, will be saved as: img")
                                   + ZeroPad(QString::number(++imageCounter_), 4) + QStringLiteral(".jpg"),
                     true);
        const bool inTable = !range.tables().isEmpty();
        if (inTable)
            WriteLog(location, prefix + QStringLiteral("Table -> ") + plain);
        return pictures > 0 || inTable;
    }

    int pages_;
    StyleNames names_;
    int imageCounter_ = 0;
    QStringList styles_;
};

void logStyleSummary(const QStringList& styles, const StyleNames& names)
{
    bool sectionFound = false;
    bool subSectionFound = false;
    bool excerptFound = false;
    for (const QString& style : styles) {
        if (style == names.section) {
            WriteLog(log_category::Section, style, true);
            sectionFound = true;
        } else if (style == names.subSection) {
            WriteLog(log_category::Subsection, style, true);
            subSectionFound = true;
        } else if (style == names.excerpt) {
            WriteLog(log_category::Excerpt, style, true);
            excerptFound = true;
        } else {
            WriteLog(QString(), style);
        }
    }
    if (styles.size() > 4) {
        WriteLog(log_category::Warning, QStringLiteral("The Document contains more than 4 Styles."));
        WriteLog(log_category::Warning, QStringLiteral("A maximum of 4 Styles is recommended: Section Header, Section Excerpt, "
                                         "Sub Section Header and Text."));
    }
    if (!sectionFound)
        WriteLog(log_category::Warning, QStringLiteral("The defined Section Style '%1' cannot be found in Word Document.").arg(names.section));
    if (!excerptFound)
        WriteLog(log_category::Warning, QStringLiteral("The defined Excerpt Style '%1' cannot be found in Word Document.").arg(names.excerpt));
    if (!subSectionFound)
        WriteLog(log_category::Warning,
                 QStringLiteral("The defined Subsection Style '%1' cannot be found in Word Document.").arg(names.subSection));
}

void analyze(const QString& fileName, const StyleNames& names)
{
    ShowLogWindow(true);
    ui::pumpMessages();
    WriteLog(log_category::Information, QStringLiteral("Starting Word Document Formatting Analysis") + generalDateTime());
    separator();
    WriteLog(log_category::Information, QStringLiteral("Opening File: ") + fileName);
    const word::Document document = openReadOnly(fileName);
    ParagraphWalk walk(document.pageCount(), names);
    for (const word::Paragraph& paragraph : document.paragraphs())
        walk.log(paragraph);
    separator();
    WriteLog(log_category::Information, QStringLiteral("Completed Word Document Formatting Analysis ") + generalDateTime());
    banner(log_category::StyleSummary);
    logStyleSummary(walk.styles(), names);
    banner(log_category::Objects);
    WriteLog(log_category::Images, QString::number(document.inlineShapes().count()));
    WriteLog(log_category::Tables, QString::number(document.tables().count()));
    // What the reader could only estimate (page numbers above all) is said once, here.
    for (const QString& approximation : document.warnings())
        WriteLog(log_category::Warning, approximation);
    WriteDisclaimer();
}

} // namespace

void AnalyzeDocumentFormatting(const QString& FileName, const QString& SectionStyle, const QString& ExcerptStyle,
                               const QString& SubSectionStyle)
{
    try {
        analyze(FileName, {SectionStyle, ExcerptStyle, SubSectionStyle});
    } catch (const std::exception& e) {
        const VbError error = toVbError(e, QStringLiteral("AnalyzeDocumentFormatting"));
        WriteLog(log_category::Error,
                 error.source() + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ') + error.description());
    }
}

} // namespace veldra
