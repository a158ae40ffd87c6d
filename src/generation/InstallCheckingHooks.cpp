#include "generation/InstallCheckingHooks.h"

#include "app/Hooks.h"
#include "editor/EditorHooks.h"
#include "generation/DocumentReport.h"
#include "generation/ImportDataFromSPLFile.h"
#include "generation/OnlineValidation.h"
#include "generation/PreviewSPLFile.h"
#include "generation/PreviewSPLR4Document.h"
#include "generation/frmSPLCrossCheck.h"

namespace veldra {

void installCheckingHooks()
{
    Hooks& table = hooks();
    table.PreviewSPLFile = [] { PreviewSPLFile(); };
    table.CreateDocumentReport = [](const QString& path) {
        QString reportPath = path;
        CreateDocumentReport(reportPath);
    };
    table.ValidateOnline = [] { ValidateOnline(); };
    table.NewSPLCrossCheckForm = []() -> QWidget* { return new frmSPLCrossCheck; };

    EditorHooks& editor = editorHooks();
    editor.PreviewSPLR4Document = [](frmXMLEditor& window) { PreviewSPLR4Document(window); };
    editor.ImportDataFromSPLFile = [](frmXMLEditor& window, EditorTreeView& tree) { ImportDataFromSPLFile(window, tree); };
}

} // namespace veldra
