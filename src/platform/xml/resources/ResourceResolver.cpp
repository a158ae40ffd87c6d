#include "platform/xml/resources/ResourceResolver.h"

#include "platform/core/AppPaths.h"
#include "platform/xml/resources/ResourceDownloader.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <mutex>

namespace veldra::xml {

namespace {

struct TestRoot {
    QString folder;
    QUrl remoteFolder;
};

std::mutex& testRootsMutex()
{
    static std::mutex m;
    return m;
}

TestRoot& testRoot(ResourceKind kind)
{
    static TestRoot roots[2];
    return roots[kind == ResourceKind::Schema ? 0 : 1];
}

TestRoot currentTestRoot(ResourceKind kind)
{
    std::lock_guard lock(testRootsMutex());
    return testRoot(kind);
}

QString kindName(ResourceKind kind)
{
    return kind == ResourceKind::Schema ? QStringLiteral("schema") : QStringLiteral("stylesheet");
}

// What a user without network access puts into a set's folder by hand.
QString filesOfSet(ResourceKind kind)
{
    return kind == ResourceKind::Schema
        ? QStringLiteral("spl.xsd and the other .xsd files of the FDA's SPL schema zip file")
        : QStringLiteral("spl.xsl, spl-common.xsl, spl.css and the other files of the FDA's SPL stylesheet zip file");
}

QString cacheFolder(ResourceKind kind)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return QDir(base).filePath(kind == ResourceKind::Schema ? QStringLiteral("schemas")
                                                            : QStringLiteral("stylesheets"));
}

// The stylesheet set shipped in the program folder, when it holds any files.
QString shippedFolder(ResourceKind kind)
{
    if (kind != ResourceKind::Stylesheet)
        return {};
    const QString folder = app_paths::inProgram(QStringLiteral("Preview/spl-stylesheet-6.2"));
    return QDir(folder).entryList(QDir::Files).isEmpty() ? QString() : folder;
}

// Where a download of the set goes: never into the program folder.
QString downloadFolder(ResourceKind kind)
{
    const TestRoot root = currentTestRoot(kind);
    if (!root.folder.isEmpty())
        return root.folder;
    return shippedFolder(kind).isEmpty() ? cacheFolder(kind) : QString();
}

// The file `name` (a path inside the set) below `folder`; its file name may differ in case.
QString findFileIgnoringCase(const QString& folder, const QString& name)
{
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir dir = QFileInfo(exact).dir();
    const QString fileName = QFileInfo(exact).fileName();
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& file : files) {
        if (file.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    }
    return {};
}

QString localPathOf(const QString& reference)
{
    const QString text = reference.trimmed();
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(text).toLocalFile();
    return text;
}

} // namespace

QString localResourceFolder(ResourceKind kind)
{
    const TestRoot root = currentTestRoot(kind);
    if (!root.folder.isEmpty())
        return root.folder;
    const QString shipped = shippedFolder(kind);
    return shipped.isEmpty() ? cacheFolder(kind) : shipped;
}

QString localCopy(const MappedAddress& resource)
{
    return findFileIgnoringCase(localResourceFolder(resource.kind), resource.name);
}

QUrl remoteResourceFolder(ResourceKind kind)
{
    const TestRoot root = currentTestRoot(kind);
    return root.folder.isEmpty() ? agencyFolder(kind) : root.remoteFolder;
}

QString localFileFor(const QString& reference, QString* problem)
{
    auto fail = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return QString();
    };
    if (const auto mapped = mapAddress(reference)) {
        const QString copy = localCopy(*mapped);
        if (copy.isEmpty())
            return fail(QStringLiteral("The %1 %2 is not available: there is no local copy in %3. That folder "
                                       "needs %4, unpacked directly into it.")
                            .arg(kindName(mapped->kind), reference, localResourceFolder(mapped->kind),
                                 filesOfSet(mapped->kind)));
        return copy;
    }
    if (isNetworkAddress(reference))
        return fail(QStringLiteral("%1 is not loaded: network addresses other than those of the SPL "
                                   "schema and stylesheet are refused.")
                        .arg(reference));
    const QString path = localPathOf(reference);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return fail(QStringLiteral("The file %1 does not exist.").arg(path.isEmpty() ? reference : path));
    return path;
}

ObtainedResource obtainResource(const QString& reference)
{
    ObtainedResource result;
    result.localPath = localFileFor(reference, &result.problem);
    if (result.available())
        return result;

    const auto mapped = mapAddress(reference);
    if (!mapped)
        return result;
    const QUrl from = remoteResourceFolder(mapped->kind);
    const QString folder = downloadFolder(mapped->kind);
    if (from.isEmpty() || folder.isEmpty())
        return result;

    const QString downloadProblem = downloadResourceSet(mapped->kind, from, mapped->name, folder);
    if (!downloadProblem.isEmpty()) {
        result.problem = QStringLiteral("The %1 %2 is not available: there is no local copy in %3, and "
                                        "the download failed: %4. Without network access, that folder needs "
                                        "%5, unpacked directly into it.")
                             .arg(kindName(mapped->kind), reference, folder, downloadProblem,
                                  filesOfSet(mapped->kind));
        return result;
    }
    result.localPath = localFileFor(reference, &result.problem);
    if (result.available())
        result.problem.clear();
    return result;
}

void setLocalRootForTesting(ResourceKind kind, const QString& folder, const QUrl& remoteFolder)
{
    std::lock_guard lock(testRootsMutex());
    testRoot(kind) = TestRoot{folder, folder.isEmpty() ? QUrl() : remoteFolder};
}

} // namespace veldra::xml
