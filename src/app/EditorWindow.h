#pragma once

#include <QString>
#include <QWidget>

namespace veldra {

namespace xml {
class Document;
}

// What the main window's commands ask of a tree-editor window. The editor window
// (a QWidget in the main window's MDI area) implements it; the main window holds
// editors as QWidget pointers and reaches them through this interface, so the
// application core builds without the editor.
//
// A window refuses to close (QWidget::close() returns false) when its own save
// question ends with the document not saved; the exit then stops. A closed editor
// window is deleted (its MDI frame deletes it), which empties the main window's
// reference to it.
class EditorWindow {
public:
    virtual ~EditorWindow() = default;

    // The settings document; nullptr in mode "View" and when nothing is loaded.
    virtual xml::Document* settingsDocument() = 0;
    // The window's Saved flag (false marks unsaved changes).
    virtual void setSaved(bool saved) = 0;
    // True when the window holds a settings document with changes not saved yet, that is
    // when closing it asks whether to save them.
    virtual bool hasUnsavedChanges() = 0;
    // "SPLR4" (settings document) or "View" (read-only review of any XML file).
    virtual void setMode(const QString& mode) = 0;

    // Loads a file into the window's own tree (Action "SPLR4" or "View"). A file that does not
    // open is reported, and the window closes, giving the current editor back to the one that
    // was current before it opened; returns false then.
    virtual bool XMLOnTreeView(const QString& XMLFile, const QString& Action, bool UpdateConstraintsFromTemplate) = 0;
    // Rebuilds the whole tree from the document.
    virtual void RefreshXML(bool KeepColor) = 0;
    // The text of the element behind the selected tree node (empty when none).
    virtual QString selectedNodeValue() = 0;

    virtual void PreviewSPLQuick() = 0;
    virtual void OpenContainingFolder() = 0;
    virtual void CloneNode() = 0;
    virtual void ReverseTransformNode() = 0;
    virtual void AddNode() = 0;
    virtual void CopySelection() = 0;
    virtual void DataEdit() = 0;
    virtual void DeleteNode() = 0;
    // Returns true when the document was written.
    virtual bool SaveXMLDoc(bool SaveAs) = 0;
    virtual void SearchNode(bool ReplaceValue) = 0;
    virtual void SetColor() = 0;
    virtual void TransformSPL() = 0;
    virtual void TreeViewExpandAll(bool Expand) = 0;

    // True while a command holds the window (EditorCommandRunning.h): it then refuses to
    // close, and refuses a second command the user starts on its document.
    bool commandRunning() const { return commandsRunning_ > 0; }

private:
    friend class EditorCommandRunning;
    int commandsRunning_ = 0;
};

// What a command on the settings document says in an editor window that holds none, as a
// review window does: "<command> needs a Settings Document; this window shows an XML file for
// review only."
inline QString needsSettingsDocumentText(const QString& command)
{
    return command + QStringLiteral(" needs a Settings Document; this window shows an XML file for review only.");
}

// The editor behind a window, or nullptr when the window is none (or is gone).
inline EditorWindow* asEditor(QWidget* window)
{
    return dynamic_cast<EditorWindow*>(window);
}

} // namespace veldra
