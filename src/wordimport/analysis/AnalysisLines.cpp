#include "wordimport/analysis/AnalysisLines.h"

namespace veldra::formatting_analysis {

namespace {
constexpr qsizetype ShortColumn = 32;
constexpr qsizetype LongColumn = 50;
constexpr char16_t LineBreak = 11;
constexpr char16_t NonBreakingHyphen = 30;
} // namespace

QString stylePrefix(const QString& style)
{
    const QString prefix = QStringLiteral("Style: ") + style;
    if (prefix.size() < ShortColumn)
        return prefix.leftJustified(ShortColumn);
    return prefix.leftJustified(LongColumn);
}

QString locationLabel(int page, int pages, int paragraph)
{
    return QStringLiteral("P%1/%2, \u00b6%3").arg(page).arg(pages).arg(paragraph);
}

QString plainText(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\n' || code == LineBreak)
            plain += QLatin1Char(' ');
        else if (code == NonBreakingHyphen)
            plain += QLatin1Char('-');
        else if (code >= 32 || code == u'\t')
            plain += c;
    }
    return plain;
}

} // namespace veldra::formatting_analysis
