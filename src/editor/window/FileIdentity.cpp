#include "editor/window/FileIdentity.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace veldra {

namespace {

bool isSymbolicLink(const QByteArray& name)
{
    struct stat entry {};
    return ::lstat(name.constData(), &entry) == 0 && S_ISLNK(entry.st_mode);
}

} // namespace

FileIdentity FileIdentity::of(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QByteArray name = QFile::encodeName(path);
    FileIdentity identity;
    if (isSymbolicLink(name)) {
        identity.isLink = true;
        identity.linkedFile = QFileInfo(path).canonicalFilePath();
    }
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return identity;
    identity.exists = true;
    identity.device = quint64(status.st_dev);
    identity.inode = quint64(status.st_ino);
    identity.size = qint64(status.st_size);
    identity.modifiedSeconds = qint64(status.st_mtim.tv_sec);
    identity.modifiedNanoseconds = qint64(status.st_mtim.tv_nsec);
    identity.changedSeconds = qint64(status.st_ctim.tv_sec);
    identity.changedNanoseconds = qint64(status.st_ctim.tv_nsec);
    return identity;
}

} // namespace veldra
