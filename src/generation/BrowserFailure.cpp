#include "generation/BrowserFailure.h"

#include "platform/ui/Ui.h"

namespace veldra {

void showPageProcessFailure(const QString& message)
{
    ui::msgBox(message, ui::Buttons::OK, ui::Icon::Critical);
}

} // namespace veldra
