#include "platform/core/RegularFile.h"

#include "platform/core/VbError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veldra {

namespace {

FileContent refused(int code, const QString& problem)
{
    FileContent content;
    content.errorCode = code;
    content.problem = problem;
    return content;
}

FileContent systemError(const QString& path, int error)
{
    const int code = error == ENOENT || error == ENOTDIR ? err::FileNotFound : err::FileAccess;
    if (code == err::FileNotFound)
        return refused(code, QStringLiteral("The file '%1' does not exist.").arg(path));
    return refused(code, QStringLiteral("The file '%1' cannot be read: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

QString kindOfFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a device");
}

FileContent readRegularFile(const QString& path, qint64 maxBytes)
{
    if (path.isEmpty())
        return refused(err::FileNotFound, QStringLiteral("No file was named."));
    // Non-blocking, so that opening a FIFO without a writer returns at once; fstat then refuses it.
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return systemError(path, errno);
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0)
        return systemError(path, errno);
    if (!S_ISREG(status.st_mode))
        return refused(err::FileAccess,
                       QStringLiteral("The file '%1' cannot be read: it is %2, not a file.").arg(path, kindOfFile(status.st_mode)));
    const QString tooLarge = QStringLiteral("The file '%1' is too large to load (more than %2 bytes).").arg(path).arg(maxBytes);
    if (status.st_size > maxBytes)
        return refused(err::FileAccess, tooLarge);

    FileContent content;
    content.bytes.resize(static_cast<qsizetype>(status.st_size));
    qint64 total = 0;
    for (;;) {
        if (total == content.bytes.size()) {
            // One byte more than the limit tells a file that grew past it.
            const qint64 room = std::min<qint64>(maxBytes + 1, total + 64 * 1024);
            if (room <= total)
                return refused(err::FileAccess, tooLarge);
            content.bytes.resize(static_cast<qsizetype>(room));
        }
        const ssize_t got = ::read(fd.get(), content.bytes.data() + total, static_cast<size_t>(content.bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemError(path, errno);
        if (got == 0)
            break;
        total += got;
        if (total > maxBytes)
            return refused(err::FileAccess, tooLarge);
    }
    content.bytes.truncate(static_cast<qsizetype>(total));
    return content;
}

} // namespace veldra
