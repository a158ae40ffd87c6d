#pragma once

#include <QString>

namespace veldra::xml {

// The query text of a literal that compares as `value` exactly, whatever it holds: 'value'
// when it holds no apostrophe, "value" when it holds no double quote, else 'value' with each
// apostrophe doubled. It is one literal however many quotes it holds, so any value compares as
// one text, and a value from a file spliced into a query this way never becomes part of it.
QString queryLiteral(const QString& value);

// `query` with every `placeholder` replaced by the literal of `value`, the quotes that enclose
// the placeholder included ("[@code=\"$Value$\"]" becomes "[@code='0071']"): a value from a
// document, a file or another program is compared as one text and never becomes part of the
// query, so a value holding a quote and query text selects only what carries that value.
QString withLiteral(QString query, const QString& placeholder, const QString& value);

// `name` itself when it is a qualified XML name ("section", "x:code"), to stand as a name in a
// query; any other text (a path, a predicate, query text) throws VbError with err::XmlQuery.
QString queryName(const QString& name);

} // namespace veldra::xml
