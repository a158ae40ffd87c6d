#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace veldra::xml {

// A query in XPath 1.0 and the texts its variables stand for: `$text1` for texts[0], and so on.
struct TranslatedQuery {
    QString xpath;
    QStringList texts;
};

// Translates a query written in the program's query dialect into XPath 1.0 for libxml2.
//
// The dialect is XSL Patterns as the program's documents use it:
//  - an element name without a prefix matches that local name in any namespace or none
//    (`section` finds SPL's urn:hl7-org:v3 elements and elements of no namespace alike);
//    it becomes `*[local-name()='section']`;
//  - a predicate holding only a whole number counts from 0: `Section[0]` is the first
//    Section, `component[1]` the second; it becomes `[n+1]`;
//  - `/`, `//` (leading and inside), `.`, `..`, `@name`, `@*`, `*`, `text()`, `comment()`,
//    `node()`, `processing-instruction()`, `|` unions, and predicates holding paths,
//    comparisons with `=` and `!=` against 'text', "text" (the enclosing quote doubled inside
//    stands for itself: 'O''Brien'), `concat()` of such texts or numbers, `and`, `or`,
//    `not(...)` and parentheses.
//    `text` without parentheses is the element name; `@*` selects attributes, not namespace
//    declarations;
//  - a prefixed name (`x:section`, `@xsi:type`) is allowed when its prefix is one of
//    `boundPrefixes` (bound by the caller); `xml:` attributes are always allowed.
// Text inside string literals is copied unchanged, in the quotes it does not hold; one that
// holds both kinds of quote, or a character XML does not allow, becomes a variable bound to it,
// as XPath 1.0 cannot write it: any text is one literal, however long and whatever it holds
// (but U+0000, which no text holds). Anything else (axes, functions, other operators, unbound
// prefixes, positions that are not whole numbers) throws VbError with err::XmlQuery, so a
// query never silently matches something else.
class QueryTranslator {
public:
    static TranslatedQuery translate(const QString& query, const QSet<QString>& boundPrefixes = {});
    // The XPath alone, for a query whose texts are all written in it.
    static QString toXPath(const QString& query, const QSet<QString>& boundPrefixes = {});
    // The name of the variable that stands for texts[index].
    static QString variableName(qsizetype index);
};

} // namespace veldra::xml
