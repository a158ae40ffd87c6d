#include "editor/excel/ImportFromExcel.h"

#include "editor/tree/SelectionRequired.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/excel/clsExcelImport.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QPointer>

namespace veldra {

void ImportFromExcel(frmXMLEditor& editor)
{
    if (!editor.isSettingsMode() || !editor.XMLDoc || !selectionOrSay(*editor.TreeView))
        return;
    // The import asks questions while the window may close: the element's handle keeps
    // the document alive, and the window is touched again only while it exists.
    const QPointer<frmXMLEditor> window(&editor);
    clsExcelImport import;
    xml::Node element;
    try {
        element = editor.XMLDoc->selectSingleNode(BuildXPathFromTreeView(editor.TreeView->selectedNode(), SettingsMode));
        if (element.isNull())
            return;
        import.LoadFromExcelFile(element.nodeName(), element);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("ImportFromExcel")));
    }
    if (!window)
        return;
    if (import.DocumentChanged)
        window->Saved = false;
    window->RefreshXML(true);
    // The rebuilt tree keeps the element the import was started on selected, so the next
    // command (another import) finds it.
    selectImportedElement(*window->TreeView, element);
}

} // namespace veldra
