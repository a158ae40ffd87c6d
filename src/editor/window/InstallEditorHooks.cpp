#include "editor/window/InstallEditorHooks.h"

#include "app/Hooks.h"
#include "editor/tree/Reorder.h"
#include "editor/document/SettingsDocument.h"
#include "editor/tree/TreeView.h"
#include "editor/excel/ImportFromExcel.h"
#include "editor/window/frmXMLEditor.h"

namespace veldra {

namespace {

frmXMLEditor* editorOf(QWidget* window)
{
    return qobject_cast<frmXMLEditor*>(window);
}

} // namespace

void installEditorHooks()
{
    Hooks& table = hooks();
    table.OpenSettingsDocument = [](const QString& path) { OpenSPLR4Document(path); };
    table.NewXMLEditor = []() -> QWidget* { return ShowNewXMLEditor(); };
    // The menu's "Create IDs and GUIDs": new ids are a change the user has to save.
    table.CreateGUIDs = [](QWidget* window) {
        if (frmXMLEditor* editor = editorOf(window); editor && CreateGUIDs(*editor))
            editor->Saved = false;
    };
    table.ReverseSortOrder = [](QWidget* window) {
        if (frmXMLEditor* editor = editorOf(window))
            ReverseSortOrder(*editor, *editor->TreeView);
    };
    table.ImportFromExcel = [](QPointer<QWidget> window) {
        if (frmXMLEditor* editor = editorOf(window))
            ImportFromExcel(*editor);
    };
}

} // namespace veldra
