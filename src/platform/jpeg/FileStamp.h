#pragma once

#include <QString>

#include <optional>
#include <sys/stat.h>

namespace veldra {

// The access and modification times and the read/write/execute permissions of a file, taken before
// the file is replaced so that the replacement can carry them on. (The creation time
// cannot be set on this platform.)
class FileStamp {
public:
    // The stamp of the file at `path`, or nothing when there is no such file.
    static std::optional<FileStamp> of(const QString& path);
    // Gives the file at `path` these times and permissions; false when either fails.
    bool applyTo(const QString& path) const;

private:
    explicit FileStamp(const struct stat& status) : status_(status) {}
    struct stat status_;
};

} // namespace veldra
