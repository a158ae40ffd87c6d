#include "app/window/RememberedFolders.h"
#include "app/window/WebAddresses.h"
#include "app/log/Log.h"
#include "app/window/frmAbout.h"
#include "app/window/frmMain.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/QtBackend.h"
#include "platform/xml/tree/Document.h"
#include "support/ScriptedUi.h"
#include "support/StandInOpener.h"
#include "support/TempDir.h"
#include "support/XmlDocument.h"
#include "app/MainWindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

class MainCommandsTest : public ::testing::Test {
protected:
    // An editor window holding a settings document.
    test::FakeEditor* openEditor()
    {
        auto* editor = new test::FakeEditor(&document);
        main.mdiArea()->addSubWindow(editor)->show();
        main.SourceXMLEditor = editor;
        return editor;
    }

    QList<QAction*> editorCommands() const
    {
        return {main.mnuSPLOpenFolder, main.mnuSPLR4Search, main.mnuSPLR4Replace, main.MenuSPLR4QuickPreview,
                main.mnuSPLR4TransformSPL, main.mnuSPLR4EditNode, main.mnuPopupSetColor, main.mnuSPLR4Clone,
                main.mnuSPLR4AddNode, main.mnuSPLR4ReverseTransform, main.mnuSPLR4CopySelection,
                main.mnuSPLR4ExpandAll, main.mnuSPLR4CollapseAll, main.mnuSPLR4RemoveDataElement,
                main.mnuSPLR4PopupOpenFile, main.mnuPopUpChangeSortOrder, main.mnuPopupCreateIDGUIDs,
                main.mnuSPLR4ImportFromExcel, main.mnuSPLR4ImportProductLabel,
                main.mnuSPLR4ProductLabelAddSectionNumbers, main.mnuSPLR4AddLOINCCodesToProductLabel,
                main.mnuFileAddLOINCCodes, main.mnuSPLR4PopupAnalyzeWordDocumentFormatting, main.mnuDebugProcess,
                main.mnuSaveSPLR4, main.mnuSaveSPLR4As};
    }

    xml::Document document = test::documentFrom(QStringLiteral("<SPLR4/>"));
    test::HookTableScope hooksScope;
    test::SettingsStoreScope settingsScope;
    test::ScriptedUi ui;
    frmMain main;
};

} // namespace

TEST_F(MainCommandsTest, EditorCommandsReachTheCurrentEditor)
{
    QStringList viaHooks;
    hooks().ReverseSortOrder = [&](QWidget* e) { viaHooks << "ReverseSortOrder" << e->objectName(); };
    hooks().CreateGUIDs = [&](QWidget* e) { viaHooks << "CreateGUIDs" << e->objectName(); };
    hooks().ImportFromExcel = [&](QPointer<QWidget> e) { viaHooks << "ImportFromExcel" << e->objectName(); };
    test::FakeEditor* editor = openEditor();
    editor->setObjectName(QStringLiteral("editor"));
    const test::TempDir dir;
    editor->nodeValue = dir.file(QStringLiteral("carton.jpg"));
    test::writeTextFile(editor->nodeValue, QStringLiteral("picture"));

    for (QAction* command : {main.mnuSPLOpenFolder, main.mnuSPLR4Search, main.mnuSPLR4Replace,
                             main.MenuSPLR4QuickPreview, main.mnuSPLR4TransformSPL, main.mnuSPLR4EditNode,
                             main.mnuPopupSetColor, main.mnuSPLR4Clone, main.mnuSPLR4AddNode,
                             main.mnuSPLR4ReverseTransform, main.mnuSPLR4CopySelection, main.mnuSPLR4ExpandAll,
                             main.mnuSPLR4CollapseAll, main.mnuSPLR4RemoveDataElement, main.mnuSPLR4PopupOpenFile,
                             main.mnuPopUpChangeSortOrder, main.mnuPopupCreateIDGUIDs, main.mnuSPLR4ImportFromExcel})
        command->trigger();

    EXPECT_EQ(editor->calls, QStringList({"OpenContainingFolder", "SearchNode(0)", "SearchNode(1)", "PreviewSPLQuick",
                                          "TransformSPL", "DataEdit", "SetColor", "CloneNode", "AddNode",
                                          "ReverseTransformNode", "CopySelection", "TreeViewExpandAll(1)",
                                          "TreeViewExpandAll(0)", "DeleteNode"}));
    EXPECT_EQ(ui.opened, QStringList({editor->nodeValue}));
    EXPECT_EQ(viaHooks, QStringList({"ReverseSortOrder", "editor", "CreateGUIDs", "editor", "ImportFromExcel", "editor"}));
}

TEST_F(MainCommandsTest, EditorCommandsWithoutAnEditorOrAfterItClosedDoNothing)
{
    int hookCalls = 0;
    hooks().ReverseSortOrder = [&](QWidget*) { ++hookCalls; };
    hooks().CreateGUIDs = [&](QWidget*) { ++hookCalls; };
    hooks().ImportFromExcel = [&](QPointer<QWidget>) { ++hookCalls; };
    hooks().ProductLabelAddSectionNumbers = [&](xml::Document, const QString&) { ++hookCalls; };
    hooks().ProcessLoincCodes = [&](xml::Document) { return ++hookCalls > 0; };
    hooks().ImportProductLabelFromWord = [&](QPointer<QWidget>, xml::Document) { ++hookCalls; };
    hooks().AnalyzeDocumentFormatting = [&](const QString&, const QString&, const QString&, const QString&) {
        ++hookCalls;
    };

    for (QAction* command : editorCommands())
        command->trigger();

    QPointer<test::FakeEditor> editor = openEditor();
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(editor.isNull());
    for (QAction* command : editorCommands())
        command->trigger();

    EXPECT_EQ(hookCalls, 0);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.inputRequests.isEmpty());
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_TRUE(ui.opened.isEmpty());
}

// With the log, a preview or the review in front, Save (Ctrl+S) and Save As save the document
// that Build and the other document commands work on.
TEST_F(MainCommandsTest, SaveActsOnTheCurrentEditorWhateverWindowIsInFront)
{
    test::FakeEditor* editor = openEditor();
    auto* log = new QWidget;
    QMdiSubWindow* logFrame = main.mdiArea()->addSubWindow(log);
    logFrame->show();
    main.mdiArea()->setActiveSubWindow(logFrame);
    QWidget preview;
    preview.show();
    preview.activateWindow();
    EXPECT_EQ(main.mnuSaveSPLR4->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    main.mnuSaveSPLR4->trigger();
    main.mnuSaveSPLR4As->trigger();
    main.mnuSPLR4TransformSPL->trigger();

    EXPECT_EQ(editor->calls, QStringList({"SaveXMLDoc(0)", "SaveXMLDoc(1)", "TransformSPL"}));
}

TEST_F(MainCommandsTest, AnEditorBroughtToTheFrontBecomesTheOneTheCommandsActOn)
{
    test::FakeEditor* first = openEditor();
    test::FakeEditor* second = openEditor();
    main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    QMdiSubWindow* logFrame = main.mdiArea()->addSubWindow(new QWidget);
    logFrame->show();
    main.mdiArea()->setActiveSubWindow(logFrame);

    main.mnuSaveSPLR4->trigger();
    main.mnuSPLR4TransformSPL->trigger();

    EXPECT_EQ(first->calls, QStringList({"SaveXMLDoc(0)", "TransformSPL"}));
    EXPECT_TRUE(second->calls.isEmpty());
}

TEST_F(MainCommandsTest, OpenRemembersTheFolderOfTheChosenDocument)
{
    QStringList opened;
    hooks().OpenSettingsDocument = [&](const QString& path) { opened << path; };
    SaveLastFolder(QStringLiteral("Settings"), QStringLiteral("/work/labels/old.xml"));

    main.mnuOpenSPLR4->trigger();  // Cancel
    EXPECT_EQ(GetLastFolder(QStringLiteral("Settings")), QStringLiteral("/work/labels"));
    EXPECT_TRUE(opened.isEmpty());

    ui.openFiles.push_back(QStringLiteral("/work/new/label.xml"));
    main.mnuOpenSPLR4->trigger();
    ASSERT_EQ(ui.fileRequests.size(), 2);
    const ui::FileRequest& request = ui.fileRequests.at(1);
    EXPECT_EQ(request.title, QStringLiteral("Open Settings File"));
    EXPECT_EQ(request.filter, QStringLiteral("XML Files (*.xml)"));
    EXPECT_EQ(request.initialFolder, QStringLiteral("/work/labels"));
    EXPECT_TRUE(request.fileName.isEmpty());
    EXPECT_EQ(opened, QStringList({"/work/new/label.xml"}));
    EXPECT_EQ(GetLastFolder(QStringLiteral("Settings")), QStringLiteral("/work/new"));

    main.mnuNewSPLR4->trigger();
    EXPECT_EQ(opened, QStringList({"/work/new/label.xml", ""}));
}

TEST_F(MainCommandsTest, SaveLogAsksForAnRtfFileAndWritesIt)
{
    const bool before = NoLogging;
    NoLogging = false;
    test::TempDir dir;
    WriteLog(QStringLiteral("Information"), QStringLiteral("Build completed"));
    main.Dialog.fileName = QStringLiteral("left over.xml");
    ui.saveFiles.push_back(dir.file(QStringLiteral("log.rtf")));

    main.mnuFileSaveLog->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests.at(0).title, QStringLiteral("Save Information to RTF File"));
    EXPECT_EQ(ui.fileRequests.at(0).filter, ui::CommonDialog::toQtFilter("Rich Text Format (*.rtf) | *.rtf"));
    EXPECT_TRUE(ui.fileRequests.at(0).fileName.isEmpty());
    EXPECT_TRUE(ui.fileRequests.at(0).overwritePrompt);
    EXPECT_GT(QFileInfo(dir.file(QStringLiteral("log.rtf"))).size(), 0);
    NoLogging = before;
}

TEST_F(MainCommandsTest, CommandsOfLaterSubsystemsGoThroughTheirHooks)
{
    QStringList calls;
    hooks().PreviewSPLFile = [&] { calls << "PreviewSPLFile"; };
    hooks().CreateEmptyProductLabelTemplate = [&] { calls << "CreateEmptyProductLabelTemplate"; };
    hooks().ValidateOnline = [&] { calls << "ValidateOnline"; };
    hooks().CreateDocumentReport = [&](const QString& path) { calls << "CreateDocumentReport " + path; };
    hooks().LoadSettingsFile = [&](const QString& path) { calls << "LoadSettingsFile " + path; };
    hooks().SaveSettingsFile = [&](const QString& path) { calls << "SaveSettingsFile " + path; };
    ui.saveFiles.push_back(QStringLiteral("/reports/label.html"));
    ui.openFiles.push_back(QStringLiteral("/setups/a.xml"));
    ui.saveFiles.push_back(QStringLiteral("/setups/b.xml"));
    openEditor();  // the report is of the current editor's document

    main.mnuSPLR4Preview->trigger();
    main.mnuFileCreateWordLabelTemplate->trigger();
    main.mnuSPLValidate->trigger();
    main.mnuSPLR4CreateDocumentReport->trigger();
    main.mnuFileLoadSettings->trigger();
    main.mnuFileSaveSettings->trigger();
    main.mnuSPLR4CreateDocumentReport->trigger();  // Cancel

    EXPECT_EQ(calls, QStringList({"PreviewSPLFile", "CreateEmptyProductLabelTemplate", "ValidateOnline",
                                  "CreateDocumentReport /reports/label.html", "LoadSettingsFile /setups/a.xml",
                                  "SaveSettingsFile /setups/b.xml"}));
    EXPECT_EQ(ui.fileRequests.at(0).filter, QStringLiteral("HTML Files (*.html)"));
    EXPECT_TRUE(ui.fileRequests.at(0).overwritePrompt);
    EXPECT_EQ(ui.fileRequests.at(1).filter, ui::CommonDialog::toQtFilter("XML Files (*.xml) | *.xml"));
}

TEST_F(MainCommandsTest, HelpOpensTheManualAndTheOutsidePages)
{
    test::ProgramFolderCopy folder;
    for (QAction* command : {main.mnuHelpUserManual, main.mnuVeldra, main.mnuHelpDailyMed, main.mnuHelpSPLOnlineValidator})
        command->trigger();
    ASSERT_EQ(ui.opened.size(), 4);
    EXPECT_EQ(ui.opened.at(0), app_paths::inProgram(QStringLiteral("Help/Help.html")));
    EXPECT_TRUE(QFileInfo::exists(ui.opened.at(0)));
    EXPECT_EQ(ui.opened.mid(1), QStringList({web::FdaSplResources, web::DailyMed, web::SplOnlineValidator}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

// The real desktop seam, with the messages it would show recorded instead.
class DesktopWithRecordedMessages : public ui::QtBackend {
public:
    DesktopWithRecordedMessages() : previous_(&ui::backend()) { ui::setBackend(this); }
    ~DesktopWithRecordedMessages() override { ui::setBackend(previous_); }
    ui::Answer message(const ui::MessageRequest& request) override
    {
        messages << request;
        return ui::Answer::OK;
    }
    QList<ui::MessageRequest> messages;

private:
    ui::Backend* previous_;
};

// A desktop opener that starts but finds no program for the address ("no method available")
// has not opened it: the manual (F1), each outside page (F2, F3, the validator) and the About
// box's Visit Website say which file or address could not be opened.
TEST_F(MainCommandsTest, WhatTheDesktopsOpenerCannotOpenIsNamed)
{
    test::ProgramFolderCopy folder;
    const test::StandInOpener opener(test::StandInOpener::noMethod());
    DesktopWithRecordedMessages desktop;
    frmAbout about;
    struct Page {
        std::function<void()> open;
        QKeySequence key;
        QString target;
    };
    const std::vector<Page> pages = {
        {[&] { main.mnuHelpUserManual->trigger(); }, QKeySequence(Qt::Key_F1),
         app_paths::inProgram(QStringLiteral("Help/Help.html"))},
        {[&] { main.mnuVeldra->trigger(); }, QKeySequence(Qt::Key_F2), web::FdaSplResources},
        {[&] { main.mnuHelpDailyMed->trigger(); }, QKeySequence(Qt::Key_F3), web::DailyMed},
        {[&] { main.mnuHelpSPLOnlineValidator->trigger(); }, main.mnuHelpSPLOnlineValidator->shortcut(),
         web::SplOnlineValidator},
        {[&] { about.cmdVisitWebSite->click(); }, {}, web::VeldraWebSite},
    };
    EXPECT_EQ(main.mnuHelpUserManual->shortcut(), pages.at(0).key);
    EXPECT_EQ(main.mnuVeldra->shortcut(), pages.at(1).key);
    EXPECT_EQ(main.mnuHelpDailyMed->shortcut(), pages.at(2).key);
    QStringList asked;
    for (const Page& page : pages) {
        SCOPED_TRACE(page.target.toStdString());
        desktop.messages.clear();
        page.open();
        asked << page.target;
        EXPECT_EQ(opener.asked(), asked);
        ASSERT_EQ(desktop.messages.size(), 1);
        EXPECT_TRUE(desktop.messages.at(0).text.contains(QStringLiteral("\r\n") + page.target + QStringLiteral("\r\n")));
        EXPECT_EQ(desktop.messages.at(0).icon, ui::Icon::Warning);
    }
}

// The tree's Open File/Folder on a value the desktop cannot open says what and why: an empty
// value or one of blanks only, a path where nothing is, a file or a folder the opener fails on.
TEST_F(MainCommandsTest, OpenFileOrFolderOfAValueSaysWhatCouldNotBeOpened)
{
    const test::StandInOpener opener(test::StandInOpener::noMethod());
    DesktopWithRecordedMessages desktop;
    const test::TempDir dir;
    test::writeTextFile(dir.file(QStringLiteral("Label.docx")), QStringLiteral("word"));
    test::FakeEditor* editor = openEditor();
    struct Row {
        QString value;
        bool offered;  // handed to the opener
        QString says;
    };
    const std::vector<Row> rows = {
        {QString(), false, QStringLiteral("No file or folder is entered here")},
        {QStringLiteral("   "), false, QStringLiteral("No file or folder is entered here")},
        {QStringLiteral("\t"), false, QStringLiteral("No file or folder is entered here")},
        {QStringLiteral("\r\n \t\n"), false, QStringLiteral("No file or folder is entered here")},
        {dir.file(QStringLiteral("gone/Label.docx")), false,
         QStringLiteral("There is no file or folder at this path:\r\n\r\n") + dir.file(QStringLiteral("gone/Label.docx"))},
        {dir.file(QStringLiteral("Label.docx")), true,
         QStringLiteral("no program to open this file:\r\n\r\n") + dir.file(QStringLiteral("Label.docx"))},
        {dir.path(), true, QStringLiteral("no program to open this folder:\r\n\r\n") + dir.path()},
    };
    QStringList offered;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.toStdString());
        desktop.messages.clear();
        editor->nodeValue = row.value;
        main.mnuSPLR4PopupOpenFile->trigger();
        if (row.offered)
            offered << row.value;
        EXPECT_EQ(opener.asked(), offered);
        ASSERT_EQ(desktop.messages.size(), 1);
        EXPECT_TRUE(desktop.messages.at(0).text.contains(row.says)) << desktop.messages.at(0).text.toStdString();
        EXPECT_EQ(desktop.messages.at(0).icon, ui::Icon::Warning);
    }
}

// The commands that work on an editor's document are offered only while an editor is open; other
// child windows do not count.
TEST_F(MainCommandsTest, DocumentCommandsAreEnabledWhileAnEditorIsOpen)
{
    const QList<QAction*> needEditor = {main.mnuSPLOpenFolder, main.mnuSaveSPLR4, main.mnuSaveSPLR4As,
                                        main.mnuSPLR4CreateDocumentReport, main.mnuSPLR4Search,
                                        main.mnuSPLR4Replace, main.mnuSPLR4ImportProductLabel,
                                        main.mnuSPLR4ImportFromExcel, main.mnuSPLR4AddLOINCCodesToProductLabel,
                                        main.MenuSPLR4QuickPreview, main.mnuSPLR4TransformSPL};
    const auto enabled = [&] {
        QStringList states;
        for (QAction* command : needEditor)
            states << QStringLiteral("%1=%2").arg(command->objectName()).arg(command->isEnabled());
        return states.join(QLatin1Char(' ')).toStdString();
    };
    const auto all = [&](bool state) {
        QStringList states;
        for (QAction* command : needEditor)
            states << QStringLiteral("%1=%2").arg(command->objectName()).arg(state);
        return states.join(QLatin1Char(' ')).toStdString();
    };
    const auto closeWindow = [](QWidget* window) {
        window->parentWidget()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    EXPECT_EQ(enabled(), all(false));
    auto* log = new QWidget;
    main.mdiArea()->addSubWindow(log)->show();
    EXPECT_EQ(enabled(), all(false));

    test::FakeEditor* first = openEditor();
    EXPECT_EQ(enabled(), all(true));
    test::FakeEditor* second = openEditor();
    closeWindow(second);
    EXPECT_EQ(enabled(), all(true));
    // The editor left open takes over as the current one: an enabled command works on it.
    main.mnuSPLR4Search->trigger();
    EXPECT_EQ(first->calls, QStringList({"SearchNode(0)"}));
    closeWindow(first);
    EXPECT_EQ(enabled(), all(false));
    // Commands that need no editor stay on.
    EXPECT_TRUE(main.mnuSPLValidate->isEnabled());
    EXPECT_TRUE(main.mnuSPLCrossCheck->isEnabled());
}

TEST_F(MainCommandsTest, InstallLoincDatabaseCopiesTheChosenFile)
{
    test::ProgramFolderCopy folder;
    test::TempDir dir;
    const QString source = dir.file(QStringLiteral("loinc.mdb"));
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("database");
    file.close();

    main.InstallLoincDatabase();  // Cancel
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("LOINC/LOINCDB.mdb"))));

    ui.openFiles.push_back(source);
    main.InstallLoincDatabase();
    EXPECT_EQ(ui.fileRequests.at(1).filter, ui::CommonDialog::toQtFilter("MS Access Database (*.mdb) | *.mdb"));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("LOINC/LOINCDB.mdb"))));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("LOINC Database successfully installed."));
}
