#include "editor/DefinitionTestFolder.h"
#include "editor/window/FieldDialogs.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/ScriptedUi.h"
#include "support/SkippedErrors.h"

#include <QRegularExpression>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::DefinitionTestFolder;

namespace {

xml::Node element(const QString& attributes, xml::Document& doc)
{
    EXPECT_TRUE(doc.loadXml(QStringLiteral("<Value ") + attributes + QStringLiteral("/>")));
    return doc.documentElement();
}

struct Check {
    bool accepted;
    QString message;
    ui::Icon icon = ui::Icon::None;
};

Check check(const QString& attributes, const QString& value, const QString& name = QStringLiteral("ProductName"))
{
    test::ScriptedUi ui;
    xml::Document doc;
    const bool accepted = ValidateNodeValue(element(attributes, doc), name, value);
    if (ui.messages.isEmpty())
        return {accepted, QString()};
    EXPECT_EQ(ui.messages.size(), 1);
    return {accepted, ui.messages[0].text, ui.messages[0].icon};
}

QString idOf(const xml::Node& node)
{
    return node.getAttribute(QStringLiteral("Word2SPLID"));
}

QTreeWidgetItem* nodeOf(frmXMLEditor& editor, const QString& query)
{
    return editor.TreeView->nodeByKey(idOf(editor.XMLDoc->selectSingleNode(query)));
}

struct DialogRecorder {
    std::vector<FieldDialogRequest> requests;
    DialogRecorder()
    {
        fieldDialogLauncher() = [this](const FieldDialogRequest& request) { requests.push_back(request); };
    }
    ~DialogRecorder() { fieldDialogLauncher() = nullptr; }
};

} // namespace

TEST(ValueChecks, AValueOutsideTheListIsPointedOutAndAcceptedWithoutFurtherChecks)
{
    const QString list = QStringLiteral("ConstraintValues='A;B &amp;amp; C' ConstraintLengthMin='5' ConstraintDataType='Numeric'");
    const Check outside = check(list, QStringLiteral("a"));
    EXPECT_TRUE(outside.accepted);
    EXPECT_EQ(outside.message,
              QStringLiteral("'Product Name' should be selected from the provided list, or from FDA provided values."));
    EXPECT_EQ(outside.icon, ui::Icon::Information);

    const QString plainList = QStringLiteral("ConstraintValues='A;B &amp;amp; C'");
    EXPECT_EQ(check(plainList, QStringLiteral("B & C")).message, QString());
    EXPECT_EQ(check(plainList, QStringLiteral("A")).message, QString());
    // A coded entry matches only whole.
    EXPECT_EQ(check(QStringLiteral("ConstraintValues='X1 {One};X2 {Two}'"), QStringLiteral("X1 {One}")).message, QString());
    EXPECT_FALSE(check(QStringLiteral("ConstraintValues='X1 {One};X2 {Two}'"), QStringLiteral("X1")).message.isEmpty());
}

TEST(ValueChecks, LengthsAndNumbersAreRefusedWithTheExampleInTheMessage)
{
    const Check tooShort = check(QStringLiteral("ConstraintLengthMin='3' ConstraintExample='Aspirin'"), QStringLiteral("ab"));
    EXPECT_FALSE(tooShort.accepted);
    EXPECT_EQ(tooShort.message, QStringLiteral("'Product Name' must have a minimum length of 3 (Aspirin)"));
    EXPECT_EQ(tooShort.icon, ui::Icon::Warning);
    EXPECT_TRUE(check(QStringLiteral("ConstraintLengthMin='3'"), QStringLiteral("abc")).accepted);

    EXPECT_TRUE(check(QStringLiteral("ConstraintLengthMax='5'"), QStringLiteral("abcde")).accepted);
    const Check tooLong = check(QStringLiteral("ConstraintLengthMax='5'"), QStringLiteral("abcdef"));
    EXPECT_FALSE(tooLong.accepted);
    EXPECT_EQ(tooLong.message, QStringLiteral("'Product Name' must have a maximum length of 5"));

    const QString numeric = QStringLiteral("ConstraintDataType='Numeric' ConstraintExample='12'");
    EXPECT_TRUE(check(numeric, QStringLiteral("12.5"), QStringLiteral("Strength")).accepted);
    const Check letters = check(numeric, QStringLiteral("12a"), QStringLiteral("Strength"));
    EXPECT_FALSE(letters.accepted);
    EXPECT_EQ(letters.message, QStringLiteral("'Strength' must be numeric (12)"));
    EXPECT_FALSE(check(numeric, QString(), QStringLiteral("Strength")).accepted);

    xml::Document doc;
    EXPECT_THROW(ValidateNodeValue(element(QStringLiteral("ConstraintLengthMax='ten'"), doc), QStringLiteral("A"), QStringLiteral("x")),
                 VbError);
    EXPECT_THROW(ValidateNodeValue(xml::Node(), QStringLiteral("A"), QStringLiteral("x")), VbError);
}

TEST(ValueChecks, WritingStoresTheCodeAndRewritesTheRightCaption)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, QStringLiteral(
        "<SPLR4><Products><Product><ProductName>Old</ProductName><DosageFormCode/></Product></Products></SPLR4>"));
    QTreeWidgetItem* product = nodeOf(*editor, QStringLiteral("//Product"));
    const QString productPath = BuildXPathFromTreeView(product, QStringLiteral("SPLR4"));

    // Through the group's node: the child of that name.
    QString value = QStringLiteral("C42998 {TABLET}");
    EXPECT_TRUE(SetValueToTreeViewXML(product, QStringLiteral("DosageFormCode"), value, productPath, *editor->XMLDoc));
    EXPECT_EQ(value, QStringLiteral("C42998"));
    EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("//DosageFormCode")).text(), QStringLiteral("C42998"));
    EXPECT_EQ(nodeCaption(nodeOf(*editor, QStringLiteral("//DosageFormCode"))), QStringLiteral("Dosage Form Code: C42998"));
    EXPECT_TRUE(ui.messages.isEmpty());

    // Through the value's own node.
    QTreeWidgetItem* name = nodeOf(*editor, QStringLiteral("//ProductName"));
    value = QStringLiteral("Aspirin");
    EXPECT_TRUE(SetValueToTreeViewXML(name, QStringLiteral("ProductName"), value,
                                      BuildXPathFromTreeView(name, QStringLiteral("SPLR4")), *editor->XMLDoc));
    EXPECT_EQ(nodeCaption(name), QStringLiteral("Product Name: Aspirin"));

    // Refused: nothing written.
    value = QStringLiteral("A");
    EXPECT_FALSE(SetValueToTreeViewXML(name, QStringLiteral("ProductName"), value,
                                       BuildXPathFromTreeView(name, QStringLiteral("SPLR4")), *editor->XMLDoc));
    EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("//ProductName")).text(), QStringLiteral("Aspirin"));

    // No element behind the path.
    value = QStringLiteral("x");
    try {
        SetValueToTreeViewXML(product, QStringLiteral("Missing"), value, productPath, *editor->XMLDoc);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(" - SetValueToTreeViewXML"))) << e.text().toStdString();
    }
}

TEST(ValueChecks, TestValuesMeetTheDefinition)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral(
        "<SPLR4 Word2SPLID='r'><Product Word2SPLID='p1'>"
        "<A ConstraintDataType='Numeric' ConstraintLengthMax='4'/>"
        "<B ConstraintDataType='Numeric'>9</B>"
        "<C ConstraintDataType='Numeric' ConstraintLengthMin='2'/>"
        "<Name>old</Name>"
        "<Form ConstraintValues='C42998 {TABLET};C25158 {CAPSULE}'/>"
        "<Unit ConstraintValues='mg;g'/>"
        "<Id ConstraintDataType='GUID'/>"
        "<Leaflet ConstraintDataType='File'>a.pdf</Leaflet>"
        "<Group Word2SPLID='g'><Inner/></Group>"
        "</Product></SPLR4>")));

    FillTestValues(doc);

    auto text = [&](const char* name) { return doc.selectSingleNode(QLatin1String(name)).text(); };
    EXPECT_EQ(text("//A"), QStringLiteral("1111"));
    EXPECT_EQ(text("//B"), QStringLiteral("123"));
    EXPECT_EQ(text("//C"), QStringLiteral("11"));
    EXPECT_EQ(text("//Name"), QStringLiteral("Product_Name_p1"));
    EXPECT_EQ(text("//Form"), QStringLiteral("C42998"));
    EXPECT_EQ(text("//Unit"), QStringLiteral("mg"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$")).match(text("//Id")).hasMatch());
    EXPECT_EQ(text("//Leaflet"), QStringLiteral("a.pdf"));
    EXPECT_EQ(text("//Inner"), QStringLiteral("Group_Inner_g"));
    EXPECT_TRUE(doc.selectSingleNode(QStringLiteral("//Group")).firstChild().nodeName() == QStringLiteral("Inner"));
}

TEST(ValueChecks, EditDialogGetsOneRowPerValue)
{
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    DialogRecorder dialogs;
    auto editor = test::openSettings(folder, QStringLiteral(
        "<SPLR4><Products><Product><ProductID>1</ProductID><ProductName>A</ProductName><DosageFormCode/>"
        "<Ingredient><IngredientName>x</IngredientName></Ingredient><!-- note --></Product></Products>"
        "<AVeryLongElementNameIndeed>v</AVeryLongElementNameIndeed></SPLR4>"));
    auto edit = [&](const QString& query) {
        editor->TreeView->selectNode(query.isEmpty() ? editor->TreeView->rootNode() : nodeOf(*editor, query));
        EditNodeData(*editor);
    };

    edit(QString());
    edit(QStringLiteral("//Products"));
    EXPECT_TRUE(dialogs.requests.empty());

    edit(QStringLiteral("//Product"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FieldDialogRequest& group = dialogs.requests[0];
    ASSERT_EQ(group.rows.size(), 3u);
    EXPECT_EQ(group.rows[0].nodeName(), QStringLiteral("ProductID"));
    EXPECT_EQ(group.rows[2].nodeName(), QStringLiteral("DosageFormCode"));
    EXPECT_EQ(group.caption, QStringLiteral("Products - Product"));
    EXPECT_EQ(group.frameCaption, group.caption);
    EXPECT_TRUE(group.Mode.isEmpty());

    edit(QStringLiteral("//AVeryLongElementNameIndeed"));
    ASSERT_EQ(dialogs.requests.size(), 2u);
    ASSERT_EQ(dialogs.requests[1].rows.size(), 1u);
    EXPECT_EQ(dialogs.requests[1].info, QStringLiteral("A Very Long Element ..."));
    EXPECT_EQ(infoCaption(QStringLiteral("Nineteen characters")), QStringLiteral("Nineteen characters"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(ValueChecks, DataTypeOfTheSelectedElement)
{
    veldra::test::ExpectSkippedErrors skipped;  // no node is selected at the end
    DefinitionTestFolder folder;
    test::ScriptedUi ui;
    auto editor = test::openSettings(folder, QStringLiteral(
        "<SPLR4><Products><Product><LeafletFile>a.pdf</LeafletFile><ProductName>A</ProductName></Product></Products></SPLR4>"));
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//LeafletFile")));
    EXPECT_EQ(GetNodeDataType(*editor), QStringLiteral("File"));
    editor->TreeView->selectNode(nodeOf(*editor, QStringLiteral("//ProductName")));
    EXPECT_EQ(GetNodeDataType(*editor), QString());
    editor->TreeView->selectNode(nullptr);
    EXPECT_EQ(GetNodeDataType(*editor), QString());
}
