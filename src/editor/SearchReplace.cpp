// Search and replace over the editor's tree: hits are marked yellow, the replace form
// rewrites the values of the elements behind the hits.

#include "editor/SearchReplace.h"

#include "editor/TreePaths.h"
#include "editor/TreeView.h"
#include "editor/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

const QColor SearchHitColor(255, 255, 0);

bool isTextContent(const xml::Node& node)
{
    return node.nodeType() == xml::NodeType::Text || node.nodeType() == xml::NodeType::CData;
}

bool hasElementChildren(const xml::Node& element)
{
    for (const xml::Node& child : element.childNodes())
        if (child.nodeType() == xml::NodeType::Element)
            return true;
    return false;
}

bool replaceInTextNodes(const xml::Node& node, const QString& searchText, const QString& replacement)
{
    bool changed = false;
    for (const xml::Node& child : node.childNodes()) {
        if (isTextContent(child)) {
            const QString text = child.text();
            if (text.contains(searchText)) {
                child.setText(QString(text).replace(searchText, replacement));
                changed = true;
            }
        } else if (child.nodeType() == xml::NodeType::Element) {
            changed = replaceInTextNodes(child, searchText, replacement) || changed;
        }
    }
    return changed;
}

// The text the replace form offers to search for: the value of the selected element.
QString selectedValue(frmXMLEditor& editor)
{
    QString value;
    if (editor.XMLDoc)
        skip([&] { value = GetXMLValueFromTreeView(editor.TreeView->selectedNode(), *editor.XMLDoc); });
    return value;
}

} // namespace

bool isSearchHit(const QTreeWidgetItem* node, const QString& searchText, bool replaceForm)
{
    if (searchText.isEmpty())
        return node->childCount() == 0 && GetValueFromCaption(node).isEmpty();
    const QString tested = replaceForm ? GetValueFromCaption(node) : nodeCaption(node);
    return tested.toLower().contains(searchText.toLower());
}

bool replaceInElementText(const xml::Node& element, const QString& searchText, const QString& replacement)
{
    if (searchText.isEmpty()) {
        if (hasElementChildren(element) || element.text() == replacement)
            return false;
        element.setText(replacement);
        return true;
    }
    return replaceInTextNodes(element, searchText, replacement);
}

void frmXMLEditor::SearchNode(bool ReplaceValue)
{
    const QString searchText =
        ui::inputBox(QStringLiteral("Search for:"), QString(), ReplaceValue ? selectedValue(*this) : QString());
    QString replacement;
    if (ReplaceValue) {
        replacement = ui::inputBox(QStringLiteral("Replace '") + searchText + QStringLiteral("' with:"));
        if (replacement.isEmpty())
            return;
    }

    DrawRefresh(false);
    int hits = 0;
    QTreeWidgetItem* lastHit = nullptr;
    TreeView->forEachNode([&](QTreeWidgetItem* node) {
        setNodeBackColor(node, QColor(Qt::white));
        if (!isSearchHit(node, searchText, ReplaceValue))
            return;
        if (ReplaceValue && XMLDoc) {
            skip([&] {
                const xml::Node element = XMLDoc->selectSingleNode(BuildXPathFromTreeView(node, Mode));
                if (!element.isNull() && replaceInElementText(element, searchText, replacement))
                    Saved = false;
            });
        }
        setNodeBackColor(node, SearchHitColor);
        lastHit = node;
        ++hits;
    });
    if (lastHit)
        TreeView->selectNode(lastHit);
    DrawRefresh(true);

    if (hits == 0)
        ui::msgBox(QStringLiteral("No occurrences of Search String '") + searchText + QStringLiteral("' found."),
                   ui::Buttons::OK, ui::Icon::Warning);
    else if (ReplaceValue)
        RefreshXML(true);
}

} // namespace veldra
