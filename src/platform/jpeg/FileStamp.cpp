#include "platform/jpeg/FileStamp.h"

#include <QFile>

#include <fcntl.h>

namespace veldra {

std::optional<FileStamp> FileStamp::of(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp(status);
}

bool FileStamp::applyTo(const QString& path) const
{
    const QByteArray name = QFile::encodeName(path);
    const struct timespec times[2] = {status_.st_atim, status_.st_mtim};
    const bool timesSet = ::utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
    // Read, write and execute bits only: set-id bits are not handed to a new file.
    const bool modeSet = ::chmod(name.constData(), status_.st_mode & 0777) == 0;
    return timesSet && modeSet;
}

} // namespace veldra
