#include "generation/building/MediaFileCheck.h"

#include "app/log/Log.h"
#include "generation/building/AddSPLFromFile.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/NodeTests.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"
#include "platform/xml/tree/RawAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstring>
#include <vector>

namespace veldra {

namespace {

bool isFileIn(const QString& folder, const QString& name)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(name)).isFile();
}

bool isElementNamed(xmlNodePtr node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// The value attributes of observationMedia/value/reference elements below `node`, in
// document order.
void collectReferences(xmlNodePtr node, std::vector<xmlNodePtr>& references)
{
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (isElementNamed(child, "reference") && isElementNamed(child->parent, "value")
            && isElementNamed(child->parent->parent, "observationMedia"))
            if (xmlAttrPtr value = unprefixedAttribute(child, "value"))
                references.push_back(reinterpret_cast<xmlNodePtr>(value));
        collectReferences(child, references);
    }
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
    std::vector<xmlNodePtr> references;
    collectReferences(root.parentNode().raw(), references);
    for (xmlNodePtr reference : references)
        names << xml::handleOn(reference).text();
    return names;
}

} // namespace

void WarnMissingMediaFiles(const xml::Document& target, const xml::Document& settings, const QString& outFile)
{
    const QString imageFolder =
        xml::textAt(settings, QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder")).trimmed();
    const QString outputFolder = QFileInfo(outFile).absolutePath();
    QStringList reported;
    for (const QString& name : mediaReferences(target)) {
        if (reported.contains(name))
            continue;
        // A reference that is no plain file name cannot be looked up safely; it counts as missing.
        if (isPlainMediaFileName(name) && (isFileIn(imageFolder, name) || isFileIn(outputFolder, name)))
            continue;
        reported << name;
        WriteLog(log_category::Warning,
                 QStringLiteral("Image file '%1' is not in the image folder '%2': the SPL File refers to a missing file")
                     .arg(name, imageFolder.isEmpty() ? outputFolder : imageFolder));
    }
}

} // namespace veldra
