#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>

namespace veldra {

// The Action of a Target element: its attribute's exact text, "Copy" when it has none.
QString wizardTargetAction(const xml::Node& target);

// Writes one wizard field through one of its Target elements into one node of the settings
// document (an element or an attribute). The field named "GUID" gives the node a new id.
// Otherwise the Target's Action decides (exact text; no Action means "Copy"):
//  - "Copy": the node's text becomes the value (an empty value leaves the node as it is);
//  - "FolderID": the value replaces as many characters at the end of the node's text (a
//    value longer than the text leaves the node as it is);
//  - "CreateFolder": the folder that the node's text names is created, one level; a folder
//    that exists or cannot be made is passed over;
//  - anything else does nothing.
// Returns true when the node's text changed.
bool applyWizardTarget(const QString& fieldName, const QString& value, const xml::Node& target,
                       const xml::Node& node);

// The warning that refuses the value `applyWizardTarget` would copy into `node`, or "" when
// it may be written: the node's definition attributes check it as the field dialog does
// (valueRefusal). Only elements that "Copy" targets select are checked, for a field other
// than "GUID" with a value, as only they take the value as it is.
QString wizardTargetRefusal(const QString& fieldName, const QString& value, const xml::Node& target,
                            const xml::Node& node);

} // namespace veldra
