#include "platform/core/AppInfo.h"

#include "AppVersion.h"

namespace veldra::app_info {

QString title() { return QStringLiteral("Veldra"); }
int versionMajor() { return version::major; }
int versionMinor() { return version::minor; }
int versionRevision() { return version::revision; }

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor()).arg(versionMinor()).arg(versionRevision());
}

QString publisher() { return QStringLiteral("Veldra developers"); }

} // namespace veldra::app_info
