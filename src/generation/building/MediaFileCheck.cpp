#include "generation/building/MediaFileCheck.h"

#include "app/log/Log.h"
#include "generation/building/AddSPLFromFile.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/NodeTests.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"
#include "platform/xml/tree/UnorderedWalk.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace veldra {

namespace {

bool isFileIn(const QString& folder, const QString& name)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(name)).isFile();
}

bool isElementNamed(const xml::Cursor& node, const char* name)
{
    return node.isElement() && node.isNamed(name);
}

// The value attributes of observationMedia/value/reference elements below `node`, in
// document order. The walk that finds them keeps no order (it reads a large SPL much faster),
// so the few it finds are put in the document's order afterwards.
void collectReferences(const xml::Cursor& node, std::vector<xml::Cursor>& references)
{
    std::vector<xml::Cursor> elements;
    xml::forEachElementUnordered(node, [&elements](const xml::Cursor& element) {
        if (element.isNamed("reference") && isElementNamed(element.parent(), "value")
            && isElementNamed(element.parent().parent(), "observationMedia"))
            elements.push_back(element);
        return true;
    });
    std::sort(elements.begin(), elements.end(), [](const xml::Cursor& a, const xml::Cursor& b) { return a.precedes(b); });
    for (const xml::Cursor& element : elements)
        if (const xml::Cursor value = element.attribute("value"))
            references.push_back(value);
}

// The media file names the SPL refers to, in document order; one walk instead of a search of
// the whole document where lookups are indexed.
QStringList mediaReferences(const xml::Document& target)
{
    QStringList names;
    const xml::Node root = target.documentElement();
    if (!indexedLookups() || root.isNull()) {
        for (const xml::Node& reference : target.selectNodes(QStringLiteral("//observationMedia/value/reference/@value")))
            names << reference.text();
        return names;
    }
    std::vector<xml::Cursor> references;
    collectReferences(xml::Cursor(root.parentNode()), references);
    for (const xml::Cursor& reference : references)
        names << reference.text();
    return names;
}

// The warning for a picture missing beside the SPL; one left in the image folder is named there,
// so that the user knows what to copy.
QString missingPictureWarning(const QString& name, const QString& outputFolder, const QString& imageFolder)
{
    QString text = QStringLiteral("Image file '%1' is not beside the SPL File in the folder '%2': the SPL File "
                                  "refers to a missing file")
                       .arg(name, outputFolder);
    if (isPlainMediaFileName(name) && isFileIn(imageFolder, name))
        text += QStringLiteral("; it is in the image folder '%1', copy it beside the SPL File").arg(imageFolder);
    return text;
}

} // namespace

int WarnMissingMediaFiles(const xml::Document& target, const xml::Document& settings, const QString& outFile)
{
    const QString imageFolder =
        xml::textAt(settings, QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder")).trimmed();
    const QString outputFolder = QFileInfo(outFile).absolutePath();
    QStringList reported;
    for (const QString& name : mediaReferences(target)) {
        if (reported.contains(name))
            continue;
        // A reference that is no plain file name cannot be looked up safely; it counts as missing.
        if (isPlainMediaFileName(name) && isFileIn(outputFolder, name))
            continue;
        reported << name;
        WriteLog(log_category::Warning, missingPictureWarning(name, outputFolder, imageFolder));
    }
    return static_cast<int>(reported.size());
}

} // namespace veldra
