#pragma once

#include "generation/building/NodeTests.h"

#include <QByteArray>
#include <QString>

namespace veldra {

namespace xml {
class Node;
}

// Reading the items of the entries of a transformation file (document element
// Word2SPLTransform): Transform, PostProcessing and TargetModification entries whose items
// are child elements (read by their whole text) or attributes. A required item that is
// missing is a failure of whoever reads it, reported with the entry's name.

// The attribute that ties a built SPL element to the settings element it came from.
inline const QString Word2SPLIDAttribute = QLatin1String(word2SPLIDName);

// The node at `item` below `entry`; throws VbError (source `source`) naming the entry when
// there is none.
xml::Node requiredItem(const xml::Node& entry, const QString& item, const QString& source);
QString requiredItemText(const xml::Node& entry, const QString& item, const QString& source);
// The text of the node at `item` below `entry`, or "" when there is none.
QString optionalItemText(const xml::Node& entry, const QString& item);

// How an entry is named in messages: its Name, or its element name when it has none.
QString entryLabel(const xml::Node& entry);

// True when the text, read as a number, equals 1 ("1", "1.0", " 1 "). Throws VbError
// (source `source`) when the text is not a number.
bool numberTextIsOne(const QString& text, const QString& source);

// True when the node has an attribute DirectCopy whose number is 1. A DirectCopy text that
// is no number is written to the log as an error and gives False.
bool IsDirectCopy(const xml::Node& node);
// The same answer for a DirectCopy text read before (null when the node has none).
bool isDirectCopyText(const QString& directCopy);

// The node's attribute Prefix (wantPrefix) or PostFix (not wantPrefix); "" when absent.
QString GetPrefixPostfix(const xml::Node& node, bool wantPrefix);

// The last step of a path with the "/" before it: the part from its last "/" on, or "/" and
// the whole path when it has one step only.
QString lastStep(const QString& path);

// The "name Word2SPLID" identity of a settings element, which marks the SPL elements made
// or filled from it. Throws VbError (source `source`) when the element has no Word2SPLID.
QString settingsIdentity(const xml::Node& settingsElement, const QString& source);
// The same identity as UTF-8, read from the parsed element without turning its name and id
// into text: the form in which the build writes and compares its marks.
QByteArray settingsIdentityBytes(const xml::Node& settingsElement, const QString& source);

} // namespace veldra
