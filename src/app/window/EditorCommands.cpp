// The main window's menu commands that act on the current editor (SourceXMLEditor).
// With no current editor, or one that has closed, they do nothing and show nothing. Those on
// its settings document (menu_state::NeedsDocument) say so in a window that holds none.

#include "app/window/frmMain.h"

#include "app/EditorCommandRunning.h"
#include "app/EditorWindow.h"
#include "app/HookCall.h"
#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "app/shared/ShellOpenNamed.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

namespace veldra {

namespace {

// Runs one operation of the current editor, if there is one.
template <class Operation>
void onCurrentEditor(const frmMain& main, Operation operation)
{
    if (EditorWindow* editor = main.currentEditor())
        skip([&] { operation(*editor); });
}

// Runs one command of the current editor that lets events run over its document: held for
// its length, and refused while another one runs on the same document.
template <class Operation>
void commandOnCurrentEditor(const frmMain& main, Operation operation)
{
    EditorWindow* editor = main.currentEditor();
    if (!editor)
        return;
    const std::optional<EditorCommandRunning> running = startEditorCommand(*editor);
    if (running)
        skip([&] { operation(*editor); });
}

} // namespace

bool frmMain::refusesDocumentCommand(const QString& command) const
{
    EditorWindow* editor = currentEditor();
    if (!editor || editor->settingsDocument())
        return false;
    ui::msgBox(needsSettingsDocumentText(command), ui::Buttons::OK, ui::Icon::Warning);
    return true;
}

void frmMain::mnuSPLOpenFolder_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.OpenContainingFolder(); });
}

void frmMain::mnuSPLR4Search_Click()
{
    commandOnCurrentEditor(*this, [](EditorWindow& e) { e.SearchNode(false); });
}

void frmMain::mnuSPLR4Replace_Click()
{
    commandOnCurrentEditor(*this, [](EditorWindow& e) { e.SearchNode(true); });
}

void frmMain::MenuSPLR4QuickPreview_Click()
{
    commandOnCurrentEditor(*this, [](EditorWindow& e) { e.PreviewSPLQuick(); });
}

void frmMain::mnuSPLR4TransformSPL_Click()
{
    commandOnCurrentEditor(*this, [](EditorWindow& e) { e.TransformSPL(); });
}

void frmMain::mnuSPLR4EditNode_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.DataEdit(); });
}

void frmMain::mnuPopupSetColor_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.SetColor(); });
}

void frmMain::mnuSPLR4Clone_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.CloneNode(); });
}

void frmMain::mnuSPLR4AddNode_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.AddNode(); });
}

void frmMain::mnuSPLR4ReverseTransform_Click()
{
    commandOnCurrentEditor(*this, [](EditorWindow& e) { e.ReverseTransformNode(); });
}

void frmMain::mnuSPLR4CopySelection_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.CopySelection(); });
}

void frmMain::mnuSPLR4ExpandAll_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.TreeViewExpandAll(true); });
}

void frmMain::mnuSPLR4CollapseAll_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.TreeViewExpandAll(false); });
}

void frmMain::mnuSPLR4RemoveDataElement_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { e.DeleteNode(); });
}

void frmMain::mnuSPLR4PopupOpenFile_Click()
{
    onCurrentEditor(*this, [](EditorWindow& e) { ShellOpenNamedPath(e.selectedNodeValue()); });
}

void frmMain::mnuSPLR4PopupAnalyzeWordDocumentFormatting_Click()
{
    EditorWindow* editor = currentEditor();
    xml::Document* document = editor ? editor->settingsDocument() : nullptr;
    if (!document || !hooks().AnalyzeDocumentFormatting)
        return;
    const QString file = xml::textAt(*document, QStringLiteral("//WordDocument/File"));
    const QString sectionStyle = xml::textAt(*document, QStringLiteral("//WordDocument/SectionStyle"));
    const QString subSectionStyle = xml::textAt(*document, QStringLiteral("//WordDocument/SubSectionStyle"));
    const QString excerptStyle = xml::textAt(*document, QStringLiteral("//WordDocument/ExcerptStyle"));
    if (file.trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("No Word Document is entered in File, so there is nothing to analyze."), ui::Buttons::OK,
                   ui::Icon::Warning);
        return;
    }
    if (saidLogIsSwitchedOff(QStringLiteral("The results of the Word Document Formatting Analysis")))
        return;
    callHook(hooks().AnalyzeDocumentFormatting, file, sectionStyle, excerptStyle, subSectionStyle);
}

void frmMain::MoveRecentMajorChangesFirst()
{
    EditorWindow* editor = currentEditor();
    xml::Document* document = editor ? editor->settingsDocument() : nullptr;
    if (!document)
        return;
    const xml::Node recent = document->selectSingleNode(
        QStringLiteral("/SPLR4/ProductLabel/DocumentSections/Section[SectionTitle='RECENT MAJOR CHANGES']"));
    if (recent.isNull())
        return;
    const xml::Node sections = document->selectSingleNode(QStringLiteral("/SPLR4/ProductLabel/DocumentSections"));
    sections.insertBefore(recent, sections.selectSingleNode(QStringLiteral("Section")));
}

void frmMain::mnuPopUpChangeSortOrder_Click()
{
    commandOnCurrentEditor(*this, [this](EditorWindow&) { callHook(hooks().ReverseSortOrder, SourceXMLEditor.data()); });
}

void frmMain::mnuPopupCreateIDGUIDs_Click()
{
    commandOnCurrentEditor(*this, [this](EditorWindow&) { callHook(hooks().CreateGUIDs, SourceXMLEditor.data()); });
}

void frmMain::mnuSPLR4ImportFromExcel_Click()
{
    commandOnCurrentEditor(*this, [this](EditorWindow&) { callHook(hooks().ImportFromExcel, SourceXMLEditor); });
}

void frmMain::mnuSPLR4ImportProductLabel_Click()
{
    const QPointer<QWidget> window = SourceXMLEditor;
    EditorWindow* editor = asEditor(window);
    xml::Document* document = editor ? editor->settingsDocument() : nullptr;
    if (!document || !hooks().ImportProductLabelFromWord)
        return;
    const std::optional<EditorCommandRunning> running = startEditorCommand(*editor);
    if (!running)
        return;
    // The import asks its own question and marks the document changed only when it ran.
    callHook(hooks().ImportProductLabelFromWord, window, *document);
}

// The editor is held from the first question on, so the numbering goes into the document it
// was chosen for; Cancel in either question ends the command.
void frmMain::mnuSPLR4ProductLabelAddSectionNumbers_Click()
{
    EditorWindow* editor = currentEditor();
    xml::Document* document = editor ? editor->settingsDocument() : nullptr;
    if (!document || !hooks().ProductLabelAddSectionNumbers)
        return;
    const std::optional<EditorCommandRunning> running = startEditorCommand(*editor);
    if (!running)
        return;
    const std::optional<QString> separator =
        ui::inputBox(QStringLiteral("Please enter the separator you wish to add after the section Number"));
    if (!separator)
        return;
    if (ui::msgBox(QStringLiteral("Are you sure you want to add Section Numbers to Product Label?"),
                   ui::Buttons::YesNo, ui::Icon::Question) != ui::Answer::Yes)
        return;
    const LoggedProblemsSince problems;
    callHook(hooks().ProductLabelAddSectionNumbers, *document, *separator);
    skip([&] { editor->RefreshXML(true); });
    skip([&] { editor->setSaved(false); });
    // The sections it passed over, and a numbering that failed on its way, are told in the log
    // alone; with logging off they are said here (running it again would number twice).
    const LoggedProblems found = problems.count();
    if (NoLogging && found.any())
        ui::msgBox(QStringLiteral("The numbering found %1: a section or subsection without a title is not numbered, "
                                  "and a failure ends the numbering where it stood. The log, which is switched off, "
                                  "does not list them.")
                       .arg(found.summary()),
                   ui::Buttons::OK, ui::Icon::Warning);
}

void frmMain::mnuFileAddLOINCCodes_Click()
{
    addLoincCodesToCurrentEditor();
}

void frmMain::mnuSPLR4AddLOINCCodesToProductLabel_Click()
{
    addLoincCodesToCurrentEditor();
}

void frmMain::addLoincCodesToCurrentEditor()
{
    EditorWindow* editor = currentEditor();
    xml::Document* document = editor ? editor->settingsDocument() : nullptr;
    if (!document || !hooks().ProcessLoincCodes)
        return;
    const std::optional<EditorCommandRunning> running = startEditorCommand(*editor);
    if (!running)
        return;
    AddLOINCCodes(*document);
    // The pass changed the document in place: the window shows the change and
    // counts it as unsaved.
    skip([&] { editor->setSaved(false); });
    skip([&] { editor->RefreshXML(true); });
}

} // namespace veldra
