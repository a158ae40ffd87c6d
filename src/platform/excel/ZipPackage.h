#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QString>
#include <optional>

struct zip;

namespace veldra::excel {

// The parts of a ZIP package held in memory, read one by one; nothing is ever written to
// disk. A package with too many entries, or a part (or all parts read) larger than the
// limit once decompressed, is refused rather than read, so a small hostile file cannot exhaust memory.
class ZipPackage {
public:
    static constexpr qint64 MaxEntries = 10000;
    // A sheet of 100,000 rows of ten cells is about 30 MiB of XML.
    static constexpr qint64 MaxPartBytes = qint64(64) * 1024 * 1024;
    // All parts read from one package together.
    static constexpr qint64 MaxTotalBytes = qint64(256) * 1024 * 1024;

    ZipPackage() = default;
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // The package of the bytes, which must outlive this object. On failure `error` says why.
    bool open(const QByteArray& bytes, WorkbookError& error);

    // True when the package holds the part (names compare without case, as the package
    // format says).
    bool has(const QString& name) const;
    // The part's bytes; nothing, with `error` filled, when it is missing, too large,
    // encrypted or damaged.
    std::optional<QByteArray> read(const QString& name, WorkbookError& error) const;

private:
    zip* archive_ = nullptr;
    mutable qint64 totalRead_ = 0;
};

} // namespace veldra::excel
