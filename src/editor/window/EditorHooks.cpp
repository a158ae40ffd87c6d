#include "editor/window/EditorHooks.h"

namespace veldra {

EditorHooks& editorHooks()
{
    static EditorHooks table;
    return table;
}

} // namespace veldra
