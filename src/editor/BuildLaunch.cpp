// The build command of the editor: asks for the SPL file and hands the document to the
// SPL generation subsystem.

#include "editor/frmXMLEditor.h"

#include "app/Log.h"
#include "app/RememberedFolders.h"
#include "editor/EditorHooks.h"
#include "editor/SettingsDocument.h"
#include "editor/SharedDialog.h"
#include "platform/core/Skip.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

// Asks for the SPL file to build, proposing the document id as its name. Empty on Cancel.
QString askForSPLFile(frmXMLEditor& editor)
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.dialogTitle = QStringLiteral("Build SPL File");
    dialog.cancelError = true;
    dialog.overwritePrompt = true;
    dialog.initDir = GetLastFolder(QStringLiteral("SPL"));
    dialog.filter = QStringLiteral("XML Files | *.xml");
    dialog.fileName = GetDocumentID(editor) + QStringLiteral(".xml");
    bool chosen = false;
    skip([&] { chosen = dialog.showSave(); });
    return chosen ? dialog.fileName : QString();
}

} // namespace

void frmXMLEditor::TransformSPL()
{
    if (!XMLDoc)
        return;
    EditorCommandRunning running(*this);
    const QString splFile = askForSPLFile(*this);
    if (splFile.isEmpty())
        return;
    RefreshXML(true);
    SaveLastFolder(QStringLiteral("SPL"), splFile);
    if (!editorHooks().TransformSPLR4ToSPL)
        return;
    // The build holds the document by a handle of its own, which keeps it alive whatever
    // happens to the window.
    const xml::Document settings = *XMLDoc;
    skip([&] { editorHooks().TransformSPLR4ToSPL(settings, splFile); });
    if (NoLogging)
        ui::msgBox(QStringLiteral("Build SPL completed, SPL File: \r\n\r\n") + splFile, ui::Buttons::OK,
                   ui::Icon::Information);
}

} // namespace veldra
