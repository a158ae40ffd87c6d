#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>
#include <optional>

namespace veldra::xml {
class Document;
}

namespace veldra {

// What a wizard field opens with, read from the settings document where Apply writes it, so
// that a wizard opened again shows the values applied before, as the tree does.
//
// The field's nodes are those its "Copy" targets select, read whole, and those its "FolderID"
// targets select, read as their ending of the default's length (the number Apply replaces; a
// text no longer than that holds no number and is passed over). When they all hold the same
// non-empty text, the field shows it. When they differ, the field opens empty, so that Apply
// leaves each as it is. The field keeps its default from the wizard definitions (nullopt)
// when it is "GUID", when its `element` has KeepDefault="1" (a value proposed anew, such as
// the first version number of a new set), when no target selects a node, or when every node
// is empty. A target that is no valid path is passed over.
std::optional<QString> wizardHeldValue(const xml::Document& wizards, const QString& wizardName, const xml::Node& element,
                                       const xml::Document& settings);

} // namespace veldra
