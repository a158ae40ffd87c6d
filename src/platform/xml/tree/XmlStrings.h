#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/xmlstring.h>

namespace veldra::xml::detail {

// libxml2 keeps every string as UTF-8.
QString fromXml(const xmlChar* text);
// Takes ownership of a string libxml2 allocated and frees it.
QString takeXml(xmlChar* text);
QByteArray toXml(const QString& text);
inline const xmlChar* bytes(const QByteArray& utf8) { return reinterpret_cast<const xmlChar*>(utf8.constData()); }

// Line breaks are stored the way an XML parser reads them from a file: every CR LF pair and
// every lone CR becomes one LF. Text written through the layer therefore equals the text a
// reload of the saved file gives, and writing back a value read from a multi-line edit box
// (which may hand back CR LF) never accumulates CR characters.
QString withXmlLineBreaks(const QString& text);

// Throws VbError when the text holds a character XML 1.0 cannot store (control characters
// other than TAB, LF and CR, unpaired surrogates, U+FFFE, U+FFFF): written anyway, it would
// give a file that no parser reads back.
void requireStorableText(const QString& text);
// Throws VbError unless name is a valid qualified XML name ("section", "xsi:type").
void requireQualifiedName(const QString& name);

} // namespace veldra::xml::detail
