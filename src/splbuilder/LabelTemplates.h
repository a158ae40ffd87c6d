#pragma once

#include <QString>

namespace veldra {

// The path of a file of the program folder's LabelDefinitions folder (label skeleton, image
// object and structured-data fragments).
QString labelTemplatePath(const QString& fileName);

} // namespace veldra
