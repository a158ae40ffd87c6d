#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Points the user at the settings elements behind a schema error: the name of the element
// the error is about (see schemaErrorElementName) is looked up in the Value targets of the
// Transform entries, and each Value whose target's last step begins with that name gets a
// "Check" line naming the entry's settings element and the Value's source in words (without
// the conditions in brackets that a source may carry). When no Value matches, or no name can
// be told, one "Check" line says that no settings element was found.
void TraceSchemaError(const QString& sourceText, const QString& reason, const xml::Document& transformation);

// The element a schema error is about. Where the schema expected another element (one that
// is missing or out of place: the reason reads "... Expected is ( {namespace}name )" or
// "Expected is one of ( ... )"), the first expected element: the offending line is then the
// one after the gap, not the culprit. Otherwise the element name cut out of the source line
// (from its first "<" to the first blank).
QString schemaErrorElementName(const QString& sourceText, const QString& reason = QString());

} // namespace veldra
