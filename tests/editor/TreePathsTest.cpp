#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/HostileValues.h"

#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <memory>

using namespace veldra;

namespace {

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& caption, const QString& key)
{
    auto* node = new QTreeWidgetItem(parent);
    setNodeCaption(node, caption);
    setNodeKey(node, key);
    return node;
}

// SPLR4 > General Data (k2) > Document ID: abc (k3), the captions the tree fill gives.
struct SmallTree {
    std::unique_ptr<QTreeWidgetItem> root{new QTreeWidgetItem};
    QTreeWidgetItem* generalData = nullptr;
    QTreeWidgetItem* documentId = nullptr;

    SmallTree()
    {
        setNodeCaption(root.get(), QStringLiteral("SPLR4"));
        setNodeKey(root.get(), QStringLiteral("k1"));
        generalData = addNode(root.get(), QStringLiteral("General Data"), QStringLiteral("k2"));
        documentId = addNode(generalData, QStringLiteral("Document ID: abc [@lang=\"en\"]"), QStringLiteral("k3"));
    }
};

} // namespace

TEST(TreePaths, SettingsModeNamesTheElementByIdsAndOtherModesByPathOnly)
{
    SmallTree tree;
    EXPECT_EQ(BuildXPathFromTreeView(tree.documentId, QStringLiteral("SPLR4")),
              QStringLiteral("SPLR4/GeneralData[@Word2SPLID='k2']/DocumentID[@Word2SPLID='k3']"));
    EXPECT_EQ(BuildXPathFromTreeView(tree.documentId, QStringLiteral("View")), QStringLiteral("SPLR4/GeneralData/DocumentID"));
    EXPECT_EQ(BuildXPathFromTreeView(tree.documentId, QString()), QStringLiteral("SPLR4/GeneralData/DocumentID"));
    // The mode is compared exactly.
    EXPECT_EQ(BuildXPathFromTreeView(tree.documentId, QStringLiteral("splr4")), QStringLiteral("SPLR4/GeneralData/DocumentID"));
    // The root step never carries a predicate.
    EXPECT_EQ(BuildXPathFromTreeView(tree.root.get(), QStringLiteral("SPLR4")), QStringLiteral("SPLR4"));
}

TEST(TreePaths, PredicateTakesTheKeyAfterItsLastUnderscoreAndEmptyKeysGiveNone)
{
    SmallTree tree;
    setNodeKey(tree.generalData, QStringLiteral("a_b"));
    setNodeKey(tree.documentId, QString());
    EXPECT_EQ(BuildXPathFromTreeView(tree.documentId, QStringLiteral("SPLR4")),
              QStringLiteral("SPLR4/GeneralData[@Word2SPLID='b']/DocumentID"));
}

// An element's id comes from the document's file, which may come from anyone: whatever quotes
// and query text it holds, the path selects the element that carries it and no other.
TEST(TreePaths, AnIdIsComparedAsOneTextWhateverItHolds)
{
    const QStringList ids = QStringList{QStringLiteral("k2' or @Word2SPLID!='"), QStringLiteral("k2\" or @Word2SPLID!=\""),
                                        QStringLiteral("k2' or \"x\"!='"), QStringLiteral("k 2")}
        + test::hostileQueryValues() + QStringList{test::quotePairs(100000)};
    for (const QString& id : ids) {
        SCOPED_TRACE(id.left(40).toStdString());
        SmallTree tree;
        setNodeKey(tree.generalData, id);
        QString body = QStringLiteral("<SPLR4><GeneralData/><GeneralData Word2SPLID='other'/></SPLR4>");
        xml::Document doc;
        ASSERT_TRUE(doc.loadXml(body));
        doc.selectSingleNode(QStringLiteral("SPLR4/GeneralData")).setAttribute(QStringLiteral("Word2SPLID"), id);

        const xml::NodeList found = doc.selectNodes(BuildXPathFromTreeView(tree.generalData, QStringLiteral("SPLR4")));

        ASSERT_EQ(found.length(), 1);
        EXPECT_EQ(found.item(0).getAttribute(QStringLiteral("Word2SPLID")), id);
    }
}

TEST(TreePaths, NoNodeIsAnErrorNamingTheProcedure)
{
    try {
        BuildXPathFromTreeView(nullptr, QStringLiteral("SPLR4"));
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(" - BuildXPathFromTreeView"))) << e.text().toStdString();
    }
}

TEST(TreePaths, CaptionPartsKeepTheirOwnRules)
{
    SmallTree tree;
    QTreeWidgetItem* product = addNode(tree.root.get(), QStringLiteral("Product Name: Aspirin [@lang=\"en\"]"), QStringLiteral("p"));
    EXPECT_EQ(GetNodeNameFromCaption(product), QStringLiteral("ProductName"));
    EXPECT_EQ(GetValueFromCaption(product), QStringLiteral("Aspirin [@lang=\"en\"]"));

    QTreeWidgetItem* section = addNode(tree.root.get(), QStringLiteral("Section [@ID=\"s1\"]"), QStringLiteral("s"));
    EXPECT_EQ(GetNodeNameFromCaption(section), QStringLiteral("Section[@ID=\"s1\"]"));
    EXPECT_EQ(GetValueFromCaption(section), QString());
    EXPECT_EQ(BuildXPathFromTreeView(section, QString()), QStringLiteral("SPLR4/Section"));
}

TEST(TreePaths, ElementPathRunsFromTheDocumentElementDown)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<SPLR4><GeneralData><DocumentID/></GeneralData></SPLR4>")));
    EXPECT_EQ(elementPath(doc.documentElement()), QStringLiteral("SPLR4"));
    EXPECT_EQ(elementPath(doc.selectSingleNode(QStringLiteral("//DocumentID"))), QStringLiteral("SPLR4/GeneralData/DocumentID"));
    EXPECT_EQ(elementPath(doc.asNode()), QString());
    const xml::Node detached = doc.createElement(QStringLiteral("Loose"));
    EXPECT_EQ(elementPath(detached), QString());
}

TEST(TreePaths, ValueOfTheElementBehindANodeIsFoundThroughNamespacedLabelText)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral(
        "<SPLR4 Word2SPLID='k1'><LabelText Word2SPLID='k2'><text xmlns='urn:hl7-org:v3' Word2SPLID='k3'>"
        "<paragraph Word2SPLID='k4'>Take <content Word2SPLID='k5'>one</content> daily</paragraph></text></LabelText></SPLR4>")));
    std::unique_ptr<QTreeWidgetItem> root(new QTreeWidgetItem);
    setNodeCaption(root.get(), QStringLiteral("SPLR4"));
    QTreeWidgetItem* labelText = addNode(root.get(), QStringLiteral("Label Text"), QStringLiteral("k2"));
    QTreeWidgetItem* text = addNode(labelText, QStringLiteral("text"), QStringLiteral("k3"));
    QTreeWidgetItem* paragraph = addNode(text, QStringLiteral("paragraph"), QStringLiteral("k4"));

    EXPECT_EQ(GetXMLValueFromTreeView(paragraph, doc), QStringLiteral("Take one daily"));
    EXPECT_EQ(GetXMLValueFromTreeView(labelText, doc), QStringLiteral("Take one daily"));
}

TEST(TreePaths, ReadingARemovedElementIsAnErrorNamingTheProcedure)
{
    SmallTree tree;
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<SPLR4><GeneralData Word2SPLID='k2'><DocumentID Word2SPLID='k3'>abc</DocumentID>"
                                           "</GeneralData></SPLR4>")));
    EXPECT_EQ(GetXMLValueFromTreeView(tree.documentId, doc), QStringLiteral("abc"));

    const xml::Node id = doc.selectSingleNode(QStringLiteral("//DocumentID"));
    id.parentNode().removeChild(id);
    try {
        GetXMLValueFromTreeView(tree.documentId, doc);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(" - GetXMLValueFromTreeView"))) << e.text().toStdString();
    }
}
