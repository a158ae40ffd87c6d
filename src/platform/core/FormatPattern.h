#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// The pieces of Format patterns (VbFormat.h), shared by the date and the number formatting.
namespace veldra::vb::patterns {

// One piece of a pattern: a literal text or a placeholder character.
struct Token {
    bool literal = false;
    QString text;
};

// The pieces of one section: quoted texts and "\"-escaped characters become literals.
std::vector<Token> tokenize(const QString& section);
// The sections of a pattern, split at ";" outside quotes.
QStringList splitSections(const QString& pattern);
// A pattern with y, d, h, n or s, or m without digit placeholders, formats dates.
bool isDatePattern(const std::vector<Token>& tokens);

QString formatDate(const QDateTime& when, const std::vector<Token>& tokens);
// A number by the sections of a number pattern (positive; negative; zero).
QString formatNumber(double value, const QStringList& sections);

} // namespace veldra::vb::patterns
