#pragma once

#include "platform/xml/tree/Document.h"

#include <QString>

namespace veldra {

// The path of a file of the program folder's LabelDefinitions folder (label skeleton, image
// object and structured-data fragments).
QString labelTemplatePath(const QString& fileName);

// Loads that file into target as Document::load does, and an edited template takes effect at
// once. Its parsing is kept for the session: target gets a copy of the parse when the file
// reads as the bytes parsed before. The file is not read again while the file system gives it
// the identity, size and times it had when it was read, if it had last changed seconds before
// that (a change after it gives it a new change time).
bool loadLabelTemplate(xml::Document& target, const QString& fileName);

} // namespace veldra
