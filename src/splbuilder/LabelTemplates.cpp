#include "splbuilder/LabelTemplates.h"

#include "platform/core/AppPaths.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <ctime>
#include <optional>
#include <sys/stat.h>

namespace veldra {

namespace {

// What the file system tells of a file's identity and last change. Writing, truncating or
// replacing the file changes it, provided the change comes after the recorded change time by
// more than the steps of the clock file times are taken from (see settledWhenRead).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const
    {
        const auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
        return device == other.device && inode == other.inode && size == other.size && same(modified, other.modified)
            && same(changed, other.changed);
    }
};

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

// File times come from a coarse clock, and some file systems keep them to a second or two.
constexpr time_t settleSeconds = 3;

// The stamp, when the file had last changed well before its bytes were read at `readAt`: any
// later change of the file then gives it another stamp (its change time, which no one can set
// back, becomes the time of that change). A file changed just before it was read may change
// again within the same step of the clock, so its stamp proves nothing.
std::optional<FileStamp> settledWhenRead(const std::optional<FileStamp>& stamp, time_t readAt)
{
    if (stamp && stamp->changed.tv_sec + settleSeconds < readAt)
        return stamp;
    return std::nullopt;
}

struct ParsedTemplate {
    QByteArray bytes;
    // The file's stamp as it stood before the bytes were read, when it settled before.
    std::optional<FileStamp> settledStamp;
    xml::Document parsed;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString labelTemplatePath(const QString& fileName)
{
    return app_paths::inProgram(QStringLiteral("LabelDefinitions/") + fileName);
}

bool loadLabelTemplate(xml::Document& target, const QString& fileName)
{
    // A build reads the skeleton and each fragment once or more per section; parsing them
    // every time costs more than the rest of the build's work on them, and reading them every
    // time is most of what is left.
    static QMutex mutex;
    static QHash<QString, ParsedTemplate> parsedByPath;
    const QString path = labelTemplatePath(fileName);
    const std::optional<FileStamp> stamp = stampOf(path);
    const QMutexLocker lock(&mutex);
    const auto known = parsedByPath.find(path);
    if (known != parsedByPath.end() && stamp && known->settledStamp == stamp) {
        target.loadCopy(known->parsed);
        return true;
    }
    const time_t readAt = std::time(nullptr);
    const QByteArray bytes = fileBytes(path);
    if (!bytes.isEmpty() && known != parsedByPath.end() && known->bytes == bytes) {
        known->settledStamp = settledWhenRead(stamp, readAt);
        target.loadCopy(known->parsed);
        return true;
    }
    parsedByPath.remove(path);
    if (!target.load(path))
        return false;
    // Kept only when the file did not change while it was parsed, so the copy is of these bytes.
    if (!bytes.isEmpty() && fileBytes(path) == bytes) {
        ParsedTemplate made{bytes, settledWhenRead(stamp, readAt), xml::Document()};
        made.parsed.loadCopy(target);
        parsedByPath.insert(path, std::move(made));
    }
    return true;
}

} // namespace veldra
