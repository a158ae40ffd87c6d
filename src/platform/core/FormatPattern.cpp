#include "platform/core/FormatPattern.h"

namespace veldra::vb::patterns {

namespace {

bool hasPlaceholder(const std::vector<Token>& tokens, const QString& letters)
{
    for (const Token& t : tokens)
        if (!t.literal && letters.contains(t.text.at(0).toLower()))
            return true;
    return false;
}

} // namespace

std::vector<Token> tokenize(const QString& section)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            tokens.push_back({true, section.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == QLatin1Char('\\') && i + 1 < section.size()) {
            tokens.push_back({true, QString(section.at(++i))});
        } else {
            tokens.push_back({false, QString(c)});
        }
    }
    return tokens;
}

QStringList splitSections(const QString& pattern)
{
    QStringList sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            current += c;
            current += pattern.at(++i);
            continue;
        }
        if (c == QLatin1Char(';') && !quoted) {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

bool isDatePattern(const std::vector<Token>& tokens)
{
    if (hasPlaceholder(tokens, QStringLiteral("0#")))
        return false;
    return hasPlaceholder(tokens, QStringLiteral("ydhnsm"));
}

} // namespace veldra::vb::patterns
