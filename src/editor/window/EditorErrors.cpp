#include "editor/window/EditorErrors.h"

#include "platform/core/AppInfo.h"

namespace veldra {

VbError editorError(const QString& description)
{
    return VbError(err::XmlNode, app_info::title(), description);
}

VbError passedOn(const std::exception& e, const QString& procedure)
{
    VbError error = toVbError(e, app_info::title());
    error.appendSource(procedure);
    return error;
}

} // namespace veldra
