#include "app/window/Captions.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace veldra;

TEST(WindowHelpersCaptions, SplitCamelCaseMakesWords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"SectionTitle", "Section Title"}, {"DocumentID", "Document ID"}, {"HTMLFile", "HTML File"},
        {"SPLR4", "SPLR4"},                {"Address1", "Address 1"},     {"Word2SPLID", "Word 2SPLID"},
        {"DosageForm", "Dosage Form"},     {"NCICode", "NCI Code"},       {"IDNumber", "ID Number"},
        {"SPL2Section", "SPL2 Section"},   {"Address12", "Address 12"},   {"my_name", "my _name"},
        {"Section Title", "Section Title"}, {"", ""},                     {"a", "a"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(SplitCamelCase(in), out) << in;
}

TEST(WindowHelpersCaptions, GetNamePartTakesTheElementName)
{
    EXPECT_EQ(GetNamePart("Section Title: 1 INDICATIONS [x]"), "Section Title");
    EXPECT_EQ(GetNamePart("ProductLabel"), "ProductLabel");
    EXPECT_EQ(GetNamePart("Section [@ID=\"a:b\"]"), "Section");
    EXPECT_EQ(GetNamePart("[x]"), "");
    EXPECT_EQ(GetNamePart(" Name "), " Name ");
    EXPECT_EQ(GetNamePart(" Name : value"), "Name");
}

namespace {

struct Tree {
    QTreeWidget widget;
    QTreeWidgetItem* root = new QTreeWidgetItem(&widget, {"SPLR4"});
    QTreeWidgetItem* general = new QTreeWidgetItem(root, {"GeneralData"});
    QTreeWidgetItem* documentId = new QTreeWidgetItem(general, {"DocumentID: 123 [@Kind=\"x\"]"});
    QTreeWidgetItem* effective = new QTreeWidgetItem(general, {"EffectiveTime"});
    QTreeWidgetItem* label = new QTreeWidgetItem(root, {"ProductLabel"});
    QTreeWidgetItem* sections = new QTreeWidgetItem(label, {"DocumentSections"});
    QTreeWidgetItem* title = new QTreeWidgetItem(sections, {"SectionTitle"});
};

QString imageKey(const QTreeWidgetItem* item)
{
    return item->data(0, TreeImageList::ImageKeyRole).toString();
}

QIcon colourIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(4, 4);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

TEST(WindowHelpersCaptions, RefreshTreeCaptionsGivesWordsPicturesAndEmphasis)
{
    Tree tree;
    tree.effective->setForeground(0, QColor(Qt::red));
    auto* images = new TreeImageList(&tree.widget);
    images->add("splr4", colourIcon(Qt::blue));
    images->add("generaldata", colourIcon(Qt::green));
    images->add("documentid", colourIcon(Qt::yellow));
    images->add("generalpropertyimage", colourIcon(Qt::gray));

    for (int pass = 0; pass < 2; ++pass) {
        RefreshTreeCaptions(tree.root);
        EXPECT_EQ(tree.root->text(0), "SPLR4");
        EXPECT_EQ(tree.general->text(0), "General Data");
        EXPECT_EQ(tree.documentId->text(0), "DocumentID: 123 [@Kind=\"x\"]") << "captions with a value stay";
        EXPECT_EQ(tree.effective->text(0), "Effective Time");
        EXPECT_EQ(tree.sections->text(0), "Document Sections");
        EXPECT_EQ(tree.title->text(0), "Section Title");
    }
    EXPECT_EQ(imageKey(tree.root), "splr4");
    EXPECT_EQ(imageKey(tree.general), "generaldata");
    EXPECT_EQ(imageKey(tree.documentId), "documentid");
    EXPECT_EQ(imageKey(tree.effective), "generalpropertyimage");
    EXPECT_EQ(imageKey(tree.title), "generalpropertyimage");
    EXPECT_FALSE(tree.general->icon(0).isNull());

    for (QTreeWidgetItem* parent : {tree.general, tree.label, tree.sections})
        EXPECT_TRUE(parent->font(0).bold()) << parent->text(0).toStdString();
    for (QTreeWidgetItem* leaf : {tree.documentId, tree.effective, tree.title}) {
        EXPECT_FALSE(leaf->font(0).bold());
        EXPECT_EQ(leaf->foreground(0).color(), QColor(0, 0, 0));
    }
}

TEST(WindowHelpersCaptions, RefreshTreeCaptionsWithoutPictures)
{
    Tree tree;
    RefreshTreeCaptions(tree.general);  // a tree without an image list still gets its captions
    EXPECT_EQ(tree.effective->text(0), "Effective Time");
    EXPECT_TRUE(tree.effective->icon(0).isNull());

    auto* images = new TreeImageList(&tree.widget);
    images->add("generalpropertyimage", colourIcon(Qt::gray));
    tree.root->setIcon(0, colourIcon(Qt::blue));
    RefreshTreeCaptions(tree.label);
    EXPECT_TRUE(tree.root->icon(0).isNull()) << "a root without a picture of its own shows none";
    EXPECT_EQ(imageKey(tree.title), "generalpropertyimage");
    EXPECT_EQ(TreeImageList::of(&tree.widget), images);

    QTreeWidgetItem leaf({"LeafOnly"});
    RefreshTreeCaptions(&leaf);
    EXPECT_EQ(leaf.text(0), "LeafOnly");
}
