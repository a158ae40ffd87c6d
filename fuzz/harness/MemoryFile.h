#pragma once

#include <QByteArray>
#include <QString>

namespace veldra::fuzz {

// Bytes as a regular file in memory, so targets exercise the file readers without a disk.
class MemoryFile {
public:
    explicit MemoryFile(const QByteArray& bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    QString path() const;

private:
    int fd_;
};

} // namespace veldra::fuzz
