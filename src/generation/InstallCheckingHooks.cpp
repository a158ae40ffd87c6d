#include "generation/InstallCheckingHooks.h"

#include "app/Hooks.h"
#include "editor/window/EditorHooks.h"
#include "generation/report/DocumentReport.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/validation/OnlineValidation.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/preview/PreviewSPLR4Document.h"
#include "generation/crosscheck/frmSPLCrossCheck.h"

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
    editor.PreviewSPLR4Document = [](QPointer<frmXMLEditor> window) { PreviewSPLR4Document(window); };
    editor.ImportDataFromSPLFile = [](QPointer<frmXMLEditor> window, QPointer<EditorTreeView> tree) {
        ImportDataFromSPLFile(window, tree);
    };
}

} // namespace veldra
