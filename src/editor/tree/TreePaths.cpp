#include "editor/tree/TreePaths.h"

#include "app/window/Captions.h"
#include "editor/window/EditorErrors.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

#include <QTreeWidgetItem>

namespace veldra {

namespace {

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

QString idPredicate(const QTreeWidgetItem* node, const QString& mode)
{
    if (mode != SettingsMode)
        return {};
    const QString key = nodeKey(node);
    if (key.isEmpty())
        return {};
    // The id comes from the document's file, which may come from anyone: it is compared as one
    // text, so that quotes in it cannot make the query select other elements.
    const QString id = key.mid(key.lastIndexOf(QLatin1Char('_')) + 1);
    return QStringLiteral("[@Word2SPLID=") + xml::queryLiteral(id) + QLatin1Char(']');
}

} // namespace

QString BuildXPathFromTreeView(const QTreeWidgetItem* node, const QString& mode)
{
    try {
        if (!node)
            throw editorError(QStringLiteral("No tree node is selected."));
        QString path;
        for (; node->parent(); node = node->parent()) {
            const QString step = withoutBlanks(GetNamePart(nodeCaption(node))) + idPredicate(node, mode);
            path = path.isEmpty() ? step : step + QLatin1Char('/') + path;
        }
        const QString root = withoutBlanks(GetNamePart(nodeCaption(node)));
        return path.isEmpty() ? root : root + QLatin1Char('/') + path;
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("BuildXPathFromTreeView"));
    }
}

void BuildDOMNodePath(const xml::Node& node, QString& path)
{
    for (xml::Node current = node; !current.isNull(); current = current.parentNode()) {
        if (current.nodeType() == xml::NodeType::Document || current.parentNode().isNull())
            return;
        path = path.isEmpty() ? current.nodeName() : current.nodeName() + QLatin1Char('/') + path;
    }
}

QString elementPath(const xml::Node& node)
{
    QString path;
    BuildDOMNodePath(node, path);
    return path;
}

QString GetNodeNameFromCaption(const QTreeWidgetItem* node)
{
    const QString caption = nodeCaption(node);
    const qsizetype colon = caption.indexOf(QLatin1Char(':'));
    return withoutBlanks(colon < 0 ? caption : caption.left(colon));
}

QString GetValueFromCaption(const QTreeWidgetItem* node)
{
    const QString caption = nodeCaption(node);
    const qsizetype colon = caption.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : vbstr::trim(caption.mid(colon + 1));
}

QString GetXMLValueFromTreeView(const QTreeWidgetItem* node, const xml::Document& doc)
{
    try {
        const QString path = BuildXPathFromTreeView(node, SettingsMode);
        const xml::Node element = doc.selectSingleNode(path);
        if (element.isNull())
            throw editorError(QStringLiteral("The document has no element at %1.").arg(path));
        return element.text();
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("GetXMLValueFromTreeView"));
    }
}

QString GetNodeExample(const frmXMLEditor& editor, const QTreeWidgetItem* node)
{
    if (!editor.XMLDoc)
        return {};
    QString example;
    skip([&] { example = elementBehind(node, *editor.XMLDoc).getAttribute(QStringLiteral("ConstraintExample")); });
    return example;
}

xml::Node elementBehind(const QTreeWidgetItem* node, const xml::Document& doc)
{
    return doc.selectSingleNode(BuildXPathFromTreeView(node, SettingsMode));
}

QTreeWidgetItem* nodeOfElement(const EditorTreeView& tree, const xml::Node& element)
{
    return element.isNull() ? nullptr : tree.nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID")));
}

void selectImportedElement(EditorTreeView& tree, const xml::Node& element)
{
    QTreeWidgetItem* node = nodeOfElement(tree, element);
    if (!node)
        return;
    tree.selectNode(node);
    node->setExpanded(true);
}

} // namespace veldra
