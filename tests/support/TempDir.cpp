#include "support/TempDir.h"

#include "platform/core/AppPaths.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace veldra::test {

TempDir::TempDir()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

static void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (QFileInfo(source).isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
}

ProgramFolderCopy::ProgramFolderCopy()
{
    copyTree(sourceDataDir(), dir_.path());
    app_paths::setProgramFolderForTesting(dir_.path());
    app_paths::setUserDataFolderForTesting(userData_.path());
}

ProgramFolderCopy::~ProgramFolderCopy()
{
    app_paths::setProgramFolderForTesting(QString());
    app_paths::setUserDataFolderForTesting(QString());
}

QString ProgramFolderCopy::file(const QString& relative) const
{
    return app_paths::inProgram(relative);
}

} // namespace veldra::test
