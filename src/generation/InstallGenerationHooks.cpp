#include "generation/InstallGenerationHooks.h"

#include "editor/window/EditorHooks.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

void installGenerationHooks()
{
    editorHooks().TransformSPLR4ToSPL = [](xml::Document settings, const QString& outFile) {
        return TransformSPLR4ToSPL(settings, outFile);
    };
}

} // namespace veldra
