#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Points the user at the settings elements behind a schema error: the element name of the
// offending source line (`sourceText`, from its first "<" to the first blank) is looked up
// in the Value targets of the Transform entries, and each Value whose target's last step
// begins with that name gets a "Check" line naming the entry's settings element and the
// Value's source in words (without the conditions in brackets that a source may carry).
// A source line that yields no name traces nothing.
void TraceSchemaError(const QString& sourceText, const xml::Document& transformation);

// The element name cut out of a schema error's source line.
QString schemaErrorElementName(const QString& sourceText);

} // namespace veldra
