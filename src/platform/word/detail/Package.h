#pragma once

#include "platform/word/OpenError.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

namespace veldra::word::detail {

// Limits on what a package may make us read, against zip bombs and oversized input.
inline constexpr qint64 MaxPackageBytes = 512LL * 1024 * 1024;
inline constexpr qint64 MaxPartBytes = 200LL * 1024 * 1024;
inline constexpr qint64 MaxEntries = 20000;

struct Relationship {
    QString type;       // the type URI's last segment, e.g. "styles", "image", "hyperlink"
    QString target;     // a part name for internal targets, the raw target for external ones
    bool external = false;
};

// A zip package held in memory. Parts are read by name only (never extracted to disk by
// the names the archive holds), so entry names such as "../x" are only names.
class Package {
public:
    ~Package();
    // Opens the bytes as a zip archive; nullptr and error on failure.
    static std::unique_ptr<Package> open(QByteArray bytes, OpenError& error);

    bool has(const QString& partName) const;
    // The part's bytes, or nullopt when it is missing; a part above MaxPartBytes or one that
    // fails to decompress sets error and gives nullopt.
    std::optional<QByteArray> read(const QString& partName, QString* error = nullptr) const;
    // Relationships of a part ("" for the package's own), by id; targets resolved to part
    // names. A missing or malformed relationship part gives none.
    QHash<QString, Relationship> relationships(const QString& partName) const;
    // The content type the package gives a part, "" when it names none.
    QString contentType(const QString& partName) const;

private:
    Package() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// "word/media/../x.png" relative to "word/document.xml" → "word/x.png"; "" when the target
// climbs out of the package.
QString resolvePartName(const QString& sourcePart, const QString& target);

} // namespace veldra::word::detail
