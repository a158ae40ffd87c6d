#include "generation/InstallGenerationHooks.h"

#include "editor/EditorHooks.h"
#include "generation/build/TransformSPLR4ToSPL.h"
#include "platform/xml/Document.h"

namespace veldra {

void installGenerationHooks()
{
    editorHooks().TransformSPLR4ToSPL = [](xml::Document settings, const QString& outFile) {
        return TransformSPLR4ToSPL(settings, outFile);
    };
}

} // namespace veldra
