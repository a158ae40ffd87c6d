#include "editor/window/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace veldra {

FileIdentity FileIdentity::of(const QString& path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {true,
            quint64(status.st_dev),
            quint64(status.st_ino),
            qint64(status.st_size),
            qint64(status.st_mtim.tv_sec),
            qint64(status.st_mtim.tv_nsec)};
}

} // namespace veldra
