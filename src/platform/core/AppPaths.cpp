#include "platform/core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace veldra::app_paths {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
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
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return QDir(programFolder()).filePath(rel);
}

} // namespace veldra::app_paths
