// The tree of an editor window: captions, pictures, keys, colours, the rebuild and the
// images folder.

#include "TreeViewFixture.h"

#include "app/window/Captions.h"
#include "editor/document/EditorLimit.h"
#include "editor/tree/TreeViewImages.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <memory>

namespace veldra::test {
namespace {

using TreeViewTest = TreeViewFixture;

bool isBold(const QTreeWidgetItem* item)
{
    return item->font(0).bold();
}

QString pictureKey(const QTreeWidgetItem* item)
{
    return item->data(0, TreeImageList::ImageKeyRole).toString();
}

TEST_F(TreeViewTest, SettingsCaptionsShowValuesAndOnlyTheVisibleAttributes)
{
    frmXMLEditor* editor = openSettings(sampleSettings());

    QTreeWidgetItem* root = editor->TreeView->rootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(nodeCaption(root), "SPLR4");
    EXPECT_TRUE(isBold(root));
    EXPECT_TRUE(root->isExpanded());

    // Definition and editor attributes are hidden (ID too: it occurs in "Word2SPLID");
    // other attributes follow the value in brackets.
    EXPECT_NE(node(editor, "Product Name: Aspirin [@lang=\"en\" @code=\"c1\"]"), nullptr);
    EXPECT_EQ(nodeCaption(node(editor, "Document ID")), "Document ID: d1");
    EXPECT_EQ(nodeCaption(node(editor, "Marketing")), "Marketing");

    QTreeWidgetItem* group = node(editor, "General Data");
    EXPECT_TRUE(isBold(group));
    EXPECT_EQ(group->childCount(), 2);
    EXPECT_FALSE(isBold(node(editor, "Title")));
    EXPECT_EQ(node(editor, "Title")->foreground(0).color(), QColor(0, 0, 0));
}

TEST_F(TreeViewTest, SettingsNodesGetThePictureOfTheirElementOrTheGeneralOne)
{
    frmXMLEditor* editor = openSettings(sampleSettings());

    EXPECT_EQ(pictureKey(editor->TreeView->rootNode()), "splr4");
    EXPECT_EQ(pictureKey(node(editor, "Document ID")), "documentid");
    EXPECT_EQ(pictureKey(node(editor, "Products")), "products");
    EXPECT_EQ(pictureKey(node(editor, "Marketing")), "marketing");
    EXPECT_FALSE(node(editor, "Title")->icon(0).isNull());
    EXPECT_EQ(pictureKey(node(editor, "Product Name")), "generalpropertyimage");
}

TEST_F(TreeViewTest, ViewModeShowsEveryAttributeAndTextAsNodesOfTheirOwn)
{
    frmXMLEditor* editor = openView(sampleSettings());

    QTreeWidgetItem* name = node(editor, "ProductName");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(nodeCaption(name), "ProductName [@lang=\"en\" @Color=\"255\" @ID=\"x\" @code=\"c1\"]");
    ASSERT_EQ(name->childCount(), 1);
    EXPECT_EQ(nodeCaption(name->child(0)), "Aspirin");
    EXPECT_TRUE(nodeKey(name->child(0)).isEmpty());
    EXPECT_TRUE(isBold(name));
    EXPECT_EQ(nodeCaption(editor->TreeView->rootNode()), "SPLR4");

    // A review window keeps no document and never writes ids into the file.
    EXPECT_EQ(editor->XMLDoc, nullptr);
    EXPECT_TRUE(editor->Saved);
    EXPECT_FALSE(readTextFile(dir.file("Review.xml")).contains("Word2SPLID"));
}

TEST_F(TreeViewTest, EveryElementGetsADistinctIdThatIsItsKeyAndSurvivesSaveAndReopen)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    const QRegularExpression idForm("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$");

    const QStringList ids = texts(editor, "//*/@Word2SPLID");
    EXPECT_EQ(ids.size(), editor->XMLDoc->selectNodes("//*").length());
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
    for (const QString& id : ids)
        EXPECT_TRUE(idForm.match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(keys(editor), ids);
    EXPECT_TRUE(editor->Saved) << "ids written at the load are no change of the user's";

    ASSERT_TRUE(editor->SaveXMLDoc(false));
    frmXMLEditor* reopened = openFile(editor->XMLFileName, "SPLR4");
    EXPECT_EQ(keys(reopened), ids);
    EXPECT_EQ(captions(reopened), captions(editor));
}

TEST_F(TreeViewTest, AFileThatDoesNotParseLeavesTheWindowWithoutADocumentAndUntouched)
{
    const QString broken = "<SPLR4><GeneralData></SPLR4>";
    frmXMLEditor* editor = openSettings(broken, "Broken.xml");

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains("Broken.xml"));
    EXPECT_EQ(editor->XMLDoc, nullptr);
    EXPECT_EQ(editor->TreeView->topLevelItemCount(), 0);

    editor->Saved = false;  // even a window marked changed has nothing to write
    EXPECT_FALSE(editor->SaveXMLDoc(false));
    EXPECT_FALSE(editor->SaveXMLDoc(true));
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_EQ(readTextFile(dir.file("Broken.xml")), broken);
}

// The editor's limit counts what it builds. Four megabytes of empty elements, comments or texts
// would take gigabytes of tree and are refused before they are parsed, as are attributes and
// namespace declarations beyond their limits; a document large in bytes but not in nodes (long
// texts) opens.
TEST_F(TreeViewTest, WhatTheEditorCannotHoldIsRefusedBeforeItIsParsedWhateverItsBytes)
{
    const QString limit = QStringLiteral("each text, comment and processing instruction counted as an element; the "
                                         "editor opens documents of up to 1000000 elements, 4000000 attributes and "
                                         "256 MiB, taking at most 1 GB in memory besides four bytes for each byte of "
                                         "the file (1.9 GB in all)).");
    const QByteArray declarations = test::namespaceDeclarations(kMaxNamespaceDeclarations + 1).toUtf8();
    const QByteArray eightAttributes = R"(<a b="" c="" d="" e="" f="" g="" h="" i=""/>)";
    const struct {
        const char* name;
        QByteArray body;
        QString says;
    } refused[] = {
        {"Elements.xml", "<SPLR4>" + QByteArray("<a/>").repeated(kMaxEditorElements) + "</SPLR4>",
         "Elements.xml is too large to open in the editor (1000001 elements and 0 attributes, " + limit},
        {"Attributes.xml", "<SPLR4 a=\"\">" + eightAttributes.repeated(kMaxEditorAttributes / 8) + "</SPLR4>",
         "Attributes.xml is too large to open in the editor (500001 elements and 4000001 attributes, " + limit},
        {"Dense.xml", "<SPLR4>" + QByteArray(R"(<a b=""/>)").repeated(720000) + "</SPLR4>",
         "Dense.xml is too large to open in the editor (720001 elements and 720000 attributes, " + limit},
        {"Comments.xml", "<SPLR4>" + QByteArray("<!---->").repeated(kMaxEditorElements) + "</SPLR4>",
         "Comments.xml is too large to open in the editor (1000001 elements and 0 attributes, " + limit},
        {"Texts.xml", "<SPLR4>" + QByteArray("<![CDATA[a]]>b").repeated(kMaxEditorElements / 2) + "</SPLR4>",
         "Texts.xml is too large to open in the editor (1000001 elements and 0 attributes, " + limit},
        {"LongText.xml", "<SPLR4>" + QByteArray(kMaxEditorTextCharacters + 1, 'x') + "</SPLR4>",
         "LongText.xml: The document holds a text or attribute value of more than 50,000,000 characters"},
        {"Namespaces.xml", "<SPLR4" + declarations + "/>",
         "Namespaces.xml: An element has more than 256 namespace declarations (xmlns attributes) in scope"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        frmXMLEditor* editor = openSettings(sampleSettings(), c.name);
        const QStringList before = captions(editor);
        QFile file(dir.file(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.body);
        file.close();
        ui.messages.clear();

        editor->XMLOnTreeView(editor->TreeView, file.fileName(), "Edit SPLR4", false);

        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.messages[0].text.contains(c.says)) << ui.messages[0].text.toStdString();
        EXPECT_EQ(captions(editor), before) << "the window keeps what it showed";
    }

    // One declaration fewer opens, for editing as for review.
    const QString atTheBound = "<SPLR4" + declarations.left(declarations.lastIndexOf(' ')) + "/>";
    ui.messages.clear();
    EXPECT_NE(openSettings(atTheBound, "Declaring.xml")->XMLDoc, nullptr);
    EXPECT_EQ(openView(atTheBound, "Declaring.xml")->TreeView->nodeCount(), 1);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.value(0).text.toStdString();

    const QString text = QString(20000, QLatin1Char('x'));
    QString large = "<SPLR4><Products>";
    for (int i = 0; i < 1800; ++i)
        large += "<Product><ProductName>P" + QString::number(i) + text + "</ProductName></Product>";
    large += "</Products></SPLR4>";
    ASSERT_GT(large.size(), 33 * 1024 * 1024);
    ui.messages.clear();
    frmXMLEditor* editor = openSettings(large, "Listing.xml");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.value(0).text.left(500).toStdString();
    ASSERT_NE(editor->XMLDoc, nullptr);
    EXPECT_EQ(editor->TreeView->nodeCount(), 2 + 2 * 1800);
}

// The memory the editor may take, on the shapes it was measured with: a file under 10 MB stays
// within about 1 GB, the largest a little under 2 GB, and a real listing of 1,000 products opens.
TEST(EditorLimitTest, TheMemoryBudgetKeepsSmallFilesUnder1GBAndAnyFileUnder2GB)
{
    const struct {
        const char* shape;
        DocumentSize size;
        bool opens;
    } rows[] = {
        {"a million empty elements, 4 MB", {1'000'000, 0, 4'000'000}, false},
        {"690,000 elements of one attribute, 6.2 MB", {690'000, 690'000, 6'210'000}, true},
        {"720,000 elements of one attribute, 6.5 MB", {720'000, 720'000, 6'480'000}, false},
        {"a listing of 1,000 products, 188 MB", {455'091, 1'404'000, 197'000'000}, true},
        {"every count at its limit", {kMaxEditorElements, kMaxEditorAttributes, 256 * 1024 * 1024}, false},
        {"long texts, 256 MB", {2'000, 4'000, 256 * 1024 * 1024}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shape);
        EXPECT_EQ(fitsInEditor(row.size), row.opens);
        if (row.opens) {
            EXPECT_LE(editorMemoryOf(row.size), row.size.bytes < 10'000'000 ? 1'050'000'000 : 1'900'000'000);
        }
    }
}

TEST_F(TreeViewTest, RebuildKeepsExpansionSelectionAndColours)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    EditorTreeView* tree = editor->TreeView;
    node(editor, "Products")->setExpanded(true);
    node(editor, "Product Name: Aspirin Forte")->parent()->setExpanded(true);
    QTreeWidgetItem* firstProduct = node(editor, "Product Name: Aspirin [")->parent();
    firstProduct->setExpanded(true);
    select(editor, "Title");
    const QString titleKey = nodeKey(tree->selectedNode());
    setNodeBackColor(node(editor, "Document ID"), QColor(255, 255, 0));  // a search mark

    // The first product goes; its node does not come back, the others keep their state.
    const QString removedKey = nodeKey(firstProduct);
    const xml::Node product = editor->XMLDoc->selectSingleNode("//Product[@Word2SPLID='" + removedKey + "']");
    product.parentNode().removeChild(product);
    editor->RefreshXML(true);

    EXPECT_EQ(tree->nodeByKey(removedKey), nullptr);
    EXPECT_TRUE(node(editor, "Products")->isExpanded());
    EXPECT_TRUE(node(editor, "Product Name: Aspirin Forte")->parent()->isExpanded());
    EXPECT_FALSE(node(editor, "Ingredient")->isExpanded());
    EXPECT_EQ(nodeKey(tree->selectedNode()), titleKey);
    EXPECT_EQ(nodeBackColor(node(editor, "Document ID")), QColor(255, 255, 0));

    // Without KeepColor the marks go and the colours of Color attributes stay.
    editor->XMLDoc->selectSingleNode("//Title").setAttribute("Color", "65280");
    editor->RefreshXML(false);
    EXPECT_EQ(nodeBackColor(node(editor, "Document ID")), QColor(Qt::white));
    EXPECT_EQ(nodeBackColor(node(editor, "Title")), QColor(0, 255, 0));
    EXPECT_EQ(nodeKey(tree->selectedNode()), titleKey);

    // A collapsed group stays collapsed, also around the selected node.
    node(editor, "General Data")->setExpanded(false);
    editor->RefreshXML(false);
    EXPECT_FALSE(node(editor, "General Data")->isExpanded());
    EXPECT_EQ(nodeKey(tree->selectedNode()), titleKey);
}

// What the open gives a node: caption, emphasis, picture and key.
QString looksOf(const QTreeWidgetItem* item)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(nodeCaption(item))
        .arg(isBold(item))
        .arg(item->data(0, Qt::ForegroundRole).value<QBrush>().color().name())
        .arg(pictureKey(item))
        .arg(item->icon(0).isNull())
        .arg(nodeKey(item));
}

QStringList looks(const frmXMLEditor* editor)
{
    QStringList all;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) { all << looksOf(item); });
    return all;
}

// The looks of `item` and everything below it, depth first.
QStringList looksBelow(const QTreeWidgetItem* item)
{
    QStringList all{looksOf(item)};
    for (int i = 0; i < item->childCount(); ++i)
        all << looksBelow(item->child(i));
    return all;
}

// The open finishes each node as it is made; the tree-wide caption refresh is the reference
// and finds nothing to change, also where later elements repeat an earlier one's key and get
// nodes of their own.
TEST_F(TreeViewTest, ElementsRepeatingAKeyGetNodesOfTheirOwnWithTheirOwnCaptions)
{
    frmXMLEditor* editor = openSettings(R"(<SPLR4>
  <Product Word2SPLID="same"><ProductName>A</ProductName></Product>
  <Product Word2SPLID="same"><ProductName>B</ProductName></Product>
  <DocumentID Word2SPLID="leaf"/>
  <DocumentID Word2SPLID="leaf"><Title>T</Title></DocumentID>
  <Marketing Word2SPLID="text"><Title>T</Title></Marketing>
  <Marketing Word2SPLID="text" code="c">now with text</Marketing>
</SPLR4>)");

    EXPECT_EQ(editor->TreeView->rootNode()->childCount(), 6);
    EXPECT_EQ(editor->TreeView->nodeByKey("same")->childCount(), 1);
    EXPECT_FALSE(isBold(editor->TreeView->nodeByKey("leaf")));
    EXPECT_EQ(nodeCaption(editor->TreeView->nodeByKey("text")), "Marketing");
    EXPECT_TRUE(captions(editor).contains("Marketing: now with text [@code=\"c\"]"));

    for (const QString& settings : {sampleSettings(), QString()}) {
        frmXMLEditor* opened = settings.isEmpty() ? editor : openSettings(settings, "Sample.xml");
        const QStringList asOpened = looks(opened);
        const std::unique_ptr<QTreeWidgetItem> copy(opened->TreeView->rootNode()->clone());
        RefreshTreeCaptions(opened->TreeView->rootNode());
        EXPECT_EQ(looks(opened), asOpened);
        EXPECT_EQ(looksBelow(copy.get()), asOpened) << "a copy shows what its original showed";
    }
}

// What is set on a node after the open (a rewritten caption, a search mark, a picture or
// font of its own) replaces what the open gave it, also in a copy of the node.
TEST_F(TreeViewTest, WhatIsSetOnANodeReplacesWhatTheOpenGaveItAndCopiesKeepIt)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    QTreeWidgetItem* title = node(editor, "Title");
    QTreeWidgetItem* group = node(editor, "General Data");
    const QString titleKey = nodeKey(title);

    setNodeCaption(title, "Title: Rewritten");
    setNodeBackColor(title, QColor(255, 255, 0));
    title->setForeground(0, QColor(255, 0, 0));
    title->setIcon(0, QIcon());
    title->setData(0, TreeImageList::ImageKeyRole, QVariant());
    QFont plain = group->font(0);
    plain.setBold(false);
    group->setFont(0, plain);

    for (const QTreeWidgetItem* shown : {title, group}) {
        const std::unique_ptr<QTreeWidgetItem> copy(shown->clone());
        EXPECT_EQ(looksBelow(copy.get()), looksBelow(shown));
    }
    EXPECT_EQ(looksOf(title), "Title: Rewritten|0|#ff0000||1|" + titleKey);
    EXPECT_EQ(nodeBackColor(title), QColor(255, 255, 0));
    EXPECT_FALSE(isBold(group));
    EXPECT_EQ(pictureKey(group), "generaldata");
    EXPECT_EQ(editor->TreeView->nodeByKey(titleKey), title);

    // A rebuild gives every node what the document says again.
    editor->RefreshXML(false);
    EXPECT_EQ(nodeCaption(editor->TreeView->nodeByKey(titleKey)), "Title: Aspirin Tablets");
    EXPECT_TRUE(isBold(node(editor, "General Data")));
}

TEST_F(TreeViewTest, PicturesAreKeyedByFileNameAndFilesThatAreNoPicturesAreSkipped)
{
    TempDir images;
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(images.file("Labeler.Small.png")));
    writeTextFile(images.file("notes.txt"), "not a picture");
    writeTextFile(images.file("broken.png"), "not a picture either");
    ASSERT_TRUE(picture.save(images.file("zeta.png")));
    ASSERT_TRUE(picture.save(images.file("Zeta.bmp")));  // its key is taken

    const auto loaded = loadTreeViewImages(images.path());
    EXPECT_EQ(QSet<QString>(loaded.keyBegin(), loaded.keyEnd()), QSet<QString>({"labeler", "zeta"}));
}

// The tree's model is a child of the view and goes after the view's own destructor has run;
// while it goes it resets itself, and that reset must not reach the half-destroyed view.
TEST_F(TreeViewTest, TheModelNoLongerSignalsTheViewOnceTheViewIsBeingDestroyed)
{
    auto* view = new EditorTreeView;
    view->addTopLevelItem(new QTreeWidgetItem(QStringList("node")));
    QAbstractItemModel* model = view->model();
    bool resetWentToTheView = false;
    QObject::connect(model, &QAbstractItemModel::modelReset, model, [&] {
        resetWentToTheView = QObject::disconnect(model, &QAbstractItemModel::modelReset, view, nullptr);
    });
    delete view;
    EXPECT_FALSE(resetWentToTheView);
}

} // namespace
} // namespace veldra::test
