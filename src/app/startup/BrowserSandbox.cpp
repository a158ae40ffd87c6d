#include "app/startup/BrowserSandbox.h"

#include <QByteArray>
#include <QtGlobal>

namespace veldra {

bool browserSandboxPossible(uid_t effectiveUser)
{
    return effectiveUser != 0;
}

void chooseBrowserSandbox(uid_t effectiveUser)
{
    if (!browserSandboxPossible(effectiveUser))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
}

} // namespace veldra
