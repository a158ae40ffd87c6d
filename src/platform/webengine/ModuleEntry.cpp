// The module's entry point, found by name when the program makes its first browser control.
#include "platform/webengine/WebEngineBrowser.h"

extern "C" Q_DECL_EXPORT veldra::web::BrowserControl* veldraCreateBrowserControl(QWidget* parent,
                                                                                 const veldra::web::BrowserSettings& settings)
{
    return new veldra::web::WebEngineBrowser(parent, settings);
}
