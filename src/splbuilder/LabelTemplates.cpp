#include "splbuilder/LabelTemplates.h"

#include "platform/core/AppPaths.h"

namespace veldra {

QString labelTemplatePath(const QString& fileName)
{
    return app_paths::inProgram(QStringLiteral("LabelDefinitions/") + fileName);
}

} // namespace veldra
