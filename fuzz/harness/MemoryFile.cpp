#include "harness/MemoryFile.h"

#include "harness/FuzzCheck.h"

#include <sys/mman.h>
#include <unistd.h>

namespace veldra::fuzz {

MemoryFile::MemoryFile(const QByteArray& bytes) : fd_(memfd_create("fuzz-input", MFD_CLOEXEC))
{
    require(fd_ >= 0, "a memory file can be made");
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t now = ::write(fd_, bytes.constData() + written, size_t(bytes.size() - written));
        require(now > 0, "the memory file takes the input");
        written += now;
    }
}

MemoryFile::~MemoryFile()
{
    ::close(fd_);
}

QString MemoryFile::path() const
{
    return QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

} // namespace veldra::fuzz
