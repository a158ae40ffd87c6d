#include "generation/preview/PreviewFolder.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "generation/FileCopy.h"
#include "generation/building/AddSPLFromFile.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace veldra {

namespace {

const QString StylesheetFolder = QStringLiteral("spl-stylesheet-6.2");
const QString FallbackName = QStringLiteral("NoDocumentID");

bool isSafeFolderName(const QString& name)
{
    if (name.isEmpty() || name.count(QLatin1Char('.')) == name.size())
        return false;
    if (name.compare(StylesheetFolder, Qt::CaseInsensitive) == 0)
        return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            return false;
    return true;
}

QString safeFolderName(const QString& documentId)
{
    if (isSafeFolderName(documentId))
        return documentId;
    const QString cleaned = MakeSafeFileName(documentId, QString());
    return isSafeFolderName(cleaned) ? cleaned : FallbackName;
}

QString extensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

// A plain, visible file name of a picture type the page can show.
bool isPicture(const QString& name)
{
    static const QStringList types = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
                                      QStringLiteral("gif"), QStringLiteral("bmp")};
    return isPlainMediaFileName(name) && !name.startsWith(QLatin1Char('.'))
        && types.contains(extensionOf(name).toLower());
}

// Why the picture at `path` is not copied for the page: it is missing, or it is no regular
// file (a symbolic link, which could point anywhere, a device, a pipe or a folder); empty
// when it may be copied.
QString whyNotCopied(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("is missing");
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("is a symbolic link and is not copied");
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("is not a regular file and is not copied");
    return {};
}

} // namespace

PreviewFolder previewFolderFor(const QString& documentId)
{
    PreviewFolder preview;
    preview.name = safeFolderName(documentId);
    preview.folder = app_paths::inUserData(QStringLiteral("Preview/") + preview.name);
    preview.splFile = preview.folder + QLatin1Char('/') + preview.name + QStringLiteral(".xml");
    return preview;
}

void emptyPreviewFolder(const PreviewFolder& preview)
{
    const QDir folder(preview.folder);
    if (!QDir().mkpath(preview.folder))
        throw VbError(err::FileAccess, QStringLiteral("PreviewFolder"),
                      QStringLiteral("Cannot create the folder %1").arg(preview.folder));
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!QFile::remove(folder.filePath(name)))
            throw VbError(err::FileAccess, QStringLiteral("PreviewFolder"),
                          QStringLiteral("Cannot delete %1").arg(folder.filePath(name)));
}

void copyReferencedImages(const PreviewFolder& preview, const QString& imageFolder, const xml::Document& spl)
{
    if (imageFolder.isEmpty())
        return;
    const QDir images(imageFolder);
    const QDir folder(preview.folder);
    QSet<QString> copied;
    for (const xml::Node& reference : spl.selectNodes(QStringLiteral("//observationMedia/value/reference/@value"))) {
        const QString name = reference.text();
        if (!isPicture(name) || copied.contains(name))
            continue;
        copied.insert(name);
        if (const QString reason = whyNotCopied(images.filePath(name)); !reason.isEmpty())
            WriteLog(log_category::Warning, QStringLiteral("Image file '%1' in the folder '%2' %3: the preview shows the "
                                                           "page without it.")
                                                .arg(name, images.path(), reason));
        else
            copyFileReplacing(images.filePath(name), folder.filePath(name));
    }
}

} // namespace veldra
