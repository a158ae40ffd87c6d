// Reversing the order of like-named elements.

#include "TreeViewFixture.h"

#include "editor/tree/Reorder.h"
#include "platform/xml/tree/Document.h"

#include <QSet>

namespace veldra::test {
namespace {

const QString Kit = R"(<SPLR4><Products>
  <Product><Name>P1</Name>
    <Part><PartID ConstraintDataType="GUID">g1</PartID><PartName>A</PartName></Part>
    <Part><PartID ConstraintDataType="GUID">g2</PartID><PartName>B</PartName></Part>
    <Note>n1</Note>
    <Part><PartID ConstraintDataType="GUID">g3</PartID><PartName>C</PartName></Part>
  </Product>
  <Product><Name>P2</Name>
    <Part><PartID ConstraintDataType="GUID">g4</PartID><PartName>D</PartName></Part>
    <Note>n2</Note>
  </Product>
</Products></SPLR4>)";

QStringList childNames(const xml::Node& element)
{
    QStringList names;
    for (const xml::Node& child : element.childNodes())
        names << (child.nodeName() == "Part" ? child.selectSingleNode("PartName").text() : child.nodeName());
    return names;
}

using ReorderTest = TreeViewFixture;

TEST_F(ReorderTest, ReversesLikeNamedElementsUnderEveryParentAndPutsThemLast)
{
    frmXMLEditor* editor = openSettings(Kit);
    const QStringList ids = texts(editor, "//*/@Word2SPLID");
    const QString selectedKey = nodeKey(select(editor, "Part Name: B")->parent());
    editor->TreeView->selectNode(editor->TreeView->nodeByKey(selectedKey));

    ReverseSortOrder(*editor, *editor->TreeView);

    const xml::NodeList products = editor->XMLDoc->selectNodes("//Product");
    EXPECT_EQ(childNames(products.item(0)), QStringList({"Name", "Note", "C", "B", "A"}));
    EXPECT_EQ(childNames(products.item(1)), QStringList({"Name", "Note", "D"}));
    // Ids and generated values stay; the same element stays selected; the tree follows.
    const QStringList after = texts(editor, "//*/@Word2SPLID");
    EXPECT_EQ(QSet<QString>(after.begin(), after.end()), QSet<QString>(ids.begin(), ids.end()));
    EXPECT_EQ(texts(editor, "//PartID"), QStringList({"g3", "g2", "g1", "g4"}));
    EXPECT_EQ(nodeKey(editor->TreeView->selectedNode()), selectedKey);
    EXPECT_EQ(nodeCaption(editor->TreeView->nodeByKey(selectedKey)->child(1)), "Part Name: B");
    EXPECT_FALSE(editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());

    ReverseSortOrder(*editor, *editor->TreeView);
    EXPECT_EQ(childNames(editor->XMLDoc->selectNodes("//Product").item(0)), QStringList({"Name", "Note", "A", "B", "C"}));
}

TEST_F(ReorderTest, ASingleElementMovesBehindItsSiblings)
{
    frmXMLEditor* editor = openSettings(Kit);
    select(editor, "Name: P2");

    ReverseSortOrder(*editor, *editor->TreeView);

    EXPECT_EQ(childNames(editor->XMLDoc->selectNodes("//Product").item(1)), QStringList({"D", "Note", "Name"}));
}

} // namespace
} // namespace veldra::test
