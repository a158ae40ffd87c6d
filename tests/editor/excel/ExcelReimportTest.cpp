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

    // Each product as its code and name, in document order.
    QStringList listed() const
    {
        QStringList list;
        for (const xml::Node& product : products().selectNodes(QStringLiteral("Product")))
            list << xml::textAt(product, QStringLiteral("NDCProductCode")) + QLatin1Char('/')
                        + xml::textAt(product, QStringLiteral("ProprietaryName"));
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

// What one worksheet's records are: their list element, record name and the two fields that
// tell them apart; the worksheet's second row takes `second` in the second field.
struct ImportedList {
    const char* target;
    const char* record;
    const char* key;
    const char* field;
    QString (*workbook)(const test::TempDir& dir, const QString& second);
};

QString productListing(const test::TempDir& dir, const QString& second)
{
    test::XlsxBuilder book(dir.file("listing.xlsx"));
    book.sheet("Products")
        .row(1, {"Product NDC", "Name", "Generic name", "Package NDC", "Quantity", "Unit", "Form", "Form code", "Start"})
        .row(2, {"0071-0155", "Lipitor", "atorvastatin calcium", "0071-0155-23", 90, "1", "BOTTLE", "C43169", 20090101})
        .row(3, {"0071-0156", second, "atorvastatin calcium", "0071-0156-23", 90, "1", "BOTTLE", "C43169", 20090101});
    return book.save();
}

QString lotReport(const test::TempDir& dir, const QString& second)
{
    test::XlsxBuilder book(dir.file("lots.xlsx"));
    book.sheet("Lots")
        .row(1, {"Lot number", "NDC package code", "Expiration date", "Quantity"})
        .row(2, {"A100", "0071-0155-23", 20270531, 1200})
        .row(3, {"B200", second, 20270630, 300});
    return book.save();
}

const ImportedList Products{"Products", "Product", "NDCProductCode", "ProprietaryName", productListing};
const ImportedList Lots{"LotDistributionReport", "BulkLot", "LotNumber", "NDCPackageCode", lotReport};

// The records of `list` below `start` as key/field, in document order.
QStringList recordsOf(const xml::Node& start, const ImportedList& list)
{
    QStringList records;
    for (const xml::Node& record : start.selectNodes(QStringLiteral("%1/%2").arg(list.target, list.record)))
        records << xml::textAt(record, list.key) + QLatin1Char('/') + xml::textAt(record, list.field);
    return records;
}

// Edits of a saved document as a text editor makes them, on the list and its second record.
void pasteCopy(const ImportedList& list, const xml::Node& second, bool before)
{
    const xml::Node copy = second.cloneNode(true);
    copy.selectSingleNode(list.key).setText(QStringLiteral("MINE"));
    copy.selectSingleNode(list.field).setText(QStringLiteral("My own"));
    const xml::Node parent = second.parentNode();
    parent.insertBefore(copy, before ? parent.selectSingleNode(list.record) : second.nextSibling());
}

void giveUnderscoreId(const xml::Node& second)
{
    const xml::Node note = second.parentNode().selectSingleNode(QStringLiteral("WorkSheet"));
    const QString id = second.getAttribute(QStringLiteral("Word2SPLID"));
    note.setAttribute(QStringLiteral("ImportedRecords"),
                      note.getAttribute(QStringLiteral("ImportedRecords")).replace(id, QStringLiteral("old_1")));
    second.setAttribute(QStringLiteral("Word2SPLID"), QStringLiteral("old_1"));
}

// A record copied by hand in the saved file, the file opened as the editor opens it, and the
// worksheet imported again with its second row changed: the copy always survives. Where the
// open can tell which record the worksheet brought, that one is replaced; where two elements
// hold the id the worksheet noted, both stay, the log says so, and the record comes anew.
TEST_F(ExcelReimportTest, ARecordCopiedByHandSurvivesTheNextImportOfItsWorksheet)
{
    struct Row {
        const char* name;
        const ImportedList& list;
        QString first, second;
        std::function<void(const ImportedList&, const xml::Node&)> edit;
        QStringList after;
        QString logged;  // empty: no line about copies
    };
    const QString products = QStringLiteral("1 record(s) that the import of the worksheet 'Products' brought were copied");
    const QList<Row> rows = {
        {"pasted before the original", Products, "Lipitor 20", "Lipitor 20 mg",
         [](const ImportedList& l, const xml::Node& n) { pasteCopy(l, n, true); },
         {"MINE/My own", "0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20"}, products},
        {"pasted after the original", Products, "Lipitor 20", "Lipitor 20 mg",
         [](const ImportedList& l, const xml::Node& n) { pasteCopy(l, n, false); },
         {"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20", "MINE/My own"}, products},
        {"an imported id holding _", Products, "Lipitor 20", "Lipitor 20 mg",
         [](const ImportedList&, const xml::Node& n) { giveUnderscoreId(n); },
         {"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg"}, {}},
        {"an id holding _ pasted", Products, "Lipitor 20", "Lipitor 20 mg",
         [](const ImportedList& l, const xml::Node& n) { giveUnderscoreId(n); pasteCopy(l, n, true); },
         {"MINE/My own", "0071-0155/Lipitor", "0071-0156/Lipitor 20 mg", "0071-0156/Lipitor 20"}, products},
        {"nothing copied", Products, "Lipitor 20", "Lipitor 20 mg", [](const ImportedList&, const xml::Node&) {},
         {"0071-0155/Lipitor", "0071-0156/Lipitor 20 mg"}, {}},
        {"a lot pasted before the original", Lots, "0071-0156-23", "0071-0156-40",
         [](const ImportedList& l, const xml::Node& n) { pasteCopy(l, n, true); },
         {"MINE/My own", "A100/0071-0155-23", "B200/0071-0156-40", "B200/0071-0156-23"},
         "1 record(s) that the import of the worksheet 'Lots' brought were copied"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString target = QStringLiteral("SPLR4/") + QLatin1String(row.list.target);
        editor = test::newSettings();
        ui.openFiles.push_back(row.list.workbook(dir, row.first));
        ui.answers = {ui::Answer::Yes};
        test::importAt(*editor, target);
        const xml::Document saved = test::documentFrom(editor->XMLDoc->xml());
        row.edit(row.list, saved.selectSingleNode(target + QStringLiteral("/%1[1]").arg(row.list.record)));
        const QString path = dir.file("Pasted.xml");
        test::writeTextFile(path, saved.xml());

        closeLog();
        editor = std::make_unique<frmXMLEditor>();
        editor->Mode = SettingsMode;
        ASSERT_TRUE(editor->XMLOnTreeView(editor->TreeView, path, QStringLiteral("Edit SPLR4"), true));
        editor->RefreshXML(false);
        ui.openFiles.push_back(row.list.workbook(dir, row.second));
        ui.answers = {ui::Answer::Yes};
        test::importAt(*editor, target);

        EXPECT_EQ(recordsOf(editor->XMLDoc->documentElement(), row.list), row.after);
        const QStringList copies = logLines().filter(QStringLiteral("cannot tell which copy"));
        EXPECT_EQ(copies.size(), row.logged.isEmpty() ? 0 : 1);
        if (!row.logged.isEmpty() && !copies.isEmpty()) {
            EXPECT_TRUE(copies.at(0).contains(QStringLiteral("Pasted.xml: ") + row.logged)) << copies.at(0).toStdString();
        }
    }
}
