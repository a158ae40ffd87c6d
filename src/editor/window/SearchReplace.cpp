// Search and replace over the editor's tree: hits are marked yellow, the replace form
// rewrites the values of the elements behind the hits.

#include "editor/window/SearchReplace.h"

#include "app/log/Log.h"
#include "editor/document/EditorRoom.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <optional>

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

// Why the text a replacement would give the element is refused: its value check refuses it,
// or what it adds would make the document larger than the editor opens (`room`, which takes
// it otherwise); "" when it is made (or would not change the element).
QString replacementRefusal(const xml::Node& element, const QString& searchText, const QString& replacement, EditorRoom& room)
{
    if (hasElementChildren(element))
        return {};
    const QString text = element.text();
    const QString replaced = searchText.isEmpty() ? replacement : QString(text).replace(searchText, replacement);
    if (replaced == text)
        return {};
    if (const QString refusal = valueRefusal(element, element.nodeName(), replaced); !refusal.isEmpty())
        return refusal;
    const qint64 added = savedSizeOfText(replaced).bytes - savedSizeOfText(text).bytes;
    if (!room.take(DocumentSize{0, 0, std::max<qint64>(0, added)}))
        return QStringLiteral("the document would be larger than the editor opens (%1)").arg(EditorRoom::limitText());
    return {};
}

// The values the checks refused go to the log; with logging off, where the log would say
// nothing, a message box names the first ten of them.
void reportNotReplaced(const QStringList& skipped)
{
    if (!NoLogging) {
        ShowLogWindow(false);
        for (const QString& line : skipped)
            WriteLog(log_category::Warning, line);
        return;
    }
    constexpr qsizetype namedInTheBox = 10;
    QString text = QStringLiteral("%1 value(s) were left as they were:\r\n\r\n").arg(skipped.size())
        + skipped.mid(0, namedInTheBox).join(QStringLiteral("\r\n"));
    if (skipped.size() > namedInTheBox)
        text += QStringLiteral("\r\n...");
    ui::msgBox(text, ui::Buttons::OK, ui::Icon::Warning);
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
    // Cancel in either question ends the command with nothing marked or changed (an empty
    // answer given with OK still searches for the empty values).
    const std::optional<QString> asked = ui::backend().input(
        {QStringLiteral("Search for:"), QString(), ReplaceValue ? selectedValue(*this) : QString()});
    if (!asked)
        return;
    const QString searchText = *asked;
    QString replacement;
    if (ReplaceValue) {
        // An empty replacement is refused as Cancel is: values are replaced, not erased.
        replacement = ui::inputBox(QStringLiteral("Replace '") + searchText + QStringLiteral("' with:")).value_or(QString());
        if (replacement.isEmpty())
            return;
    }
    QStringList skipped;
    EditorRoom room = ReplaceValue && XMLDoc ? EditorRoom::leftBy(*XMLDoc) : EditorRoom();

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
                if (element.isNull())
                    return;
                // The element's own value check has the last word, as in the field dialog, and
                // the editor's limit; what they refuse stays as it was and is listed in the log.
                const QString refusal = replacementRefusal(element, searchText, replacement, room);
                if (!refusal.isEmpty()) {
                    skipped << QStringLiteral("Not replaced in ") + BuildXPathFromTreeView(node, QString())
                            + QStringLiteral(": ") + refusal;
                    return;
                }
                if (replaceInElementText(element, searchText, replacement))
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

    // Last, as showing the log or a message lets events through, which may close this window.
    if (!skipped.isEmpty())
        reportNotReplaced(skipped);
}

} // namespace veldra
