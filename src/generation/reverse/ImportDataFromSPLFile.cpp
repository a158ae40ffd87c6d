#include "generation/reverse/ImportDataFromSPLFile.h"

#include "app/log/Log.h"
#include "editor/document/NodeRules.h"
#include "editor/window/SharedDialog.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "generation/FileDialogChoice.h"
#include "editor/document/EditorRoom.h"
#include "generation/reverse/ImportImages.h"
#include "generation/reverse/ImportRoom.h"
#include "generation/reverse/ProductDataNotHeld.h"
#include "generation/reverse/ReverseTransform.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

const QString Source = QStringLiteral("ImportDataFromSPLFile");

// Loads a file of the run; a file that cannot be loaded fails the run with its reason.
xml::Document loadOrFail(const QString& path, const xml::LoadOptions& options = {})
{
    xml::Document document;
    if (!document.load(path, options)) {
        const xml::ParseError& error = document.parseError();
        QString reason = error.reason;
        if (error.line > 0)
            reason += QStringLiteral(" (line %1)").arg(error.line);
        throw VbError(error.errorCode, Source, QStringLiteral("Cannot load %1: %2").arg(path, reason));
    }
    return document;
}

QString editorClosed()
{
    return QStringLiteral("The editor window was closed; nothing was imported.");
}

// With logging off the log cannot tell why nothing was imported: a message box does.
void logFailure(const QString& reason)
{
    const QString failed = QStringLiteral("Reverse Transform from existing SPL File failed.");
    WriteLog(log_category::Error, reason);
    WriteLog(log_category::Error, failed);
    if (NoLogging)
        ui::msgBox(reason + QStringLiteral("\r\n\r\n") + failed, ui::Buttons::OK, ui::Icon::Critical);
}

[[noreturn]] void refuseNoData(const QString& path)
{
    throw VbError(err::XmlNode, Source,
                  QStringLiteral("The SPL File holds no data for %1; the element is left as it was.").arg(path));
}

// Fills the definition element at the path of `settingsElement` from the SPL file and prunes
// it. Refused when the element's own entry finds no group in the file (a file of another kind,
// or a product that is not in it) or nothing is left, and when the result would not fit where
// `settingsElement` stands.
xml::Node filledElement(const xml::Node& settingsElement, const xml::Document& definition, const xml::Document& spl,
                        const xml::Document& transformation)
{
    const QString path = elementPath(settingsElement);
    xml::Node workElement = definition.selectSingleNode(path);
    if (workElement.isNull())
        throw VbError(err::XmlNode, Source, QStringLiteral("The definition document has no element at %1.").arg(path));
    const xml::Node definitionElement = workElement;
    EditorRoom buildRoom = EditorRoom::leftReplacing(settingsElement);
    EditorRoom importRoom = buildRoom;
    UserSelection.clear();
    ReverseTransformRecurse(workElement, definition, spl, transformation, buildRoom);
    // The element's own entry puts a filled copy in the definition element's place for each
    // group it finds: without one the definition template would replace the element.
    if (workElement == definitionElement)
        refuseNoData(path);
    RemoveEmptyNodes(workElement);
    if (workElement.text().isEmpty())
        refuseNoData(path);
    takeImportRoom(importRoom, importedSizeOf(workElement), reverseEntryName(path, transformation));
    return workElement;
}

// The settings element's handle keeps its document alive while the log lets events run; the
// editor is only touched again when it is still open.
void importInto(const QPointer<frmXMLEditor>& editor, const xml::Node& settingsElement, const QString& splFile)
{
    ShowLogWindow(true);
    WriteLog(log_category::Information, QStringLiteral("Starting Import from SPL File: ") + splFile);
    WriteLog(log_category::Information, QStringLiteral("Loading Source SPL File"));
    const xml::Document spl = loadOrFail(splFile, xml::OutsideFile);
    WriteLog(log_category::Information, QStringLiteral("Loading Template Application File"));
    const xml::Document definition =
        loadOrFail(app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")));
    WriteLog(log_category::Information, QStringLiteral("Loading Transformation Application File"));
    const xml::Document transformation =
        loadOrFail(app_paths::inProgram(QStringLiteral("SPLR4Definitions/TransformSPLR4.xml")));

    const QString path = elementPath(settingsElement);
    const xml::Node workElement = filledElement(settingsElement, definition, spl, transformation);
    if (!editor)
        throw VbError(err::XmlNode, Source, editorClosed());
    const xml::Document settings = settingsElement.ownerDocument();
    const xml::Node imported = settings.importNode(workElement, true);
    settingsElement.parentNode().replaceChild(imported, settingsElement);
    CopyImportedImages(imported, settings, splFile);
    LogProductDataNotHeld(spl, UserSelection, path);

    WriteLog(logSeparator(), QString());
    WriteLog(log_category::Information, QStringLiteral("Import from SPL File completed: ") + splFile);
    // The import is a change of the document like any structural command: closing the
    // window must not drop it without the save question. The element took the place of the
    // one the import was started on, and is where the user goes on working.
    if (editor) {
        editor->Saved = false;
        editor->RefreshXML(false);
        selectImportedElement(*editor->TreeView, imported);
    }
}

} // namespace

void ImportDataFromSPLFile(QPointer<frmXMLEditor> editor, QPointer<EditorTreeView> treeView)
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.prepareFile(QStringLiteral("Import Data from Existing SPL File"),
                       QStringLiteral("Existing SPL File (XML) | *.xml"));
    if (!editor || !treeView || !chooseFileToOpen(dialog))
        return;
    const QString splFile = dialog.fileName;
    try {
        if (!editor || !treeView)
            throw VbError(err::XmlNode, Source, editorClosed());
        // The tree node is read before the question: the question lets events run, and the
        // tree may be rebuilt or closed meanwhile.
        QTreeWidgetItem* node = treeView->selectedNode();
        const QString caption = nodeCaption(node);
        if (!CanReverseTransformNode(node)) {
            ui::msgBox(QStringLiteral("Data cannot be imported for: '") + caption + QLatin1Char('\''), ui::Buttons::OK,
                       ui::Icon::Warning);
            return;
        }
        const QString path = BuildXPathFromTreeView(node, SettingsMode);
        if (ui::msgBox(QStringLiteral("Are you sure you want to import data for '") + caption
                           + QStringLiteral("' from SPL File:\r\n") + splFile,
                       ui::Buttons::YesNo, ui::Icon::Question)
            != ui::Answer::Yes)
            return;
        if (!editor)
            throw VbError(err::XmlNode, Source, editorClosed());
        if (!editor->XMLDoc)
            throw VbError(err::XmlNode, Source, QStringLiteral("The window holds no settings document."));
        const xml::Node settingsElement = editor->XMLDoc->selectSingleNode(path);
        if (settingsElement.isNull())
            throw VbError(err::XmlNode, Source, QStringLiteral("The document has no element for '%1'.").arg(caption));
        importInto(editor, settingsElement, splFile);
    } catch (const ReverseTransformCancelled&) {
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Information, QStringLiteral("Import from SPL File cancelled: ") + splFile);
    } catch (const ReverseTransformRefused& refused) {
        logFailure(refused.reason);
    } catch (const std::exception& e) {
        logFailure(toVbError(e, Source).text());
    }
}

} // namespace veldra
