#include "generation/build/MediaFileCheck.h"

#include "app/Log.h"
#include "generation/build/AddSPLFromFile.h"
#include "platform/xml/Document.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace veldra {

namespace {

bool isFileIn(const QString& folder, const QString& name)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(name)).isFile();
}

} // namespace

void WarnMissingMediaFiles(const xml::Document& target, const xml::Document& settings, const QString& outFile)
{
    const xml::Node folderNode = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder"));
    const QString imageFolder = folderNode.isNull() ? QString() : folderNode.text().trimmed();
    const QString outputFolder = QFileInfo(outFile).absolutePath();
    QStringList reported;
    for (const xml::Node& reference : target.selectNodes(QStringLiteral("//observationMedia/value/reference/@value"))) {
        const QString name = reference.text();
        if (reported.contains(name))
            continue;
        // A reference that is no plain file name cannot be looked up safely; it counts as missing.
        if (isPlainMediaFileName(name) && (isFileIn(imageFolder, name) || isFileIn(outputFolder, name)))
            continue;
        reported << name;
        WriteLog(QStringLiteral("Warning"),
                 QStringLiteral("Image file '%1' is not in the image folder '%2': the SPL File refers to a missing file")
                     .arg(name, imageFolder.isEmpty() ? outputFolder : imageFolder));
    }
}

} // namespace veldra
