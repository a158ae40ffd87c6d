#pragma once

#include <QString>
#include <QStringList>

// The entries of the generated dialogs' choice lists, made from an element's ConstraintValues
// ("C42998 {TABLET};C25158 {CAPSULE}": a code, a blank and the name in braces, or plain text).
namespace veldra {

// The entries of a ConstraintValues text: "&amp;" read as "&", then split at every ";". The
// pieces are kept as they are: not trimmed, and an empty piece is an empty entry.
QStringList choiceEntries(const QString& constraintValues);

// The entry that shows a stored value, or -1 when none does. An entry equal to the value
// wins, then one whose code (the part before "{", trimmed) equals it, and only then the first
// entry that starts with the value, so that "Tablet" never shows "Tablet, film coated" when
// "Tablet" is an entry of its own.
int matchingEntry(const QStringList& entries, const QString& value);

// The entry of a partner list that mirrors a chosen code-and-name entry: "A {B}" gives "B {A}".
// A text without "{" gives " {A}", which no list holds.
QString mirroredEntry(const QString& entry);

} // namespace veldra
