#pragma once

#include <QString>

// LIKE patterns of the code searches. The user's own "%", "_" and "\" are matched
// literally: they are escaped with "\", which every LIKE of the lookups declares
// as its ESCAPE character.
namespace veldra::codesystems {

// The ESCAPE clause that goes with the patterns below.
QString likeEscapeClause();

// A text matched literally inside a LIKE pattern.
QString escapeLikeText(const QString& text);

// The partial-search pattern: " AND " (upper case) becomes a blank, every blank
// becomes "%", and the whole is wrapped in "%": "Indications AND Usage" gives
// "%Indications%Usage%".
QString partialSearchPattern(const QString& searchText);

// The pattern of the LOINC picker's search box. The box shows a pattern, so "%"
// in it is the wildcard and "\" escapes the character after it, as in the patterns
// above; "_" is an ordinary character. Blanks become "%", and a non-empty result
// is wrapped in "%".
QString pickerSearchPattern(const QString& boxText);

} // namespace veldra::codesystems
