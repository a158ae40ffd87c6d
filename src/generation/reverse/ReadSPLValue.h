#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>

namespace veldra {

// What one Value of a reverse-import entry reads from an SPL group.
struct SPLValue {
    xml::Node node;  // the SPL node read (the first, for a joined value); null when there is none
    QString text;
};

// Reads the value that the Value whose Target element is `target` finds below `group`: the
// text, or the attribute that the Target's Attribute names, of the first node at the Target's
// query (empty, with a warning naming `source`, when that node lacks the attribute).
// - A Target with a Join text reads the values of all the nodes at its query, in document
//   order, joined by that text (the codes of a product's characteristics in the label's order).
// - A Target with a Prefix or PostFix (what the build writes around the value, the "tel:"
//   before a telephone number) reads the first node whose value carries them, and the value
//   without them: a rebuild then writes them once, not twice, and a node that another mapping
//   of the same query wrote (the "mailto:" beside the "tel:") is not taken for this one.
SPLValue readSPLValue(const xml::Node& group, const xml::Node& target, const QString& source);

} // namespace veldra
