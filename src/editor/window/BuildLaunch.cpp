// The build command of the editor: asks for the SPL file and hands the document to the
// SPL generation subsystem.

#include "editor/window/frmXMLEditor.h"

#include "app/log/Log.h"
#include "app/window/RememberedFolders.h"
#include "editor/window/EditorHooks.h"
#include "editor/document/SettingsDocument.h"
#include "editor/window/SharedDialog.h"
#include "platform/core/Skip.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QFileInfo>

namespace veldra {

namespace {

// The folder the build's save dialog starts in: the folder of the last build, else the
// settings document's own folder (never the folder the program happened to be started in).
QString startFolder(const frmXMLEditor& editor)
{
    QString folder;
    skip([&] { folder = GetLastFolder(QStringLiteral("SPL")); });
    if (folder.isEmpty() && !editor.XMLFileName.isEmpty())
        folder = QFileInfo(editor.XMLFileName).absolutePath();
    return folder;
}

// Asks for the SPL file to build, proposing the document id as its name. Empty on Cancel.
QString askForSPLFile(frmXMLEditor& editor)
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.cancelError = true;
    dialog.overwritePrompt = true;
    dialog.initDir = startFolder(editor);
    dialog.prepareFile(QStringLiteral("Build SPL File"), QStringLiteral("XML Files | *.xml"),
                       GetDocumentID(editor) + QStringLiteral(".xml"));
    bool chosen = false;
    skip([&] { chosen = dialog.showSave(); });
    return chosen ? dialog.fileName : QString();
}

// The closing message of a build that wrote its file: with logging off it is the only report,
// so it says what the log would have: that the file is not valid, that pictures are missing,
// and how many warnings and errors there were.
QString completionMessage(const QString& splFile, const BuildOutcome& outcome)
{
    QString text = QStringLiteral("Build SPL completed, SPL File: \r\n\r\n") + splFile;
    if (!outcome.problems.any())
        return text;
    text += QStringLiteral("\r\n");
    if (outcome.invalid)
        text += QStringLiteral("\r\nThe SPL File is not valid against the FDA SPL Schema.");
    if (outcome.missingPictures > 0)
        text += QStringLiteral("\r\n%1 picture file(s) that the SPL File refers to are not beside it.")
                    .arg(outcome.missingPictures);
    return text + QStringLiteral("\r\n") + outcome.problems.sentence(QStringLiteral("build"));
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
    BuildOutcome outcome;
    skip([&] { outcome = editorHooks().TransformSPLR4ToSPL(settings, splFile); });
    // With logging off the log says nothing, so the outcome is told here: completion only when
    // the file was written, else the failure the log would have shown. A build refused while
    // another runs has said so already.
    if (!NoLogging)
        return;
    if (outcome.written)
        ui::msgBox(completionMessage(splFile, outcome), ui::Buttons::OK,
                   outcome.problems.any() ? ui::Icon::Warning : ui::Icon::Information);
    else if (!outcome.failure.isEmpty())
        ui::msgBox(outcome.failure, ui::Buttons::OK, ui::Icon::Critical);
}

} // namespace veldra
