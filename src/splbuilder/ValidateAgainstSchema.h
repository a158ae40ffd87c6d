#pragma once

#include "platform/xml/resources/SchemaValidator.h"

#include <QString>

namespace veldra {

// Validates a saved SPL file against the FDA SPL schema that the file's xsi:schemaLocation
// names (resolved to the local copy of the schema set) and reports the outcome in the log:
// the separator, two "Information" lines, then either "Information" that the file is valid,
// one "Error" entry with the reason, the offending source line (tabs removed) and its
// line number, or, when the schema is not at hand, one "Warning" entry that the file could
// not be validated and why (claiming neither validity nor invalidity). Returns "" for a
// valid or unvalidated file, otherwise that source line as it stands. `outcome`, when
// given, receives the whole check. A failure of its own is logged as
// "ValidateAgainstSchema  - ..." and gives the result as it stood.
// This is the schema check of clsSPL; the SPL build calls it on the file it has saved.
QString ValidateAgainstSchema(const QString& strFile, xml::SchemaCheck* outcome = nullptr);
// The same for a tree just saved to strFile as savedContent, checked without reading the file
// back (see xml::SchemaValidator::validateSaved).
QString ValidateAgainstSchema(const QString& strFile, const xml::Document& savedTree, const QByteArray& savedContent,
                              xml::SchemaCheck* outcome = nullptr);

// The check behind ValidateAgainstSchema: a file that parses but does not validate (its
// schema may not have been reachable at the http address) is checked once more, with every
// address on the agency's schema host switched from http to https. The second check runs on
// the file's own text, so its line numbers are the file's. A file that does not parse is
// checked once.
xml::SchemaCheck checkAgainstSchema(const QString& strFile);
xml::SchemaCheck checkAgainstSchema(const QString& strFile, const xml::Document& savedTree, const QByteArray& savedContent);

// The text with every "http://" address on the agency's schema host made an https address
// (the replacement starts with a blank, as the schema locations are blank-separated).
QString withSecureSchemaHost(QString text);

} // namespace veldra
