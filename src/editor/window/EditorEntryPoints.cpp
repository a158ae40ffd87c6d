// The editor's entry points for the commands of the menus and keys. The editing commands
// work on settings documents only; a review window ("View") ignores them, and while another
// command works on the document (an import waiting in a prompt) they are refused.

#include "editor/window/frmXMLEditor.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "app/shared/ShellOpenNamed.h"
#include "app/log/frmLog.h"
#include "editor/window/EditorHooks.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/SelectionRequired.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"

#include <QTextCursor>
#include <QTextEdit>

namespace veldra {

void frmXMLEditor::CloneNode()
{
    if (!isSettingsMode() || !selectionOrSay(*TreeView))
        return;
    if (const std::optional<EditorCommandRunning> running = startEditorCommand(*this))
        CloneSPLR4Node(*this, *TreeView);
}

void frmXMLEditor::AddNode()
{
    if (!isSettingsMode() || !selectionOrSay(*TreeView))
        return;
    if (const std::optional<EditorCommandRunning> running = startEditorCommand(*this))
        AddSPLR4Node(*this, *TreeView);
}

void frmXMLEditor::DataEdit()
{
    if (!isSettingsMode() || !selectionOrSay(*TreeView))
        return;
    if (const std::optional<EditorCommandRunning> running = startEditorCommand(*this))
        EditNodeData(*this);
}

// The document element is never removed: Del on the root does nothing.
void frmXMLEditor::DeleteNode()
{
    if (!isSettingsMode() || !selectionOrSay(*TreeView) || !TreeView->selectedNode()->parent())
        return;
    if (const std::optional<EditorCommandRunning> running = startEditorCommand(*this))
        RemoveSPLR4Node(*this, *TreeView);
}

void frmXMLEditor::ReverseTransformNode()
{
    if (isSettingsMode() && editorHooks().ImportDataFromSPLFile && selectionOrSay(*TreeView)) {
        EditorCommandRunning running(*this);
        editorHooks().ImportDataFromSPLFile(this, TreeView);
    }
}

void frmXMLEditor::PreviewSPLQuick()
{
    if (editorHooks().PreviewSPLR4Document) {
        EditorCommandRunning running(*this);
        editorHooks().PreviewSPLR4Document(this);
    }
}

// Opens the folder of the document's file. A document never saved has no folder yet: the
// user is told so, rather than seeing nothing happen.
void frmXMLEditor::OpenContainingFolder()
{
    const QString folder = vbstr::folderOf(XMLFileName);
    if (folder.isEmpty()) {
        ui::msgBox(QStringLiteral("This settings document has not been saved yet, so it has no folder to open."
                                  "\r\n\r\nPlease save it first (Save Settings)."),
                   ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    ShellOpenNamedPath(folder + QLatin1Char('/'));
}

void frmXMLEditor::CopySelection()
{
    if (QTreeWidgetItem* selected = TreeView->selectedNode())
        ui::backend().setClipboardText(nodeCaption(selected));
}

// Writes the selected node's paths, without and with the element ids, into the log window,
// replacing its text (also when logging is off).
void frmXMLEditor::BuildDebugXPATH()
{
    QTreeWidgetItem* selected = TreeView->selectedNode();
    QString bare;
    QString withIds;
    skip([&] { bare = BuildXPathFromTreeView(selected, QString()); });
    skip([&] { withIds = BuildXPathFromTreeView(selected, SettingsMode); });

    ShowLogWindow(true);
    frmLog* log = &openLogWindow();
    log->txtLog->setPlainText(QStringLiteral("XPath: \n\n") + bare + QStringLiteral("\n\n") + withIds);
    QTextCursor cursor(log->txtLog->document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat black;
    black.setForeground(Qt::black);
    cursor.mergeCharFormat(black);
    cursor.clearSelection();
    log->txtLog->setTextCursor(cursor);
}

} // namespace veldra
