#include "TreeViewFixture.h"
#include "editor/DefinitionTestFolder.h"
#include "editor/document/SettingsDocument.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/xml/tree/Document.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::DefinitionTestFolder;

namespace {

const QRegularExpression GeneratedId(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$"));

QStringList idsOf(const xml::Document& doc)
{
    QStringList ids;
    for (const xml::Node& element : doc.selectNodes(QStringLiteral("//*")))
        ids << element.getAttribute(QStringLiteral("Word2SPLID"));
    return ids;
}

QStringList textsOf(const xml::Document& doc, const QString& query)
{
    QStringList texts;
    for (const xml::Node& node : doc.selectNodes(query))
        texts << node.text();
    return texts;
}

// The editor windows that OpenSPLR4Document made, newest last.
QList<frmXMLEditor*> editorWindows()
{
    QList<frmXMLEditor*> editors;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<frmXMLEditor*>(widget))
            editors << editor;
    return editors;
}

struct OpenedWindow {
    frmXMLEditor* editor = nullptr;
    ~OpenedWindow() { delete editor; }
};

OpenedWindow openFromMenu(const QString& fileName)
{
    const QList<frmXMLEditor*> before = editorWindows();
    OpenSPLR4Document(fileName);
    for (frmXMLEditor* editor : editorWindows())
        if (!before.contains(editor))
            return {editor};
    return {};
}

const QString TwoProducts = QStringLiteral(
    "<SPLR4><Products><Product><ProductID>p1-id</ProductID><ProductName>One</ProductName></Product>"
    "<Product><ProductID>p2-id</ProductID><ProductName>Two</ProductName></Product></Products>"
    "<GeneralData><DocumentID>doc-id</DocumentID><SetID>set-id</SetID></GeneralData></SPLR4>");

QStringList captionsOf(const frmXMLEditor& editor)
{
    QStringList captions;
    editor.TreeView->forEachNode([&](QTreeWidgetItem* node) { captions << nodeCaption(node); });
    return captions;
}

QTreeWidgetItem* nodeOf(frmXMLEditor& editor, const QString& query)
{
    const xml::Node element = editor.XMLDoc->selectSingleNode(query);
    return editor.TreeView->nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID")));
}

} // namespace

TEST(SettingsDocument, NewDocumentIsTheDefinitionWithDistinctIdsAndFreshGuids)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    OpenedWindow window = openFromMenu(QString());
    ASSERT_NE(window.editor, nullptr);
    frmXMLEditor& editor = *window.editor;

    EXPECT_EQ(editor.windowTitle(), QStringLiteral("New SPLR4"));
    EXPECT_TRUE(editor.XMLFileName.isEmpty());
    EXPECT_TRUE(editor.Saved);
    ASSERT_TRUE(editor.XMLDoc);

    const QStringList ids = idsOf(*editor.XMLDoc);
    for (const QString& id : ids)
        EXPECT_TRUE(GeneratedId.match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());

    const QStringList guids = textsOf(*editor.XMLDoc, QStringLiteral("//*[@ConstraintDataType=\"GUID\"]"));
    ASSERT_FALSE(guids.isEmpty());
    for (const QString& guid : guids)
        EXPECT_TRUE(GeneratedId.match(guid).hasMatch()) << guid.toStdString();
    EXPECT_EQ(QSet<QString>(guids.begin(), guids.end()).size(), guids.size());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(SettingsDocument, OpenedFileNamesTheWindowAndKeepsItsIdsAcrossASaveAndReopen)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    const QString path = folder.write(QStringLiteral("Product.xml"), TwoProducts);

    QStringList firstIds;
    {
        OpenedWindow window = openFromMenu(path);
        ASSERT_NE(window.editor, nullptr);
        EXPECT_EQ(window.editor->windowTitle(), QStringLiteral("Edit SPLR4 [Product.xml]"));
        EXPECT_EQ(window.editor->XMLFileName, path);
        firstIds = idsOf(*window.editor->XMLDoc);
        // Definition attributes came in with the open.
        EXPECT_EQ(window.editor->XMLDoc->selectSingleNode(QStringLiteral("//ProductName"))
                      .getAttribute(QStringLiteral("ConstraintLengthMin")),
                  QStringLiteral("3"));
        window.editor->XMLDoc->save(path);
    }
    OpenedWindow reopened = openFromMenu(path);
    ASSERT_NE(reopened.editor, nullptr);
    EXPECT_EQ(idsOf(*reopened.editor->XMLDoc), firstIds);
    EXPECT_NE(reopened.editor->TreeView->nodeByKey(firstIds.last()), nullptr);
}

TEST(SettingsDocument, ANewDocumentFilledAndSavedReopensUnchanged)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    test::SettingsStoreRedirect store;
    OpenedWindow created = openFromMenu(QString());
    ASSERT_NE(created.editor, nullptr);
    frmXMLEditor& editor = *created.editor;

    editor.Form_KeyUp(122);  // F11: test values
    EXPECT_FALSE(editor.Saved);
    const QString path = folder.file(QStringLiteral("Filled.xml"));
    ui.saveFiles.push_back(path);
    // A document without a file asks for one also on a plain save.
    ASSERT_TRUE(editor.SaveXMLDoc(false));
    EXPECT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit SPLR4 [Filled.xml]"));
    EXPECT_TRUE(editor.Saved);

    OpenedWindow reopened = openFromMenu(path);
    ASSERT_NE(reopened.editor, nullptr);
    EXPECT_EQ(idsOf(*reopened.editor->XMLDoc), idsOf(*editor.XMLDoc));
    EXPECT_EQ(textsOf(*reopened.editor->XMLDoc, QStringLiteral("//*")), textsOf(*editor.XMLDoc, QStringLiteral("//*")));
    EXPECT_EQ(captionsOf(*reopened.editor), captionsOf(editor));
    EXPECT_TRUE(reopened.editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(SettingsDocument, CreateGUIDsScopeFollowsTheSelectedElement)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, TwoProducts);
    const xml::Document& doc = *editor->XMLDoc;

    // A group: the "GUID" children of every element of that name.
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Product")));
    CreateGUIDs(*editor);
    QStringList productIds = textsOf(doc, QStringLiteral("//ProductID"));
    EXPECT_TRUE(GeneratedId.match(productIds[0]).hasMatch());
    EXPECT_TRUE(GeneratedId.match(productIds[1]).hasMatch());
    EXPECT_NE(productIds[0], productIds[1]);
    EXPECT_EQ(textsOf(doc, QStringLiteral("//DocumentID")), QStringList{QStringLiteral("doc-id")});

    // A "GUID" value element: its own value.
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//DocumentID")));
    CreateGUIDs(*editor);
    EXPECT_TRUE(GeneratedId.match(textsOf(doc, QStringLiteral("//DocumentID"))[0]).hasMatch());
    EXPECT_EQ(textsOf(doc, QStringLiteral("//ProductID")), productIds);
    EXPECT_EQ(textsOf(doc, QStringLiteral("//SetID")), QStringList{QStringLiteral("set-id")});

    // The document element: every "GUID" element.
    editor->TreeView->selectNode(editor->TreeView->rootNode());
    CreateGUIDs(*editor);
    EXPECT_TRUE(GeneratedId.match(textsOf(doc, QStringLiteral("//SetID"))[0]).hasMatch());
    EXPECT_NE(textsOf(doc, QStringLiteral("//ProductID")), productIds);
}

TEST(SettingsDocument, CopiesGetNewIdsThroughoutMixedContentIncluded)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral(
        "<SPLR4 Word2SPLID='r'><Section Word2SPLID='s'><SectionTitle Word2SPLID='t'>1 USE</SectionTitle>"
        "<LabelText Word2SPLID='l'><text xmlns='urn:hl7-org:v3' Word2SPLID='x'><paragraph Word2SPLID='p'>Take "
        "<content Word2SPLID='c'>one</content> <content Word2SPLID='d'>daily</content></paragraph></text></LabelText>"
        "</Section></SPLR4>")));
    const xml::Node section = doc.selectSingleNode(QStringLiteral("//Section"));
    const xml::Node copy = section.cloneNode(true);

    AssignWord2SPLIDs(copy);

    QStringList ids{copy.getAttribute(QStringLiteral("Word2SPLID"))};
    for (const xml::Node& element : copy.selectNodes(QStringLiteral(".//*")))
        ids << element.getAttribute(QStringLiteral("Word2SPLID"));
    ASSERT_EQ(ids.size(), 7);
    for (const QString& id : ids) {
        EXPECT_TRUE(GeneratedId.match(id).hasMatch()) << id.toStdString();
        EXPECT_FALSE(idsOf(doc).contains(id));
    }
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(copy.text(), section.text());
}

TEST(SettingsDocument, DocumentIdIsReadOrReportedOnce)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto withEmptyId = test::openSettings(folder, QStringLiteral("<SPLR4><GeneralData><DocumentID/></GeneralData></SPLR4>"));
    EXPECT_EQ(GetDocumentID(*withEmptyId), QString());
    EXPECT_TRUE(ui.messages.isEmpty());

    auto withId = test::openSettings(folder, TwoProducts);
    EXPECT_EQ(GetDocumentID(*withId), QStringLiteral("doc-id"));

    auto withoutId = test::openSettings(folder, QStringLiteral("<SPLR4><Products/></SPLR4>"));
    EXPECT_EQ(GetDocumentID(*withoutId), QString());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral(" - GetDocumentID"))) << ui.messages[0].text.toStdString();
}

TEST(SettingsDocument, OpenWithoutADefinitionFileReportsItOnceAndKeepsTheAttributes)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    QFile::remove(folder.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")));
    const QString path = folder.write(QStringLiteral("Product.xml"), QStringLiteral(
        "<SPLR4><Products><Product><ProductName ConstraintLengthMin='7' Color='255'>One</ProductName></Product></Products></SPLR4>"));

    OpenedWindow window = openFromMenu(path);

    ASSERT_NE(window.editor, nullptr);
    ASSERT_TRUE(window.editor->XMLDoc);
    EXPECT_EQ(ui.messages.size(), 1);
    const xml::Node name = window.editor->XMLDoc->selectSingleNode(QStringLiteral("//ProductName"));
    EXPECT_EQ(name.getAttribute(QStringLiteral("ConstraintLengthMin")), QStringLiteral("7"));
    EXPECT_EQ(name.text(), QStringLiteral("One"));
    EXPECT_NE(window.editor->TreeView->nodeByKey(name.getAttribute(QStringLiteral("Word2SPLID"))), nullptr);
}
