#pragma once

#include <QString>

namespace veldra {

// `query` with every `placeholder` replaced by the literal of `picked`, the quotes that enclose
// the placeholder included: a picked value is compared as one text and never becomes part of
// the query, so a value holding a quote and query text selects only what carries that value.
QString withPickedValue(QString query, const QString& placeholder, const QString& picked);

} // namespace veldra
