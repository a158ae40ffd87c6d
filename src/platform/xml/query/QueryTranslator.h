#pragma once

#include <QSet>
#include <QString>

namespace veldra::xml {

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
//    comparisons with `=` and `!=` against 'text', "text", `concat()` of such texts (a text
//    holding both kinds of quote) or numbers, `and`, `or`, `not(...)` and parentheses.
//    `text` without parentheses is the element name; `@*` selects attributes, not namespace
//    declarations;
//  - a prefixed name (`x:section`, `@xsi:type`) is allowed when its prefix is one of
//    `boundPrefixes` (bound by the caller); `xml:` attributes are always allowed.
// Text inside string literals is copied unchanged. Anything else (axes, functions, other
// operators, unbound prefixes, positions that are not whole numbers) throws VbError with
// err::XmlQuery, so a query never silently matches something else.
class QueryTranslator {
public:
    static QString toXPath(const QString& query, const QSet<QString>& boundPrefixes = {});
};

} // namespace veldra::xml
