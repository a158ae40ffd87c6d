#include "generation/FileCopy.h"

#include "platform/core/FileSave.h"
#include "platform/core/VbError.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veldra {

namespace {

[[noreturn]] void fail(int number, const QString& description)
{
    throw VbError(number, QStringLiteral("FileCopy"), description);
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens `from` for reading, refusing a symbolic link (the open does not follow one, so the file
// cannot be swapped for a link between a check and the open) and anything but a regular file.
// Gives the file's permission bits.
void openRegularFile(const QString& from, QFile& source, mode_t& permissions)
{
    const int fd = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            fail(err::FileAccess, QStringLiteral("%1 is a symbolic link and is not copied.").arg(from));
        fail(err::FileAccess, QStringLiteral("Cannot read %1: %2").arg(from, systemReason()));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        fail(err::FileAccess, QStringLiteral("%1 is not a regular file and is not copied.").arg(from));
    }
    permissions = status.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    if (!source.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        fail(err::FileAccess, QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
    }
}

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

bool copyFileReplacing(const QString& from, const QString& to)
{
    if (!QFileInfo::exists(from) && !QFileInfo(from).isSymLink())
        fail(err::FileNotFound, QStringLiteral("File not found: %1").arg(from));
    QFile source;
    mode_t permissions = 0;
    openRegularFile(from, source, permissions);
    if (sameFile(from, to))
        return false;
    ReplacingFile target(to);
    if (!target.open())
        fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.problem()));
    // Before any byte is written, so the copy is never readable by more users than the file.
    if (::fchmod(target.handle(), permissions) != 0)
        fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, systemReason()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            fail(err::FileAccess, QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
        if (!target.write(chunk))
            fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.problem()));
    }
    if (!target.commit())
        fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.problem()));
    return true;
}

QString folderWithSeparator(const QString& path)
{
    const qsizetype last = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(last + 1);
}

} // namespace veldra
