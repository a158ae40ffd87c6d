#include "editor/document/DefinitionDocument.h"

#include "editor/window/EditorErrors.h"
#include "editor/tree/TreePaths.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

#include <QHash>

namespace veldra {

namespace {

const QString Word2SPLID = QStringLiteral("Word2SPLID");

void refreshAttributes(const xml::Node& element, const xml::Node& definitionElement)
{
    QStringList constraints;
    for (const xml::Node& attribute : element.attributes())
        if (attribute.nodeName().contains(QLatin1String("Constraint")))
            constraints << attribute.nodeName();
    for (const QString& name : constraints)
        element.removeAttribute(name);
    if (definitionElement.isNull())
        return;
    for (const xml::Node& attribute : definitionElement.attributes()) {
        // An id in the definition would give every element at this path the same key.
        if (attribute.nodeName() != Word2SPLID)
            element.setAttribute(attribute.nodeName(), attribute.text());
    }
}

// The first definition element of every element path, gathered in one walk.
using DefinitionIndex = QHash<QString, xml::Node>;

void indexDefinition(const xml::Node& node, const QString& path, DefinitionIndex& index)
{
    for (const xml::Node& child : node.childNodes()) {
        if (child.nodeType() != xml::NodeType::Element)
            continue;
        const QString childPath = path.isEmpty() ? child.nodeName() : path + QLatin1Char('/') + child.nodeName();
        if (!index.contains(childPath))
            index.insert(childPath, child);
        indexDefinition(child, childPath, index);
    }
}

void refreshChildren(const xml::Node& node, const QString& path, const DefinitionIndex& index)
{
    for (const xml::Node& child : node.childNodes()) {
        if (child.nodeType() != xml::NodeType::Element)
            continue;
        const QString childPath = path.isEmpty() ? child.nodeName() : path + QLatin1Char('/') + child.nodeName();
        refreshChildren(child, childPath, index);
        refreshAttributes(child, index.value(childPath));
    }
}

} // namespace

QString definitionFilePath()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"));
}

QString transformFilePath()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/TransformSPLR4.xml"));
}

xml::Document requireDefinitionDocument()
{
    xml::Document definition;
    if (!definition.load(definitionFilePath()))
        throw editorError(QStringLiteral("The definition file %1 cannot be read: %2")
                              .arg(definitionFilePath(), definition.parseError().reason));
    return definition;
}

void UpdateConstraintsFromTemplate(const xml::Node& node, const xml::Document& definition)
{
    try {
        DefinitionIndex index;
        indexDefinition(definition.asNode(), QString(), index);
        refreshChildren(node, elementPath(node), index);
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("UpdateConstraintsFromTemplate"));
    }
}

} // namespace veldra
