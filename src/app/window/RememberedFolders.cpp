#include "app/window/RememberedFolders.h"

#include "platform/core/VbString.h"

#include <QCoreApplication>
#include <QSettings>

namespace veldra {

namespace {

QString settingsKey(const QString& key)
{
    return QStringLiteral("FileIO/") + key;
}

// The application's own names ("Veldra", set at start-up), so that a test program,
// which runs under names of its own, never touches the user's settings.
QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                     QCoreApplication::applicationName());
}

} // namespace

void SaveLastFolder(const QString& key, const QString& path)
{
    if (!path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char('\\')))
        return;
    QString folder = vbstr::folderOf(path);
    // The folder of "/x.xml" is the root folder itself.
    if (folder.isEmpty() && path.startsWith(QLatin1Char('/')))
        folder = QStringLiteral("/");
    userSettings().setValue(settingsKey(key), folder);
}

QString GetLastFolder(const QString& key)
{
    return userSettings().value(settingsKey(key)).toString();
}

} // namespace veldra
