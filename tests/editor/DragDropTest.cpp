// Copying data by drag and drop, inside one editor and between editors.

#include "TreeViewFixture.h"

#include "app/Hooks.h"
#include "editor/SmallEditorLimit.h"
#include "editor/tree/DragDrop.h"
#include "editor/tree/TreePaths.h"
#include "platform/xml/tree/Document.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSet>
#include <QUrl>

namespace veldra::test {
namespace {

const QString Labels = R"(<SPLR4>
  <Product><ProductName>Aspirin</ProductName><DosageForm>TABLET</DosageForm>
    <Ingredient><IngredientName>ASPIRIN</IngredientName><Strength>81</Strength></Ingredient></Product>
  <Product><ProductName>Other</ProductName><DosageForm/>
    <Ingredient><IngredientName>NONE</IngredientName><Strength>0</Strength></Ingredient></Product>
  <Package><ProductName>Box</ProductName><DosageForm>CARTON</DosageForm><Ingredient><IngredientName>X</IngredientName></Ingredient></Package>
  <Attachment ConstraintDataType="SPLFile"/>
  <Empty/>
</SPLR4>)";

class DragDropTest : public TreeViewFixture {
protected:
    // The n-th (0-based) node of the element named `caption` (in words).
    static QTreeWidgetItem* nth(frmXMLEditor* editor, const QString& caption, int n)
    {
        QTreeWidgetItem* found = nullptr;
        editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
            const QString text = nodeCaption(item);
            const bool named = text == caption || text.startsWith(caption + ":");
            if (!found && named && n-- == 0)
                found = item;
        });
        return found;
    }
    static QString path(QTreeWidgetItem* item) { return BuildXPathFromTreeView(item, "SPLR4"); }
    static bool copy(frmXMLEditor* editor, QTreeWidgetItem* from, QTreeWidgetItem* to)
    {
        return CopyNodeData(*editor->XMLDoc, *editor->XMLDoc, path(from), path(to), to);
    }
};

TEST_F(DragDropTest, AValueOnAValueCopiesItAndRewritesTheCaptionOnly)
{
    frmXMLEditor* editor = openSettings(Labels);
    QTreeWidgetItem* target = nth(editor, "Product Name", 1);

    EXPECT_FALSE(copy(editor, nth(editor, "Dosage Form", 0), target));

    EXPECT_EQ(texts(editor, "//ProductName"), QStringList({"Aspirin", "TABLET", "Box"}));
    EXPECT_EQ(nodeCaption(target), "Product Name: TABLET");
}

TEST_F(DragDropTest, AGroupOnAGroupOfItsNameReplacesItByACopyWithNewIds)
{
    frmXMLEditor* editor = openSettings(Labels);
    const QStringList sourceIds = texts(editor, "//Product[0]//@Word2SPLID");

    EXPECT_TRUE(copy(editor, nth(editor, "Product", 0), nth(editor, "Product", 1)));

    EXPECT_EQ(texts(editor, "//Product/ProductName"), QStringList({"Aspirin", "Aspirin"}));
    EXPECT_EQ(texts(editor, "//Product[1]//Strength"), QStringList({"81"}));
    const QStringList copyIds = texts(editor, "//Product[1]//@Word2SPLID");
    EXPECT_EQ(copyIds.size(), sourceIds.size());
    EXPECT_TRUE(QSet<QString>(copyIds.begin(), copyIds.end()).intersect(QSet<QString>(sourceIds.begin(), sourceIds.end())).isEmpty());
    EXPECT_EQ(texts(editor, "//Product[0]//@Word2SPLID"), sourceIds);
}

// A copy that would make the document larger than the editor opens is refused with the
// reason and changes nothing: a group that replaces a smaller one of its name, at the limit
// and one element over it; a group's text onto an empty element, past the bytes.
TEST_F(DragDropTest, ACopyIsMadeOnlyWhileTheDocumentStillOpensWithIt)
{
    const QString document =
        "<SPLR4><Product><A>1</A><B>2</B><C>3</C></Product><Product><A>x</A></Product><Empty/><Package><A>y</A></Package></SPLR4>";
    const qint64 after = 1 + 4 + 4 + 1 + 2;
    const struct {
        const char* name;
        qint64 elements;
        qint64 bytes;
        const char* to;
        bool copied;
    } rows[] = {
        {"at the limit", after, 64 * 1024 * 1024, "Product", true},
        {"one element over", after - 1, 64 * 1024 * 1024, "Product", false},
        {"the text past the bytes", after, 1, "Empty", false},
        {"the values of like-named children past the bytes", after, 1, "Package", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        frmXMLEditor* editor = openSettings(document);
        const QString before = editor->XMLDoc->xml();
        ui.messages.clear();
        const SmallEditorLimit limit(row.elements, row.bytes);

        copy(editor, nth(editor, "Product", 0), nth(editor, row.to, QString(row.to) == "Product" ? 1 : 0));

        EXPECT_EQ(editor->XMLDoc->xml() == before, !row.copied);
        const QString said = ui.messages.isEmpty() ? QString() : ui.messages.last().text;
        EXPECT_EQ(said.startsWith(QStringLiteral("'Product' cannot be copied onto '%1': the document would be larger than the "
                                                 "editor opens (up to ")
                                      .arg(row.to)),
                  !row.copied)
            << said.toStdString();
    }
}

TEST_F(DragDropTest, GroupsOfDifferentNamesCopyTheValuesOfLikeNamedChildrenOnly)
{
    frmXMLEditor* editor = openSettings(Labels);

    EXPECT_TRUE(copy(editor, nth(editor, "Product", 0), nth(editor, "Package", 0)));

    EXPECT_EQ(texts(editor, "//Package/ProductName"), QStringList({"Aspirin"}));
    EXPECT_EQ(texts(editor, "//Package/DosageForm"), QStringList({"TABLET"}));
    // A child holding elements of its own is left alone.
    EXPECT_EQ(texts(editor, "//Package/Ingredient/IngredientName"), QStringList({"X"}));
}

TEST_F(DragDropTest, AnEmptyElementEmptiesAValueButNeverWipesOutAGroup)
{
    frmXMLEditor* editor = openSettings(Labels);

    EXPECT_FALSE(copy(editor, nth(editor, "Empty", 0), nth(editor, "Dosage Form", 0)));
    EXPECT_EQ(texts(editor, "//DosageForm").value(0), "");

    EXPECT_FALSE(copy(editor, nth(editor, "Empty", 0), nth(editor, "Ingredient", 0)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(texts(editor, "//Product[0]/Ingredient/IngredientName"), QStringList({"ASPIRIN"}));
}

TEST_F(DragDropTest, AnSPLFileElementOfTheSameNameIsReplacedWhole)
{
    frmXMLEditor* editor = openSettings(R"(<SPLR4>
  <Attachment ConstraintDataType="SPLFile"><section><title>Boxed warning</title></section></Attachment>
  <Attachment ConstraintDataType="SPLFile"/>
</SPLR4>)");

    EXPECT_TRUE(copy(editor, nth(editor, "Attachment", 0), nth(editor, "Attachment", 1)));

    EXPECT_EQ(texts(editor, "//Attachment//title"), QStringList({"Boxed warning", "Boxed warning"}));
}

TEST_F(DragDropTest, ANodeDroppedOnItselfChangesNothing)
{
    frmXMLEditor* editor = openSettings(Labels);
    QTreeWidgetItem* name = select(editor, "Product Name: Aspirin");
    editor->TreeView->draggedKey = nodeKey(name);
    QMimeData data;
    data.setText(nodeCaption(name));

    editor->TreeView_OLEDragDrop(data, name, editor->TreeView);

    EXPECT_EQ(texts(editor, "//ProductName").value(0), "Aspirin");
    EXPECT_TRUE(editor->Saved);
}

TEST_F(DragDropTest, ANodeDroppedOnAnotherEditorCopiesIntoThatEditorsDocument)
{
    frmXMLEditor* source = openSettings(Labels, "Source.xml");
    frmXMLEditor* target = openSettings(Labels, "Target.xml");
    QTreeWidgetItem* dragged = select(source, "Dosage Form: TABLET");
    source->TreeView->draggedKey = nodeKey(dragged);
    QMimeData data;
    data.setText(nodeCaption(dragged));

    target->TreeView_OLEDragDrop(data, nth(target, "Product Name", 1), source->TreeView);

    EXPECT_EQ(texts(target, "//ProductName").value(1), "TABLET");
    EXPECT_FALSE(target->Saved);
    EXPECT_EQ(texts(source, "//ProductName").value(1), "Other");
    EXPECT_TRUE(source->Saved);
}

TEST_F(DragDropTest, TextDroppedOnTheSelectedNodeBecomesItsValue)
{
    frmXMLEditor* editor = openSettings(Labels);
    QTreeWidgetItem* name = select(editor, "Product Name: Other");
    QMimeData data;
    data.setText("  Aspirin 81 mg  ");

    editor->TreeView_OLEDragDrop(data, name, nullptr);

    EXPECT_EQ(texts(editor, "//ProductName").value(1), "Aspirin 81 mg");
    EXPECT_NE(node(editor, "Product Name: Aspirin 81 mg"), nullptr);
    EXPECT_FALSE(editor->Saved);
}

// Dropped text counts what it adds in place of the value: 8 bytes here, at the limit and
// one byte over it.
TEST_F(DragDropTest, DroppedTextPastTheBytesTheEditorOpensIsRefusedWithTheReason)
{
    for (const qint64 over : {0, 1}) {
        SCOPED_TRACE(over);
        frmXMLEditor* editor = openSettings(Labels);
        ui.messages.clear();
        QTreeWidgetItem* name = select(editor, "Product Name: Other");
        const SmallEditorLimit limit(1'000, editor->XMLDoc->xmlBytes().size() + 8 - over);
        QMimeData data;
        data.setText("Aspirin 81 mg");

        editor->TreeView_OLEDragDrop(data, name, nullptr);

        EXPECT_EQ(texts(editor, "//ProductName").value(1), over ? "Other" : "Aspirin 81 mg");
        EXPECT_EQ(editor->Saved, over == 1);
        const QString said = ui.messages.isEmpty() ? QString() : ui.messages.last().text;
        EXPECT_EQ(said.startsWith("The dropped text cannot become the value of 'Product Name': the document would be larger "
                                  "than the editor opens (up to 1000 elements"),
                  over == 1)
            << said.toStdString();
    }
}

TEST_F(DragDropTest, TheTreeTakesDropsFromTheWindowSystem)
{
    frmXMLEditor* editor = openSettings(Labels);
    QTreeWidgetItem* name = select(editor, "Product Name: Other");
    QMimeData data;
    data.setText("Salicylic acid");
    const QPointF point = editor->TreeView->visualItemRect(name).center();

    QWidget* viewport = editor->TreeView->viewport();
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);

    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(texts(editor, "//ProductName").value(1), "Salicylic acid");
}

TEST_F(DragDropTest, DroppedFilesOpenAsDocumentsAndLeaveTheTreeAlone)
{
    frmXMLEditor* editor = openSettings(Labels);
    QStringList opened;
    hooks().OpenSettingsDocument = [&opened](const QString& path) { opened << path; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.file("a.XML")), QUrl::fromLocalFile(dir.file("b.txt"))});
    writeFile("a.XML", "<SPLR4/>");
    writeFile("b.txt", "text");

    editor->TreeView_OLEDragDrop(data, node(editor, "Product"), nullptr);
    hooks().OpenSettingsDocument = nullptr;

    EXPECT_EQ(opened, QStringList({dir.file("a.XML")}));
    EXPECT_TRUE(editor->Saved);
}

} // namespace
} // namespace veldra::test
