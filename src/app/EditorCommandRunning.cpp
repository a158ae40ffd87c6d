#include "app/EditorCommandRunning.h"

#include "platform/ui/Ui.h"

namespace veldra {

std::optional<EditorCommandRunning> startEditorCommand(EditorWindow& editor)
{
    if (editor.commandRunning()) {
        ui::msgBox(CommandStillRunningMessage, ui::Buttons::OK, ui::Icon::Information);
        return std::nullopt;
    }
    return std::optional<EditorCommandRunning>(std::in_place, editor);
}

} // namespace veldra
