#include "generation/reverse/ImportImages.h"

#include "app/log/Log.h"
#include "generation/building/AddSPLFromFile.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace veldra {

namespace {

QStringList referencedFiles(const xml::Node& imported)
{
    QStringList names;
    for (const xml::Node& reference : imported.selectNodes(QStringLiteral(".//observationMedia/value/reference/@value")))
        if (!names.contains(reference.text()))
            names << reference.text();
    return names;
}

// The picture beside the SPL file, when it is a regular file of that very folder: not a link,
// and not reached through one.
bool isSafeSource(const QFileInfo& file, const QString& splFolder)
{
    return file.exists() && !file.isSymLink() && file.isFile()
           && QFileInfo(file.canonicalFilePath()).absolutePath() == QFileInfo(splFolder).canonicalFilePath();
}

void copyOne(const QString& name, const QString& splFolder, const QString& imageFolder)
{
    const QFileInfo from(QDir(splFolder).filePath(name));
    if (!isPlainMediaFileName(name) || !isSafeSource(from, splFolder)) {
        WriteLog(log_category::Warning, QStringLiteral("Image file '%1' is not a file in the folder of the SPL File; not copied").arg(name));
        return;
    }
    const QString to = QDir(imageFolder).filePath(name);
    if (QFileInfo(to).exists() || QFileInfo(to).isSymLink()) {
        WriteLog(log_category::Information, QStringLiteral("Image file '%1' is already in the image folder; kept").arg(name));
        return;
    }
    WriteLog(log_category::Information, QStringLiteral("Copying File '%1' to Folder '%2'").arg(from.filePath(), imageFolder));
    if (!QFile::copy(from.filePath(), to))
        WriteLog(log_category::Error, QStringLiteral("Copy file '%1' to Folder '%2' failed").arg(from.filePath(), imageFolder));
}

} // namespace

void CopyImportedImages(const xml::Node& imported, const xml::Document& settings, const QString& splFile)
{
    const QStringList names = referencedFiles(imported);
    if (names.isEmpty())
        return;
    const QString imageFolder =
        xml::textAt(settings, QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder")).trimmed();
    if (imageFolder.isEmpty()) {
        WriteLog(log_category::Warning, QStringLiteral("No image folder is set (Image Target Folder); the %1 image files of the SPL File "
                                         "are not copied: %2")
                              .arg(names.size())
                              .arg(names.join(QStringLiteral(", "))));
        return;
    }
    if (!QDir().mkpath(imageFolder)) {
        WriteLog(log_category::Error, QStringLiteral("The image folder '%1' cannot be made; no image file is copied").arg(imageFolder));
        return;
    }
    const QString splFolder = QFileInfo(splFile).absolutePath();
    for (const QString& name : names)
        copyOne(name, splFolder, imageFolder);
}

} // namespace veldra
