#pragma once

#include "platform/xml/tree/Document.h"

#include <QString>

namespace veldra {

// The path of a file of the program folder's LabelDefinitions folder (label skeleton, image
// object and structured-data fragments).
QString labelTemplatePath(const QString& fileName);

// Loads that file into target as Document::load does. The file is read on every call, so an
// edited template takes effect at once; only its parsing is kept: when the bytes read are
// those parsed before, target gets a copy of that parse.
bool loadLabelTemplate(xml::Document& target, const QString& fileName);

} // namespace veldra
