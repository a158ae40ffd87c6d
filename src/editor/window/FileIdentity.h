#pragma once

#include <QString>
#include <QtGlobal>

namespace veldra {

// What tells whether a file on disk is still the one a window read or wrote, without reading
// it: which file it is (device and inode, so a file replaced by a rename is another one), its
// size and the time it was last written, to the nanosecond. A symbolic link counts as the file
// it names.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    // The identity of the file at `path` now; one that does not exist when it cannot be read.
    static FileIdentity of(const QString& path);

    bool operator==(const FileIdentity&) const = default;
};

} // namespace veldra
