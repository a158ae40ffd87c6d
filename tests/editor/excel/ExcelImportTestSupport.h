#pragma once

// Running the editor's Import from Excel in tests: a settings document made from the
// shipped definition, in an editor window with its tree, and the import started through
// the hook the main window's menu command calls.
#include "app/Hooks.h"
#include "editor/DefinitionTestFolder.h"
#include "editor/window/InstallEditorHooks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/xml/tree/Document.h"
#include "support/EditorTree.h"

#include <QStringList>

namespace veldra::test {

// Selects the node of the first element `query` names and runs the import on it.
inline void importAt(frmXMLEditor& editor, const QString& query)
{
    const xml::Node element = editor.XMLDoc->selectSingleNode(query);
    editor.TreeView->selectNode(editor.TreeView->nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID"))));
    installEditorHooks();
    hooks().ImportFromExcel(&editor);
}

// The texts of the nodes `query` selects, in document order.
inline QStringList textsAt(const xml::Node& start, const QString& query)
{
    QStringList texts;
    for (const xml::Node& node : start.selectNodes(query))
        texts << node.text();
    return texts;
}

inline QStringList childNames(const xml::Node& element)
{
    QStringList names;
    for (const xml::Node& child : element.childNodes())
        names << child.nodeName();
    return names;
}

} // namespace veldra::test
