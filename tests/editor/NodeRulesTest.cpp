#include "editor/DefinitionTestFolder.h"
#include "editor/SmallEditorLimit.h"
#include "editor/window/FieldDialogs.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRegularExpression>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::DefinitionTestFolder;

namespace {

const QString Products = QStringLiteral(
    "<SPLR4><GeneralData><DocumentID>d</DocumentID><SetID>s</SetID><VersionNumber>1</VersionNumber><Title>t</Title></GeneralData>"
    "<Products>"
    "<Product><ProductID>p1-id</ProductID><ProductName>One</ProductName>"
    "<Ingredient><IngredientName>A</IngredientName></Ingredient><Package><PackageCode>1</PackageCode></Package></Product>"
    "<Product><ProductID>p2-id</ProductID><Note>n</Note></Product>"
    "<Product><ProductName>Three</ProductName></Product>"
    "<Product/>"
    "</Products>"
    "<ProductLabel><DocumentSections>"
    "<Section><SectionTitle>1</SectionTitle><component/></Section>"
    "<Section><SectionTitle>2</SectionTitle><component/></Section>"
    "</DocumentSections></ProductLabel></SPLR4>");

QString idOf(const xml::Node& element)
{
    return element.getAttribute(QStringLiteral("Word2SPLID"));
}

QTreeWidgetItem* nodeOf(frmXMLEditor& editor, const QString& query)
{
    return editor.TreeView->nodeByKey(idOf(editor.XMLDoc->selectSingleNode(query)));
}

QStringList childNames(const xml::Node& element)
{
    QStringList names;
    for (const xml::Node& child : element.childNodes())
        names << child.nodeName();
    return names;
}

// Records the field dialogs the editor asks for.
struct DialogRecorder {
    std::vector<FieldDialogRequest> requests;
    DialogRecorder()
    {
        fieldDialogLauncher() = [this](const FieldDialogRequest& request) { requests.push_back(request); };
    }
    ~DialogRecorder() { fieldDialogLauncher() = nullptr; }
};

// A bare tree path for the rule tests: SPLR4 > names...
struct PathTree {
    std::unique_ptr<QTreeWidgetItem> root{new QTreeWidgetItem};
    QTreeWidgetItem* leaf = root.get();
    explicit PathTree(const QStringList& captions)
    {
        setNodeCaption(root.get(), QStringLiteral("SPLR4"));
        for (const QString& caption : captions) {
            leaf = new QTreeWidgetItem(leaf);
            setNodeCaption(leaf, caption);
        }
    }
};

bool canClone(const QStringList& captions)
{
    PathTree tree(captions);
    return CanCloneNode(tree.leaf);
}

bool canReverse(const QStringList& captions)
{
    PathTree tree(captions);
    return CanReverseTransformNode(tree.leaf);
}

} // namespace

TEST(NodeRules, CloneAndReverseImportFollowTheTransformationFile)
{
    DefinitionTestFolder folder;
    EXPECT_TRUE(canClone({QStringLiteral("Products"), QStringLiteral("Product: x")}));
    EXPECT_TRUE(canClone({QStringLiteral("Products"), QStringLiteral("Product"), QStringLiteral("Ingredient")}));
    // Of two entries for one path the last decides.
    EXPECT_FALSE(canClone({QStringLiteral("Products"), QStringLiteral("Product"), QStringLiteral("Package")}));
    // Post-processing entries count for cloning only.
    EXPECT_TRUE(canClone({QStringLiteral("Product Label"), QStringLiteral("Document Sections"), QStringLiteral("Section")}));
    EXPECT_FALSE(canReverse({QStringLiteral("Product Label"), QStringLiteral("Document Sections"), QStringLiteral("Section")}));
    EXPECT_FALSE(canClone({QStringLiteral("General Data")}));
    EXPECT_FALSE(canClone({QStringLiteral("Unknown")}));
    // For the reverse import one "1" among the entries is enough.
    EXPECT_TRUE(canReverse({QStringLiteral("Products"), QStringLiteral("Product"), QStringLiteral("Package")}));
    EXPECT_FALSE(canReverse({QStringLiteral("General Data")}));

    QFile::remove(folder.file(QStringLiteral("SPLR4Definitions/TransformSPLR4.xml")));
    EXPECT_FALSE(canClone({QStringLiteral("Products"), QStringLiteral("Product")}));
    EXPECT_FALSE(canReverse({QStringLiteral("Products"), QStringLiteral("Product")}));
}

TEST(NodeRules, SplFileAndRemoveTests)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<a><b ConstraintDataType='SPLFile'/><c ConstraintDataType='File'/>"
                                           "<d ConstraintDenyRemove='1'/><e ConstraintDenyRemove='never'/></a>")));
    EXPECT_TRUE(IsSPLFileNode(doc.selectSingleNode(QStringLiteral("//b"))));
    EXPECT_FALSE(IsSPLFileNode(doc.selectSingleNode(QStringLiteral("//c"))));
    EXPECT_FALSE(IsSPLFileNode(doc.documentElement()));
    EXPECT_FALSE(IsSPLFileNode(xml::Node()));

    EXPECT_FALSE(CanRemoveNode(xml::Node()));
    EXPECT_TRUE(CanRemoveNode(doc.selectSingleNode(QStringLiteral("//c"))));
    EXPECT_TRUE(CanRemoveNode(doc.selectSingleNode(QStringLiteral("//d"))));
    EXPECT_THROW(CanRemoveNode(doc.selectSingleNode(QStringLiteral("//e"))), VbError);
}

TEST(NodeRules, AddOffersMissingKindsAndCloneableOnes)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    DialogRecorder dialogs;
    auto editor = test::openSettings(folder, Products);
    QTreeWidgetItem* product = nodeOf(*editor, QStringLiteral("//Product"));
    editor->TreeView->selectNode(product);

    AddSPLR4Node(*editor, *editor->TreeView);

    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FieldDialogRequest& request = dialogs.requests[0];
    EXPECT_EQ(request.Mode, QStringLiteral("AddNode"));
    EXPECT_EQ(request.caption, QStringLiteral("Add Information to Product"));
    EXPECT_EQ(request.frameCaption, request.caption);
    EXPECT_EQ(request.info, QStringLiteral("Product"));
    EXPECT_EQ(request.SourceForm, editor.get());
    EXPECT_EQ(request.TargetTreeViewNode, product);
    ASSERT_EQ(request.rows.size(), 1u);
    const xml::Node templateElement = request.rows[0];
    EXPECT_EQ(templateElement.nodeName(), QStringLiteral("Product"));
    EXPECT_FALSE(templateElement.hasChildNodes());
    // In definition order: missing kinds, and present kinds that may be cloned.
    EXPECT_EQ(templateElement.getAttribute(QStringLiteral("ConstraintValues")),
              QStringLiteral("Dosage Form Code;[+] Ingredient;Leaflet File"));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(editor->Saved);
}

TEST(NodeRules, AddRefusesWhenNothingIsLeftToAdd)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    DialogRecorder dialogs;
    auto editor = test::openSettings(folder, Products);
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//GeneralData")));

    AddSPLR4Node(*editor, *editor->TreeView);

    EXPECT_TRUE(dialogs.requests.empty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("No more Information can be added to 'General Data'."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
}

TEST(NodeRules, AddedElementsTakeTheirPlaceInDefinitionOrder)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    auto add = [&](const QString& query, QString chosen) {
        QTreeWidgetItem* target = nodeOf(*editor, query);
        const bool added = AddNodeToTreeViewXML(*editor, target, QStringLiteral("Product"), chosen,
                                                BuildXPathFromTreeView(target, QStringLiteral("SPLR4")), *editor->XMLDoc);
        EXPECT_TRUE(added);
        return chosen;
    };
    auto products = [&] { return editor->XMLDoc->selectNodes(QStringLiteral("//Product")); };

    // Before the nearest later kind that is present.
    add(QStringLiteral("//Product[0]"), QStringLiteral("Dosage Form Code"));
    EXPECT_EQ(childNames(products().item(0)),
              (QStringList{"ProductID", "ProductName", "DosageFormCode", "Ingredient", "Package"}));
    EXPECT_FALSE(editor->Saved);
    // Right after the nearest earlier kind, also when another node follows it.
    add(QStringLiteral("//Product[1]"), QStringLiteral("Product Name"));
    EXPECT_EQ(childNames(products().item(1)), (QStringList{"ProductID", "ProductName", "Note"}));
    // Appended when the earlier kind is the last child, or when nothing is there.
    add(QStringLiteral("//Product[2]"), QStringLiteral("Leaflet File"));
    EXPECT_EQ(childNames(products().item(2)), (QStringList{"ProductName", "LeafletFile"}));
    add(QStringLiteral("//Product[3]"), QStringLiteral("Product ID"));
    EXPECT_EQ(childNames(products().item(3)), QStringList{"ProductID"});

    // A kind that is present already: the new one becomes the first of its kind, with the
    // definition's whole default content and new ids.
    const xml::Node oldIngredient = editor->XMLDoc->selectSingleNode(QStringLiteral("//Product[0]/Ingredient"));
    EXPECT_EQ(add(QStringLiteral("//Product[0]"), QStringLiteral("[+] Ingredient ")), QStringLiteral("Ingredient"));
    const xml::Node newIngredient = editor->XMLDoc->selectSingleNode(QStringLiteral("//Product[0]/Ingredient"));
    EXPECT_NE(newIngredient, oldIngredient);
    EXPECT_EQ(newIngredient.nextSibling(), oldIngredient);
    EXPECT_EQ(childNames(newIngredient), (QStringList{"IngredientName", "Strength"}));
    EXPECT_EQ(newIngredient.selectSingleNode(QStringLiteral("Strength")).getAttribute(QStringLiteral("ConstraintDataType")),
              QStringLiteral("Numeric"));
    EXPECT_NE(editor->TreeView->nodeByKey(idOf(newIngredient)), nullptr);
    for (const xml::Node& element : newIngredient.selectNodes(QStringLiteral(".//*")))
        EXPECT_NE(editor->TreeView->nodeByKey(idOf(element)), nullptr) << element.nodeName().toStdString();
}

TEST(NodeRules, AddWithoutAChoiceWarnsAndAChoiceOutsideTheDefinitionIsAnError)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    QTreeWidgetItem* target = nodeOf(*editor, QStringLiteral("//Product"));
    const QString path = BuildXPathFromTreeView(target, QStringLiteral("SPLR4"));

    QString chosen = QStringLiteral(" [+] ");
    EXPECT_FALSE(AddNodeToTreeViewXML(*editor, target, QStringLiteral("Product"), chosen, path, *editor->XMLDoc));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Please select the data you want to add to 'Product'."));
    EXPECT_TRUE(editor->Saved);

    chosen = QStringLiteral("Section Title");
    try {
        AddNodeToTreeViewXML(*editor, target, QStringLiteral("Product"), chosen, path, *editor->XMLDoc);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(" - AddNodeToTreeViewXML"))) << e.text().toStdString();
    }
    EXPECT_TRUE(editor->XMLDoc->selectSingleNode(QStringLiteral("//Product/SectionTitle")).isNull());
}

TEST(NodeRules, CloneCopiesBeforeTheOriginalWithNewIdsAndRenewsGuidsOfTheCopyOnly)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    const xml::Node original = editor->XMLDoc->selectSingleNode(QStringLiteral("//Product"));
    const QStringList originalIds = [&] {
        QStringList ids{idOf(original)};
        for (const xml::Node& element : original.selectNodes(QStringLiteral(".//*")))
            ids << idOf(element);
        return ids;
    }();
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Product")));

    CloneSPLR4Node(*editor, *editor->TreeView);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Are you sure you want to clone 'Product'?"));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Question);
    const xml::NodeList products = editor->XMLDoc->selectNodes(QStringLiteral("//Product"));
    ASSERT_EQ(products.length(), 5);
    const xml::Node copy = products.item(0);
    EXPECT_EQ(products.item(1), original);
    EXPECT_EQ(copy.selectSingleNode(QStringLiteral("ProductName")).text(), QStringLiteral("One"));
    EXPECT_FALSE(originalIds.contains(idOf(copy)));
    for (const xml::Node& element : copy.selectNodes(QStringLiteral(".//*")))
        EXPECT_FALSE(originalIds.contains(idOf(element))) << element.nodeName().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-"))
                    .match(copy.selectSingleNode(QStringLiteral("ProductID")).text())
                    .hasMatch());
    EXPECT_EQ(original.selectSingleNode(QStringLiteral("ProductID")).text(), QStringLiteral("p1-id"));
    EXPECT_EQ(products.item(2).selectSingleNode(QStringLiteral("ProductID")).text(), QStringLiteral("p2-id"));
    EXPECT_EQ(nodeKey(editor->TreeView->selectedNode()), idOf(copy));
    EXPECT_FALSE(editor->Saved);
}

TEST(NodeRules, CloneIsRefusedOrDeclinedWithoutChange)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    const QString before = editor->XMLDoc->xml();

    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//GeneralData")));
    CloneSPLR4Node(*editor, *editor->TreeView);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("'General Data' cannot be cloned."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);

    ui.answers.push_back(ui::Answer::No);
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Product")));
    CloneSPLR4Node(*editor, *editor->TreeView);
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(editor->XMLDoc->xml(), before);
    EXPECT_TRUE(editor->Saved);
}

// A clone that would make the document larger than the editor opens is refused with the
// reason and changes nothing; at the limit itself it is made.
TEST(NodeRules, ACloneIsMadeOnlyWhileTheDocumentStillOpensWithIt)
{
    DefinitionTestFolder folder;
    for (const qint64 over : {0, 1}) {
        SCOPED_TRACE(over);
        test::ScriptedUi ui;
        auto editor = test::openSettings(folder, Products);
        const qint64 after = treeSizeOf(editor->XMLDoc->asNode()).elements
                             + treeSizeOf(editor->XMLDoc->selectSingleNode(QStringLiteral("//Product"))).elements;
        const test::SmallEditorLimit limit(after - over);
        editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Product")));

        CloneSPLR4Node(*editor, *editor->TreeView);

        EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//Product")).length(), over ? 4 : 5);
        EXPECT_EQ(editor->Saved, over == 1);
        EXPECT_EQ(ui.messages.last().text,
                  over ? QStringLiteral("'Product' cannot be cloned: the document would be larger than the editor opens (up "
                                        "to %1 elements, 4000000 attributes and 67108864 bytes).")
                             .arg(after - over)
                       : QStringLiteral("Are you sure you want to clone 'Product'?"));
    }
}

// The sections an SPL file adds count as the sections of the document: a file whose sections
// would make it larger than the editor opens adds nothing and says why.
TEST(NodeRules, AnSPLFileIsAddedOnlyWhileTheDocumentStillOpensWithIt)
{
    DefinitionTestFolder folder;
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("label.xml"));
    test::writeTextFile(file, QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody>"
                                             "<component><section><title>A</title></section></component>"
                                             "<component><section><title>B</title></section></component>"
                                             "</structuredBody></component></document>"));
    for (const qint64 over : {0, 1}) {
        SCOPED_TRACE(over);
        test::ScriptedUi ui;
        auto editor = test::openSettings(folder, Products);
        const qint64 after = treeSizeOf(editor->XMLDoc->asNode()).elements + 4;
        const test::SmallEditorLimit limit(after - over);
        editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Section/component")));
        ui.openFiles.push_back(file);

        AddSPLR4Node(*editor, *editor->TreeView);

        EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//Section/component/section")).length(), over ? 0 : 2);
        EXPECT_EQ(!ui.messages.isEmpty() && ui.messages.last().text.contains(
                      QStringLiteral("The SPL file %1 cannot be added: the document would be larger than the editor opens "
                                     "(up to %2 elements, 4000000 attributes and 67108864 bytes).")
                          .arg(file)
                          .arg(after - over)),
                  over == 1);
    }
    // A file past the node cap is refused before it is read into memory.
    test::writeTextFile(file, QStringLiteral("<document>%1</document>").arg(QStringLiteral("<!---->").repeated(1'000'000)));
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Section/component")));
    ui.openFiles.push_back(file);
    AddSPLR4Node(*editor, *editor->TreeView);
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.last().text.contains(QStringLiteral("holds more than 1,000,000 nodes (elements, attributes")));
}

TEST(NodeRules, RemoveAsksWithTheCaptionAndKeepsTheDocumentElement)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);

    editor->TreeView->selectNode(editor->TreeView->rootNode());
    RemoveSPLR4Node(*editor, *editor->TreeView);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(editor->XMLDoc->documentElement().isNull());

    ui.answers.push_back(ui::Answer::No);
    QTreeWidgetItem* name = nodeOf(*editor, QStringLiteral("//ProductName"));
    editor->TreeView->selectNode(name);
    RemoveSPLR4Node(*editor, *editor->TreeView);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Are you sure you want to remove '") + nodeCaption(name) + QStringLiteral("'?"));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//ProductName")).length(), 2);
    EXPECT_TRUE(editor->Saved);

    RemoveSPLR4Node(*editor, *editor->TreeView);
    EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//ProductName")).length(), 1);
    EXPECT_FALSE(editor->Saved);
}

TEST(NodeRules, RemoveOfAnElementWithANonNumericDenyRemoveEndsWithTheErrorMessage)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, Products);
    editor->XMLDoc->selectSingleNode(QStringLiteral("//Title")).setAttribute(QStringLiteral("ConstraintDenyRemove"), QStringLiteral("never"));
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Title")));

    RemoveSPLR4Node(*editor, *editor->TreeView);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_FALSE(editor->XMLDoc->selectSingleNode(QStringLiteral("//Title")).isNull());
    EXPECT_TRUE(editor->Saved);
}

TEST(NodeRules, AddOnAnSplFileElementImportsIntoTheSelectedElement)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    DialogRecorder dialogs;
    auto editor = test::openSettings(folder, Products);
    const QString spl = test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml"));
    xml::Document source;
    ASSERT_TRUE(source.load(spl));
    const int sections = source.selectNodes(QStringLiteral("document/component/structuredBody/component/section")).length();
    ASSERT_GT(sections, 1);

    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Section[1]/component")));
    ui.openFiles.push_back(std::nullopt);
    AddSPLR4Node(*editor, *editor->TreeView);
    EXPECT_FALSE(editor->XMLDoc->selectSingleNode(QStringLiteral("//Section[1]/component")).hasChildNodes());
    EXPECT_FALSE(editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());

    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//Section[1]/component")));
    ui.openFiles.push_back(spl);
    AddSPLR4Node(*editor, *editor->TreeView);
    EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//Section[1]/component/section")).length(), sections);
    EXPECT_FALSE(editor->XMLDoc->selectSingleNode(QStringLiteral("//Section[0]/component")).hasChildNodes());
    ASSERT_EQ(ui.fileRequests.size(), 2);
    EXPECT_TRUE(ui.fileRequests[1].filter.contains(QStringLiteral("*.xml")));
    // The imported markup got its ids with the rebuild, so it shows in the tree.
    const xml::Node firstSection = editor->XMLDoc->selectSingleNode(QStringLiteral("//Section[1]/component/section"));
    EXPECT_NE(editor->TreeView->nodeByKey(idOf(firstSection)), nullptr);
    EXPECT_TRUE(dialogs.requests.empty());
}
