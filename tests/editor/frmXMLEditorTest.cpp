// The editor window: saving, the save question on close, keys and the context commands.

#include "TreeViewFixture.h"

#include "app/log/Log.h"
#include "app/window/RememberedFolders.h"
#include "app/log/frmLog.h"
#include "platform/xml/tree/Document.h"
#include "support/SkippedErrors.h"
#include "support/DiskFull.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextEdit>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace veldra::test {
namespace {

class EditorWindowTest : public TreeViewFixture {
protected:
    // An editor with one unsaved change (the title), its file still as written.
    frmXMLEditor* changedEditor()
    {
        frmXMLEditor* editor = openSettings(sampleSettings());
        editor->XMLDoc->selectSingleNode("//Title").setText("Changed");
        editor->Saved = false;
        return editor;
    }
    QString savedTitle() { return readTextFile(dir.file("Product.xml")).contains("Changed") ? "Changed" : "Original"; }
};

TEST_F(EditorWindowTest, SaveAsAsksForTheFileAndNamesTheWindowAfterIt)
{
    frmXMLEditor* editor = changedEditor();
    ui.saveFiles.push_back(dir.file("Copy.xml"));

    ASSERT_TRUE(editor->SaveXMLDoc(true));

    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Settings File");
    EXPECT_EQ(ui.fileRequests[0].filter, "XML Files (*.xml)");
    EXPECT_TRUE(ui.fileRequests[0].overwritePrompt);
    EXPECT_EQ(editor->XMLFileName, dir.file("Copy.xml"));
    EXPECT_EQ(editor->windowTitle(), "Edit SPLR4 [Copy.xml]");
    EXPECT_TRUE(editor->Saved);
    xml::Document copy;
    ASSERT_TRUE(copy.load(dir.file("Copy.xml")));
    EXPECT_EQ(copy.selectSingleNode("//Title").text(), "Changed");
    EXPECT_EQ(savedTitle(), "Original");
}

TEST_F(EditorWindowTest, CancelledSaveAsChangesNothing)
{
    frmXMLEditor* editor = changedEditor();
    editor->setWindowTitle("Edit SPLR4 [Product.xml]");

    EXPECT_FALSE(editor->SaveXMLDoc(true));

    EXPECT_EQ(editor->XMLFileName, dir.file("Product.xml"));
    EXPECT_EQ(editor->windowTitle(), "Edit SPLR4 [Product.xml]");
    EXPECT_FALSE(editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorWindowTest, SaveOfANamedDocumentAsksNothingAndAFailedSaveKeepsItUnsaved)
{
    frmXMLEditor* editor = changedEditor();
    ASSERT_TRUE(editor->SaveXMLDoc(false));
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_EQ(savedTitle(), "Changed");

    editor->Saved = false;
    editor->XMLFileName = dir.file("missing-folder/Product.xml");
    EXPECT_FALSE(editor->SaveXMLDoc(false));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_FALSE(editor->Saved);
}

TEST_F(EditorWindowTest, ADocumentOpenedThroughALinkIsSavedIntoTheFileTheLinkNames)
{
    writeFile("Product.xml", sampleSettings());
    ASSERT_TRUE(QFile::link(dir.file("Product.xml"), dir.file("Current.xml")));
    frmXMLEditor* editor = openFile(dir.file("Current.xml"), "SPLR4");
    editor->XMLDoc->selectSingleNode("//Title").setText("Changed");
    editor->Saved = false;

    ASSERT_TRUE(editor->SaveXMLDoc(false));

    EXPECT_TRUE(QFileInfo(dir.file("Current.xml")).isSymLink());
    EXPECT_EQ(savedTitle(), "Changed");
    EXPECT_TRUE(ui.messages.isEmpty());
}

// A link put where the document's file was (by anyone who may write into its folder) may name
// any of the user's files: it is never followed. The question says what the link names; No
// writes nothing, Yes replaces the link itself with the document.
TEST_F(EditorWindowTest, ALinkPutInPlaceOfTheDocumentsFileIsReplacedNeverFollowed)
{
    struct Row {
        const char* name;
        bool openedThroughLink;
        const char* linkNames;
    };
    const Row rows[] = {
        {"a file opened as itself, now a link to another file", false, "victim.conf"},
        {"a file opened through a link, the link now naming another file", true, "victim.conf"},
        {"a file opened as itself, now a link to nothing", false, "missing.conf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        const QString label = writeFile("Label.xml", sampleSettings());
        const QString victim = writeFile("victim.conf", "the user's own settings");
        const QString path = row.openedThroughLink ? dir.file("Current.xml") : label;
        QFile::remove(dir.file("Current.xml"));
        ASSERT_TRUE(QFile::link(label, dir.file("Current.xml")));
        frmXMLEditor* editor = openFile(path, "SPLR4");
        ASSERT_NE(editor->XMLDoc, nullptr);
        editor->XMLDoc->selectSingleNode("//Title").setText("Changed");
        editor->Saved = false;
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(dir.file(row.linkNames), path));

        ui.answers = {ui::Answer::No};
        EXPECT_FALSE(editor->SaveXMLDoc(false));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].text.contains("is now a symbolic link")) << ui.messages[0].text.toStdString();
        EXPECT_TRUE(ui.messages[0].text.contains("\r\n" + dir.file(row.linkNames))) << ui.messages[0].text.toStdString();
        EXPECT_TRUE(QFileInfo(path).isSymLink());
        EXPECT_FALSE(editor->Saved);

        ui.answers = {ui::Answer::Yes};
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_FALSE(QFileInfo(path).isSymLink());
        EXPECT_TRUE(readTextFile(path).contains("Changed"));
        EXPECT_EQ(readTextFile(victim), "the user's own settings");
        EXPECT_EQ(readTextFile(label).contains("Changed"), !row.openedThroughLink);
        EXPECT_FALSE(QFile::exists(dir.file("missing.conf")));
        EXPECT_TRUE(editor->Saved);
        // The file it wrote is the one it knows from then on.
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_EQ(ui.messages.size(), 2);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 3) << "no file left beside";
        delete editor;
    }
}

// The folder the document came from, renamed away and another put under its name (a link to
// any folder, or a new folder): a save asks, naming where the path leads now, whether or not a
// file of that name is there. No writes nothing anywhere; Yes writes where the path leads, and
// the renamed folder keeps its file as it was.
TEST_F(EditorWindowTest, AFolderPutInPlaceOfTheDocumentsFolderIsWrittenOnlyAfterAQuestion)
{
    struct Row {
        const char* name;
        bool asLink;
        bool holdsLabel;
    };
    const Row rows[] = {
        {"a link to a folder holding a file of that name", true, true},
        {"a link to a folder without one", true, false},
        {"a new folder without one", false, false},
        {"a new folder holding one", false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        TempDir place;
        const QString shared = place.file("shared");
        const QString other = place.file("other");
        ASSERT_TRUE(QDir().mkpath(shared) && QDir().mkpath(other));
        writeTextFile(shared + "/Label.xml", sampleSettings());
        frmXMLEditor* editor = openFile(shared + "/Label.xml", "SPLR4");
        ASSERT_NE(editor->XMLDoc, nullptr);
        editor->XMLDoc->selectSingleNode("//Title").setText("Changed");
        editor->Saved = false;
        ASSERT_TRUE(QDir().rename(shared, place.file("shared.old")));
        ASSERT_TRUE(row.asLink ? QFile::link(other, shared) : QDir().mkpath(shared));
        const QString leadsTo = (row.asLink ? other : shared) + "/Label.xml";
        if (row.holdsLabel)
            writeTextFile(leadsTo, "theirs");

        ui.answers = {ui::Answer::No};
        EXPECT_FALSE(editor->SaveXMLDoc(false));
        ASSERT_EQ(ui.messages.size(), 1);
        const QString asked = ui.messages[0].text;
        EXPECT_TRUE(asked.contains("is now another folder")) << asked.toStdString();
        EXPECT_TRUE(asked.contains("\r\n" + QDir::toNativeSeparators(leadsTo) + "\r\n")) << asked.toStdString();
        EXPECT_EQ(asked.contains("will be replaced"), row.holdsLabel);
        EXPECT_EQ(QFile::exists(leadsTo), row.holdsLabel);
        EXPECT_FALSE(editor->Saved);

        ui.answers = {ui::Answer::Yes};
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_EQ(ui.messages.size(), 2) << "one question";
        EXPECT_TRUE(readTextFile(leadsTo).contains("Changed"));
        EXPECT_FALSE(readTextFile(place.file("shared.old/Label.xml")).contains("Changed"));
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_EQ(ui.messages.size(), 2) << "the folder it wrote into is the one it knows";
        delete editor;
    }
}

// A save that fails (here a file-size limit) leaves the document named as it was: its caption,
// the file the next Save writes, what it knows of that file and the remembered folder.
TEST_F(EditorWindowTest, AFailedSaveAsKeepsTheDocumentsNameAndFile)
{
    struct Row {
        const char* name;
        bool named;
        bool saveAs;
        const char* caption;
    };
    const Row rows[] = {
        {"Save As of a named document", true, true, "Edit SPLR4 [Product.xml]"},
        {"first Save of a new document", false, false, "New SPLR4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        frmXMLEditor* editor = changedEditor();
        if (!row.named)
            editor->XMLFileName.clear();
        const QString before = editor->XMLFileName;
        editor->setWindowTitle(row.caption);
        SaveLastFolder("SettingsFile", "/elsewhere/earlier.xml");
        ui.saveFiles = {dir.file("big-copy.xml")};
        {
            const DiskFullAfter limit(16);
            EXPECT_FALSE(editor->SaveXMLDoc(row.saveAs));
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].text.contains("File too large")) << ui.messages[0].text.toStdString();
        EXPECT_EQ(editor->windowTitle(), row.caption);
        EXPECT_EQ(editor->XMLFileName, before);
        EXPECT_EQ(GetLastFolder("SettingsFile"), "/elsewhere");
        EXPECT_FALSE(QFile::exists(dir.file("big-copy.xml")));
        EXPECT_FALSE(editor->Saved);

        // The next Save writes the document's own file, as the window last knew it.
        const int asked = ui.fileRequests.size();
        ui.saveFiles = {dir.file("Product.xml")};
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_EQ(ui.fileRequests.size(), asked + (row.named ? 0 : 1));
        EXPECT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(savedTitle(), "Changed");
        EXPECT_FALSE(QFile::exists(dir.file("big-copy.xml")));
        delete editor;
    }
}

// Another program's change to the document's file since the window opened or last saved it:
// a save asks before it overwrites, and No writes nothing and leaves the document unsaved.
// A file as the window left it, or one removed meanwhile, is written without a question.
TEST_F(EditorWindowTest, SaveAsksBeforeOverwritingAFileChangedOnDisk)
{
    const QString label = readTextFile(program.file("SPLR4Definitions/DefinitionSPLR4.xml"));
    const QString theirs = "<SPLR4><GeneralData><VersionNumber>2</VersionNumber></GeneralData></SPLR4>";
    const auto replaceByRename = [&](const QString& file) {
        writeTextFile(file + ".new", theirs);
        ASSERT_EQ(::rename(QFile::encodeName(file + ".new").constData(), QFile::encodeName(file).constData()), 0);
    };
    // As `cp -p`, `rsync -t --inplace` or `touch -r` leave it.
    const auto rewriteInPlace = [](long nanosecondsLater) {
        return [nanosecondsLater](const QString& file) {
            const QByteArray name = QFile::encodeName(file);
            struct stat before {};
            ASSERT_EQ(::stat(name.constData(), &before), 0);
            QFile inPlace(file);
            ASSERT_TRUE(inPlace.open(QIODevice::ReadWrite));
            ASSERT_EQ(inPlace.write(QByteArray(before.st_size, ' ')), before.st_size);
            inPlace.close();
            timespec times[2] = {before.st_atim, before.st_mtim};
            times[1].tv_nsec = (times[1].tv_nsec + nanosecondsLater) % 1000000000;
            ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
        };
    };
    struct Row {
        const char* name;
        bool throughLink;
        std::function<void(const QString&)> change;  // given the file the document is in
        bool asks;
    };
    const std::vector<Row> rows = {
        {"unchanged", false, [](const QString&) {}, false},
        {"written in place", false, [&](const QString& file) { writeTextFile(file, theirs); }, true},
        {"replaced by a rename", false, replaceByRename, true},
        {"removed", false, [](const QString& file) { QFile::remove(file); }, false},
        {"written in place at the same size, its modification time put back", false, rewriteInPlace(0), true},
        {"written in place at the same size and second, only the nanoseconds later", false, rewriteInPlace(1), true},
        {"the file a link names, written", true, [&](const QString& file) { writeTextFile(file, theirs); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        const QString file = writeFile("Label.xml", label);
        QFile::remove(dir.file("Current.xml"));
        ASSERT_TRUE(QFile::link(file, dir.file("Current.xml")));
        frmXMLEditor* editor = openFile(row.throughLink ? dir.file("Current.xml") : file, "SPLR4");
        ASSERT_NE(editor->XMLDoc, nullptr);
        editor->XMLDoc->selectSingleNode("//GeneralData/VersionNumber").setText("7");
        editor->Saved = false;
        row.change(file);

        if (row.asks) {
            const QString onDisk = readTextFile(file);
            ui.answers.push_back(ui::Answer::No);
            EXPECT_FALSE(editor->SaveXMLDoc(false));
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_TRUE(ui.messages[0].text.contains("changed by another program"));
            EXPECT_TRUE(ui.messages[0].text.contains("\r\n" + editor->XMLFileName + "\r\n"));
            EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::YesNo);
            EXPECT_EQ(readTextFile(file), onDisk);
            EXPECT_FALSE(editor->Saved);
            ui.answers.push_back(ui::Answer::Yes);
        }
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_TRUE(readTextFile(file).contains(">7</VersionNumber>"));
        EXPECT_TRUE(editor->Saved);
        EXPECT_EQ(ui.messages.size(), row.asks ? 2 : 0);
        // Its own save is what the window knows of the file from then on.
        EXPECT_TRUE(editor->SaveXMLDoc(false));
        EXPECT_EQ(ui.messages.size(), row.asks ? 2 : 0);
        EXPECT_TRUE(QFileInfo(dir.file("Current.xml")).isSymLink());
        delete editor;
    }
}

// The Yes of the close question saves through the same check: No to overwriting keeps the
// window open with its changes, and the other program's file as it is.
TEST_F(EditorWindowTest, ClosingWithChangesDoesNotOverwriteAFileChangedOnDisk)
{
    QPointer<frmXMLEditor> editor = changedEditor();
    writeTextFile(dir.file("Product.xml"), "<SPLR4><Title>Theirs</Title></SPLR4>");
    ui.answers = {ui::Answer::Yes, ui::Answer::No};

    EXPECT_FALSE(editor->close());

    ASSERT_FALSE(editor.isNull());
    EXPECT_FALSE(editor->Saved);
    EXPECT_EQ(readTextFile(dir.file("Product.xml")), "<SPLR4><Title>Theirs</Title></SPLR4>");
    EXPECT_EQ(ui.messages.size(), 2);
}

TEST_F(EditorWindowTest, ClosingAnUnchangedDocumentOrAReviewWindowAsksNothing)
{
    QPointer<frmXMLEditor> unchanged = openSettings(sampleSettings());
    QPointer<frmXMLEditor> review = openView(sampleSettings());
    review->Saved = false;

    EXPECT_TRUE(unchanged->close());
    EXPECT_TRUE(review->close());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorWindowTest, SaveQuestionCancelAndNoAnswers)
{
    QPointer<frmXMLEditor> editor = changedEditor();
    ui.answers.push_back(ui::Answer::Cancel);
    EXPECT_FALSE(editor->close());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "This Settings Document has been changed. Do you want to save the changes?");
    EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    ASSERT_FALSE(editor.isNull());
    EXPECT_NE(editor->XMLDoc, nullptr);
    EXPECT_FALSE(editor->Saved);

    ui.answers.push_back(ui::Answer::No);
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(editor->XMLDoc, nullptr);
    EXPECT_EQ(savedTitle(), "Original");
}

TEST_F(EditorWindowTest, SaveQuestionYesSavesAndCloses)
{
    QPointer<frmXMLEditor> editor = changedEditor();
    ui.answers.push_back(ui::Answer::Yes);
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(savedTitle(), "Changed");
}

TEST_F(EditorWindowTest, SaveQuestionYesKeepsTheWindowOpenWhenTheDocumentDidNotGetSaved)
{
    // A new document: the file dialog is cancelled.
    QPointer<frmXMLEditor> unnamed = changedEditor();
    unnamed->XMLFileName.clear();
    ui.answers.push_back(ui::Answer::Yes);
    EXPECT_FALSE(unnamed->close());
    ASSERT_FALSE(unnamed.isNull());
    EXPECT_NE(unnamed->XMLDoc, nullptr);

    // A save that fails.
    unnamed->XMLFileName = dir.file("missing-folder/x.xml");
    ui.answers.push_back(ui::Answer::Yes);
    EXPECT_FALSE(unnamed->close());
    EXPECT_FALSE(unnamed.isNull());
    EXPECT_FALSE(unnamed->Saved);
}

TEST_F(EditorWindowTest, KeysOfTheTree)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    const int elements = editor->XMLDoc->selectNodes("//*").length();

    // Del on the root removes nothing and asks nothing.
    select(editor, "SPLR4");
    QTest::keyClick(editor->TreeView, Qt::Key_Delete);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(editor->XMLDoc->selectNodes("//*").length(), elements);

    // F5 and Esc rebuild: search marks go.
    setNodeBackColor(node(editor, "Title"), QColor(255, 255, 0));
    QTest::keyClick(editor->TreeView, Qt::Key_F5);
    EXPECT_EQ(nodeBackColor(node(editor, "Title")), QColor(Qt::white));
    setNodeBackColor(node(editor, "Title"), QColor(255, 255, 0));
    QTest::keyClick(editor->TreeView, Qt::Key_Escape);
    EXPECT_EQ(nodeBackColor(node(editor, "Title")), QColor(Qt::white));

    // F11 fills test values, which is a change.
    QTest::keyClick(editor->TreeView, Qt::Key_F11);
    EXPECT_FALSE(editor->Saved);
    EXPECT_EQ(texts(editor, "//Title").value(0),
              "GeneralData_Title_" + editor->XMLDoc->selectSingleNode("//GeneralData").getAttribute("Word2SPLID"));
    EXPECT_NE(node(editor, "Title: GeneralData_Title_"), nullptr);
}

// While a command works on the document (an import waiting in a prompt), the editing keys
// and commands of the window are refused with a message and change nothing.
TEST_F(EditorWindowTest, EditingIsRefusedWhileACommandWorksOnTheDocument)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Title");
    const QString before = editor->XMLDoc->xml();
    const EditorCommandRunning importRunning(*editor);
    const std::vector<std::pair<const char*, std::function<void()>>> attempts{
        {"Del", [&] { QTest::keyClick(editor->TreeView, Qt::Key_Delete); }},
        {"F11", [&] { QTest::keyClick(editor->TreeView, Qt::Key_F11); }},
        {"Enter", [&] { QTest::keyClick(editor->TreeView, Qt::Key_Return); }},
        {"clone", [&] { editor->CloneNode(); }},
        {"add", [&] { editor->AddNode(); }},
    };
    for (const auto& [name, attempt] : attempts) {
        ui.messages.clear();
        attempt();
        ASSERT_EQ(ui.messages.size(), 1) << name;
        EXPECT_EQ(ui.messages.at(0).text, CommandStillRunningMessage) << name;
        EXPECT_EQ(editor->XMLDoc->xml(), before) << name;
    }
    EXPECT_TRUE(editor->Saved);
}

TEST_F(EditorWindowTest, F9WritesTheSelectedNodesPathsIntoTheLog)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    QTreeWidgetItem* title = select(editor, "Title");
    const QString group = nodeKey(title->parent());

    QTest::keyClick(editor->TreeView, Qt::Key_F9);

    ASSERT_NE(logWindow(), nullptr);
    EXPECT_EQ(logWindow()->txtLog->toPlainText(),
              "XPath: \n\nSPLR4/GeneralData/Title\n\nSPLR4/GeneralData[@Word2SPLID='" + group +
                  "']/Title[@Word2SPLID='" + nodeKey(title) + "']");
    logWindow()->close();

    // The paths are for the developer at hand, so they appear with logging off too.
    NoLogging = true;
    QTest::keyClick(editor->TreeView, Qt::Key_F9);
    NoLogging = false;
    ASSERT_NE(logWindow(), nullptr);
    EXPECT_TRUE(logWindow()->txtLog->toPlainText().startsWith("XPath: "));
    logWindow()->close();
}

TEST_F(EditorWindowTest, ReviewWindowsIgnoreEditingKeys)
{
    frmXMLEditor* editor = openView(sampleSettings());
    select(editor, "Title");
    const QStringList before = captions(editor);

    QTest::keyClick(editor->TreeView, Qt::Key_Delete);
    QTest::keyClick(editor->TreeView, Qt::Key_F11);
    QTest::keyClick(editor->TreeView, Qt::Key_F5);

    EXPECT_EQ(captions(editor), before);
    EXPECT_TRUE(editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorWindowTest, CopySelectionAndOpenContainingFolder)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Title");
    editor->CopySelection();
    EXPECT_EQ(ui.clipboard, "Title: Aspirin Tablets");

    editor->OpenContainingFolder();
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_EQ(ui.opened[0], dir.path() + "/");

    EXPECT_TRUE(ui.messages.isEmpty());

    // A folder the desktop cannot open is named, so that the user can open it by hand.
    ui.shellOpenSucceeds = false;
    editor->OpenContainingFolder();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages.at(0).text.contains("\r\n" + dir.path() + "\r\n"));
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Warning);

    // A new document has no folder yet, and says so.
    editor->XMLFileName.clear();
    editor->OpenContainingFolder();
    EXPECT_EQ(ui.opened.size(), 2);
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages.at(1).text.startsWith("This settings document has not been saved yet"));
}

TEST_F(EditorWindowTest, RightClickInAReviewWindowCopiesTheCaptionAndOnTheRootExpandsAll)
{
    frmXMLEditor* editor = openView(sampleSettings());
    QTreeWidgetItem* root = select(editor, "SPLR4");
    const QPoint rootPoint = editor->TreeView->visualItemRect(root).center();

    QTest::mouseClick(editor->TreeView->viewport(), Qt::RightButton, {}, rootPoint);

    EXPECT_EQ(ui.clipboard, "SPLR4");
    EXPECT_TRUE(node(editor, "ProductName")->isExpanded());
    EXPECT_EQ(editor->TreeView->selectedNode(), root);
}

TEST_F(EditorWindowTest, ColourOfTheSelectedElementIsStoredAndIsAChange)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    QTreeWidgetItem* title = select(editor, "Title");
    ui.colors.push_back(QColor(0, 128, 255));

    editor->SetColor();

    EXPECT_EQ(editor->XMLDoc->selectSingleNode("//Title").getAttribute("Color"), "16744448");
    EXPECT_EQ(nodeBackColor(title), QColor(0, 128, 255));
    EXPECT_FALSE(title->isSelected());
    EXPECT_FALSE(editor->Saved);
    editor->RefreshXML(false);
    EXPECT_EQ(nodeBackColor(node(editor, "Title")), QColor(0, 128, 255));

    editor->Saved = true;
    {
        // A cancel raises when an earlier command asked the shared dialog to: skipped either way.
        veldra::test::ExpectSkippedErrors skipped;
        editor->SetColor();  // cancelled
    }
    EXPECT_TRUE(editor->Saved);
}

TEST_F(EditorWindowTest, CollapseAllKeepsTheRootOpenAndTheSelectedNodeInSight)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    editor->TreeViewExpandAll(true);
    EXPECT_TRUE(node(editor, "Ingredient")->isExpanded());
    QTreeWidgetItem* deep = select(editor, "Ingredient Name");

    editor->TreeViewExpandAll(false);

    EXPECT_TRUE(editor->TreeView->rootNode()->isExpanded());
    EXPECT_FALSE(node(editor, "General Data")->isExpanded());
    for (QTreeWidgetItem* up = deep->parent(); up; up = up->parent())
        EXPECT_TRUE(up->isExpanded());
}

} // namespace
} // namespace veldra::test
