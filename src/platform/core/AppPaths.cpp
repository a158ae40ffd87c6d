#include "platform/core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace veldra::app_paths {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString& overrideUserData()
{
    static QString folder;
    return folder;
}

QString relativePath(const QString& relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return rel;
}
}

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolderForTesting(const QString& folder)
{
    overrideFolder() = folder;
}

QString inProgram(const QString& relative)
{
    return QDir(programFolder()).filePath(relativePath(relative));
}

QString userDataFolder()
{
    if (!overrideUserData().isEmpty())
        return overrideUserData();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setUserDataFolderForTesting(const QString& folder)
{
    overrideUserData() = folder;
}

QString inUserData(const QString& relative)
{
    return QDir(userDataFolder()).filePath(relativePath(relative));
}

} // namespace veldra::app_paths
