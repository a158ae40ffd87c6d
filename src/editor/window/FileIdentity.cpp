#include "editor/window/FileIdentity.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace veldra {

FileIdentity FileIdentity::of(const QString& path)
{
    if (path.isEmpty())
        return {};
    FileIdentity identity;
    const QFileInfo entry(path);
    if (entry.isSymLink()) {
        identity.isLink = true;
        identity.linkedFile = entry.canonicalFilePath();
    }
    struct stat folder {};
    if (::stat(QFile::encodeName(entry.absolutePath()).constData(), &folder) == 0) {
        identity.folderExists = true;
        identity.folderDevice = quint64(folder.st_dev);
        identity.folderInode = quint64(folder.st_ino);
    }
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
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
