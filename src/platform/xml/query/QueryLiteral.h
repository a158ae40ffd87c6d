#pragma once

#include <QString>

namespace veldra::xml {

// The query text of a literal that compares as `value` exactly, whatever quotes it holds:
// 'value' when it holds no apostrophe, "value" when it holds no double quote, else a concat()
// of such pieces (the query language has no escape). A value from a file spliced into a query
// this way is compared as one text and never becomes part of the query.
QString queryLiteral(const QString& value);

} // namespace veldra::xml
