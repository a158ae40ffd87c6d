// Importing a worksheet again, and what the tree holds selected around an import, through
// the real editor window, its tree and its node commands.
#include "editor/excel/ExcelImportTestSupport.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/Reorder.h"
#include "editor/tree/SelectionRequired.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "platform/xml/tree/Lookup.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/XlsxBuilder.h"
#include "support/XmlDocument.h"

#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

class ExcelReimportTest : public test::LogFixture {
protected:
    test::ProgramFolderCopy folder;
    test::TempDir dir;
    std::unique_ptr<frmXMLEditor> editor = test::newSettings();

    xml::Node products() const { return editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Products")); }

    // A product listing of two products, the second named `secondName`.
    QString writeListing(const QString& secondName)
    {
        test::XlsxBuilder book(dir.file("listing.xlsx"));
        book.sheet("Products")
            .row(1, {"Product NDC", "Name", "Generic name", "Package NDC", "Quantity", "Unit", "Form", "Form code", "Start"})
            .row(2, {"0071-0155", "Lipitor", "atorvastatin calcium", "0071-0155-23", 90, "1", "BOTTLE", "C43169", 20090101})
            .row(3, {"0071-0156", secondName, "atorvastatin calcium", "0071-0156-23", 90, "1", "BOTTLE", "C43169", 20090101});
        return book.save();
    }

    void importListing(const QString& path)
    {
        ui.openFiles.push_back(path);
        ui.answers = {ui::Answer::Yes};
        test::importAt(*editor, QStringLiteral("SPLR4/Products"));
    }

    void select(const xml::Node& element)
    {
        editor->TreeView->selectNode(editor->TreeView->nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID"))));
    }

    // Each record as its first two fields (a product's code and name, a lot's number and
    // package), in document order.
    QStringList listed(const QString& records = QStringLiteral("SPLR4/Products/Product")) const
    {
        QStringList list;
        for (const xml::Node& record : editor->XMLDoc->selectNodes(records))
            list << xml::textAt(record, QStringLiteral("*[0]")) + QLatin1Char('/') + xml::textAt(record, QStringLiteral("*[1]"));
        return list;
    }
};

// Import two products, fill one in beforehand, clone both, add one, reverse the order, import
// the worksheet again: only the two products it brought are replaced, where the first of
// them stood. A header of an older document, which notes no records, gives up only the
// records the worksheet brings again unchanged.
TEST_F(ExcelReimportTest, AReimportReplacesOnlyTheProductsTheWorksheetBrought)
{
    products().selectSingleNode(QStringLiteral("Product/NDCProductCode")).setText(QStringLiteral("0071-0001"));
    editor->RefreshXML(true);
    importListing(writeListing("Lipitor 20"));
    ASSERT_EQ(listed(), QStringList({"0071-0001/", "0071-0155/Lipitor", "0071-0156/Lipitor 20"}));

    for (const char* code : {"0071-0155", "0071-0156"}) {
        select(products().selectSingleNode(QStringLiteral("Product[NDCProductCode='%1']").arg(QLatin1String(code))));
        ui.answers = {ui::Answer::Yes};
        editor->CloneNode();
        const xml::Node clone = products().selectSingleNode(QStringLiteral("Product[NDCProductCode='%1']").arg(QLatin1String(code)));
        const xml::Node name = clone.selectSingleNode(QStringLiteral("ProprietaryName"));
        name.setText(QStringLiteral("Clone of ") + name.text());
    }
    editor->RefreshXML(true);
    QTreeWidgetItem* list = editor->TreeView->nodeByKey(products().getAttribute(QStringLiteral("Word2SPLID")));
    QString chosen = QStringLiteral("Product");
    ASSERT_TRUE(AddNodeToTreeViewXML(*editor, list, QStringLiteral("Products"), chosen,
                                     BuildXPathFromTreeView(list, SettingsMode), *editor->XMLDoc));
    select(products().selectSingleNode(QStringLiteral("Product")));
    ReverseSortOrder(*editor, *editor->TreeView);
    ASSERT_EQ(listed(), QStringList({"0071-0156/Lipitor 20", "0071-0156/Clone of Lipitor 20", "0071-0155/Lipitor",
                                     "0071-0155/Clone of Lipitor", "0071-0001/", "/"}));

    importListing(writeListing("Lipitor 20 mg"));
    EXPECT_EQ(listed(), QStringList({"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Clone of Lipitor 20",
                                     "0071-0155/Clone of Lipitor", "0071-0001/", "/"}));

    // An older document: its header does not say which records the worksheet brought.
    products().selectSingleNode(QStringLiteral("WorkSheet")).removeAttribute(QStringLiteral("ImportedRecords"));
    importListing(writeListing("Lipitor 40"));
    EXPECT_EQ(listed(), QStringList({"0071-0155/Lipitor", "0071-0156/Lipitor 40", "0071-0156/Lipitor 20 mg",
                                     "0071-0156/Clone of Lipitor 20", "0071-0155/Clone of Lipitor", "0071-0001/", "/"}));
    EXPECT_EQ(products().selectNodes(QStringLiteral("ExcelFile")).length(), 1);
    const QString sheetKey = products().selectSingleNode(QStringLiteral("WorkSheet")).getAttribute(QStringLiteral("Word2SPLID"));
    EXPECT_EQ(nodeCaption(editor->TreeView->nodeByKey(sheetKey)), QStringLiteral("Work Sheet: Products"))
        << "the note stays out of the caption";
}

// After an import the element it was started on stays selected, and open on what came in,
// so the next import finds it; a command that needs a selection says so in plain words when
// there is none.
TEST_F(ExcelReimportTest, TheImportedElementStaysSelectedAndCommandsWithoutOneSaySo)
{
    const QString path = writeListing("Lipitor 20");
    importListing(path);
    QTreeWidgetItem* started = editor->TreeView->nodeByKey(products().getAttribute(QStringLiteral("Word2SPLID")));
    ASSERT_NE(editor->TreeView->selectedNode(), nullptr);
    EXPECT_EQ(editor->TreeView->selectedNode(), started);
    EXPECT_EQ(editor->TreeView->selectedItems(), QList<QTreeWidgetItem*>({started}));
    EXPECT_TRUE(started->isExpanded());

    ui.messages.clear();
    ui.openFiles.push_back(path);
    ui.answers = {ui::Answer::Yes};
    hooks().ImportFromExcel(editor.get());
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.at(1).text, QStringLiteral("Excel Import of 'Products' completed."));

    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"import from Excel", [&] { hooks().ImportFromExcel(editor.get()); }},
        {"reverse sort order", [&] { hooks().ReverseSortOrder(editor.get()); }},
        {"clone", [&] { editor->CloneNode(); }},
        {"add", [&] { editor->AddNode(); }},
        {"edit", [&] { editor->DataEdit(); }},
        {"remove", [&] { editor->DeleteNode(); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        editor->TreeView->setCurrentItem(nullptr);
        ui.messages.clear();
        const QString before = editor->XMLDoc->xml();
        command();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages.at(0).text, QString::fromLatin1(kSelectElementFirst));
        EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Information);
        EXPECT_EQ(editor->XMLDoc->xml(), before);
    }
}

// A lot report of two lots, the second of package `second`.
QString writeLots(const test::TempDir& dir, const QString& second)
{
    test::XlsxBuilder book(dir.file("lots.xlsx"));
    book.sheet("Lots")
        .row(1, {"Lot number", "NDC package code", "Expiration date", "Quantity"})
        .row(2, {"A100", "0071-0155-23", 20270531, 1200})
        .row(3, {"B200", second, 20270630, 300});
    return book.save();
}

// Edits of a saved document's second record as a text editor makes them.
enum HandEdit { PasteBefore = 1, PasteAfter = 2, Underscore = 4 };

void editByHand(const xml::Node& second, int edit)
{
    const QString id = QStringLiteral("Word2SPLID"), noted = QStringLiteral("ImportedRecords");
    const xml::Node list = second.parentNode(), note = list.selectSingleNode(QStringLiteral("WorkSheet"));
    if (edit & Underscore) {
        note.setAttribute(noted, note.getAttribute(noted).replace(second.getAttribute(id), QStringLiteral("old_1")));
        second.setAttribute(id, QStringLiteral("old_1"));
    }
    const xml::Node copy = second.cloneNode(true);
    copy.selectSingleNode(QStringLiteral("*[0]")).setText(QStringLiteral("MINE"));
    copy.selectSingleNode(QStringLiteral("*[1]")).setText(QStringLiteral("My own"));
    if (edit & (PasteBefore | PasteAfter))
        list.insertBefore(copy, edit & PasteBefore ? list.selectSingleNode(second.nodeName()) : second.nextSibling());
}

// A record copied by hand in the saved file, the file opened as the editor opens it, and the
// worksheet imported again with its second row changed: the copy always survives. Where the
// open can tell which record the worksheet brought, that one is replaced; where two elements
// hold the id the worksheet noted, both stay, the log says so, and the record comes anew.
TEST_F(ExcelReimportTest, ARecordCopiedByHandSurvivesTheNextImportOfItsWorksheet)
{
    struct Row {
        const char* name;
        int edit;
        bool lots;
        QStringList after;
        const char* logged;  // the worksheet named by the log's line about copies; null: no line
    };
    const QList<Row> rows = {
        {"pasted before", PasteBefore, false,
         {"MINE/My own", "0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20"}, "Products"},
        {"pasted after", PasteAfter, false,
         {"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20", "MINE/My own"}, "Products"},
        {"an id holding _", Underscore, false, {"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg"}, nullptr},
        {"an id holding _ pasted before", Underscore | PasteBefore, false,
         {"MINE/My own", "0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20"}, "Products"},
        {"a lot pasted before", PasteBefore, true,
         {"MINE/My own", "A100/0071-0155-23", "B200/0071-0156-40", "B200/0071-0156-23"}, "Lots"},
        {"a lot's id holding _", Underscore, true, {"A100/0071-0155-23", "B200/0071-0156-40"}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString list = row.lots ? QStringLiteral("SPLR4/LotDistributionReport") : QStringLiteral("SPLR4/Products");
        const QString records = list + (row.lots ? QStringLiteral("/BulkLot") : QStringLiteral("/Product"));
        const auto importAgain = [&](const QString& second) {
            ui.openFiles.push_back(row.lots ? writeLots(dir, QStringLiteral("0071-0156-") + second) : writeListing(second));
            ui.answers = {ui::Answer::Yes};
            test::importAt(*editor, list);
        };
        editor = test::newSettings();
        importAgain(row.lots ? QStringLiteral("23") : QStringLiteral("Lipitor 20"));
        const xml::Document saved = test::documentFrom(editor->XMLDoc->xml());
        editByHand(saved.selectSingleNode(records + QStringLiteral("[1]")), row.edit);
        test::writeTextFile(dir.file("Pasted.xml"), saved.xml());

        closeLog();
        editor = std::make_unique<frmXMLEditor>();
        editor->Mode = SettingsMode;
        ASSERT_TRUE(editor->XMLOnTreeView(editor->TreeView, dir.file("Pasted.xml"), QStringLiteral("Edit SPLR4"), true));
        editor->RefreshXML(false);
        importAgain(row.lots ? QStringLiteral("40") : QStringLiteral("Lipitor 20 mg"));

        EXPECT_EQ(listed(records), row.after);
        const QStringList copies = logLines().filter(QStringLiteral("cannot tell which copy"));
        const QString line = QStringLiteral("Pasted.xml: 1 record(s) that the import of the worksheet '%1' brought were copied");
        EXPECT_EQ(copies.size(), row.logged ? 1 : 0);
        EXPECT_TRUE(!row.logged || copies.value(0).contains(line.arg(QLatin1String(row.logged)))) << copies.value(0).toStdString();
    }
}
