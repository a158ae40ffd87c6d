#include "editor/window/FieldDialogs.h"

namespace veldra {

std::function<void(const FieldDialogRequest&)>& fieldDialogLauncher()
{
    static std::function<void(const FieldDialogRequest&)> launcher;
    return launcher;
}

QString infoCaption(const QString& name)
{
    return name.size() < 20 ? name : name.left(20) + QStringLiteral("...");
}

} // namespace veldra
