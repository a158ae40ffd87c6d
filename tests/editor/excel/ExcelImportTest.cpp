// The editor's Import from Excel, end to end: workbooks written as a spreadsheet program
// writes them, the shipped import definitions, the real editor window and its tree.
#include "editor/excel/ExcelImportTestSupport.h"
#include "editor/SmallEditorLimit.h"
#include "editor/document/SettingsDocument.h"
#include "editor/excel/ImportMemoryLimit.h"
#include "editor/excel/clsExcelImport.h"
#include "editor/window/frmXMLEditor.h"
#include "editor/tree/TreeView.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/XlsxBuilder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>
#include <malloc.h>

using namespace veldra;
using test::childNames;
using test::textsAt;

namespace {

QStringList messageTexts(const test::ScriptedUi& ui)
{
    QStringList texts;
    for (const ui::MessageRequest& m : ui.messages)
        texts << m.text;
    return texts;
}

// Every Word2SPLID from `element` down: all present and all different.
void expectFreshDistinctIds(const xml::Node& element)
{
    QSet<QString> seen;
    for (const xml::Node& node : element.selectNodes(QStringLiteral(".//*"))) {
        const QString id = node.getAttribute(QStringLiteral("Word2SPLID"));
        EXPECT_FALSE(id.isEmpty()) << node.nodeName().toStdString();
        EXPECT_FALSE(seen.contains(id)) << "id used twice: " << id.toStdString();
        seen.insert(id);
    }
}

// The bytes the program holds on its heap now.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

// A smaller memory limit for one import while it lives.
struct ScaledImportMemory {
    explicit ScaledImportMemory(qint64 limit) { setImportMemoryLimitForTesting(limit); }
    ~ScaledImportMemory() { setImportMemoryLimitForTesting(std::nullopt); }
    ScaledImportMemory(const ScaledImportMemory&) = delete;
    ScaledImportMemory& operator=(const ScaledImportMemory&) = delete;
};

} // namespace

class ExcelImportTest : public test::LogFixture {
protected:
    test::ProgramFolderCopy folder;
    test::TempDir dir;
    std::unique_ptr<frmXMLEditor> editor = test::newSettings();
};

// A lot distribution report as the manual lays it out: lots with several numbers in a
// cell, hidden rows, a date and a date written as text, an empty row that ends the list.
TEST_F(ExcelImportTest, LotDistributionReportImportsSplitsAndSurvivesSaveAndReopen)
{
    test::XlsxBuilder book(dir.file("lots.xlsx"));
    book.sheet("Lots")
        .row(1, {"Lot number", "NDC package code", "Expiration date", "Quantity"})
        .row(2, {"A100", "0071-0155-23", QDate(2027, 5, 31), 1200})
        .row(3, {"HIDDEN", "x", "x", 1})
        .hideRow(3)
        .hideRow(4)
        .row(5, {"B200\nB201 \nB202", "0071 0155 40", "2027-06-30", 300})
        .row(7, {"AFTER THE GAP", "y", "y", 2});
    book.sheet("Notes").text("A2", "not lots");
    ui.openFiles.push_back(book.save());
    ui.answers = {ui::Answer::Yes, ui::Answer::No};

    test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));

    EXPECT_EQ(messageTexts(ui), QStringList({"Import Worksheet: Lots", "Import Worksheet: Notes",
                                             "Excel Import of 'Lot Distribution Report' completed."}));
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Question);
    EXPECT_EQ(ui.messages.at(0).buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui.messages.at(2).icon, ui::Icon::Information);
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests.at(0).filter, QStringLiteral("Excel Files (*.xlsx *.xls *.xlsm)"));

    const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
    const xml::Node file = report.selectSingleNode(QStringLiteral("ExcelFile[. != '']"));
    ASSERT_FALSE(file.isNull());
    EXPECT_EQ(file.text(), dir.file("lots.xlsx"));
    EXPECT_EQ(file.getAttribute(QStringLiteral("ConstraintDataType")), QStringLiteral("File"));
    EXPECT_EQ(textsAt(report, QStringLiteral("WorkSheet[. != '']")), QStringList({"Lots"}));
    const QStringList stamps = textsAt(report, QStringLiteral("ImportDateTime[. != '']"));
    ASSERT_EQ(stamps.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8} \\d{2}:\\d{2}:\\d{2}$")).match(stamps.at(0)).hasMatch());

    // The new document's empty header is filled and its empty lot gives way to the rows; the
    // split lot comes as second, third, first.
    EXPECT_EQ(childNames(report), QStringList({"ExcelFile", "WorkSheet", "ImportDateTime", "BulkLot", "BulkLot",
                                               "BulkLot", "BulkLot"}));
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/LotNumber")), QStringList({"A100", "B201 ", "B202", "B200"}));
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/NDCPackageCode")),
              QStringList({"0071-0155-23", "0071015540", "0071015540", "0071015540"}));
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/ExpirationDate")),
              QStringList({"20270531", "20270630", "20270630", "20270630"}));
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/DistributedQuantity")), QStringList({"1200", "300", "300", "300"}));
    expectFreshDistinctIds(report);

    // The same workbook imported again leaves the same tree.
    const auto content = [&] {
        return textsAt(report, QStringLiteral("ExcelFile | WorkSheet")) + textsAt(report, QStringLiteral("BulkLot/*"));
    };
    const QStringList once = content();
    ui.openFiles.push_back(dir.file("lots.xlsx"));
    ui.answers = {ui::Answer::Yes, ui::Answer::No};
    test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));
    EXPECT_EQ(childNames(report), QStringList({"ExcelFile", "WorkSheet", "ImportDateTime", "BulkLot", "BulkLot",
                                               "BulkLot", "BulkLot"}));
    EXPECT_EQ(content(), once);
    expectFreshDistinctIds(report);

    EXPECT_FALSE(editor->Saved);
    EXPECT_NE(test::nodeByCaption(editor.get(), QStringLiteral("Lot Number: B202")), nullptr) << "the tree shows the lots";

    // Saved on the next save, and the import's elements keep their definition on reopen.
    editor->XMLFileName = dir.file("report.xml");
    ASSERT_TRUE(editor->SaveXMLDoc(false));
    auto reopened = std::make_unique<frmXMLEditor>();
    reopened->Mode = QStringLiteral("SPLR4");
    reopened->XMLOnTreeView(reopened->TreeView, dir.file("report.xml"), QStringLiteral("Edit SPLR4"), true);
    const xml::Node again = reopened->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
    EXPECT_EQ(textsAt(again, QStringLiteral("BulkLot/LotNumber")), QStringList({"A100", "B201 ", "B202", "B200"}));
    const xml::Node reopenedFile = again.selectSingleNode(QStringLiteral("ExcelFile[. != '']"));
    EXPECT_EQ(reopenedFile.getAttribute(QStringLiteral("ConstraintDataType")), QStringLiteral("File"));
    EXPECT_FALSE(reopenedFile.getAttribute(QStringLiteral("ConstraintFileType")).isEmpty());
}

// A product listing kept as a table, from real NDC package rows: the first package of
// each product on one sheet (a product each), further packages on another (imported into
// their product). Marketing dates are numbers, as tabular listings hold them: Format must
// not read them as day counts.
TEST_F(ExcelImportTest, ProductListingAndFurtherPackagesFromRealNdcRows)
{
    const QStringList lines = test::readTextFile(test::fixture("xlsx/openfda-ndc-tabular/package_trimmed.txt"))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    test::XlsxBuilder book(dir.file("listing.xlsx"));
    book.sheet("Products").row(1, {"Product NDC", "Name", "Generic name", "Package NDC", "Quantity", "Unit", "Form",
                                   "Form code", "Start", "End"});
    book.sheet("Packages").row(1, {"Package NDC", "Quantity", "Unit", "Form", "Form code"});
    QSet<QString> listed;
    int productRow = 1;
    int packageRow = 1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines.at(i).split(QLatin1Char('\t'));
        const QVariant end = cells.at(5).isEmpty() ? QVariant() : QVariant(cells.at(5).toDouble());
        if (listed.contains(cells.at(1))) {
            book.row(++packageRow, {cells.at(2), 5, "mL", "VIAL, MULTI-DOSE", "C43210"});
            continue;
        }
        listed.insert(cells.at(1));
        book.sheet("Products");
        book.row(++productRow, {cells.at(1), QStringLiteral("Name %1").arg(i), QVariant(), cells.at(2), 1, "1", "VIAL",
                                "C43226", cells.at(4).toDouble(), end});
        book.sheet("Packages");
    }
    const QString path = book.save();

    ui.openFiles.push_back(path);
    ui.answers = {ui::Answer::Yes, ui::Answer::No};
    test::importAt(*editor, QStringLiteral("SPLR4/Products"));
    ui.openFiles.push_back(path);
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    test::importAt(*editor, QStringLiteral("SPLR4/Products/Product[NDCProductCode='0002-1200']"));

    const xml::Node products = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Products"));
    // The new document's empty product gave way to the imported ones.
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/NDCProductCode")), QStringList({"0002-0800", "0002-1200"}));
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/Package/NDCPackageCode")),
              QStringList({"0002-0800-01", "0002-1200-30", "0002-1200-50"}));
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/Package/PackagingFormCode")),
              QStringList({"C43226", "C43226", "C43210"}));
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/Package/PackageQuantityUnit")), QStringList({"1", "1", "mL"}));
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/Marketing/MarketingStartDate")),
              QStringList({"19870710", "20120601"}));
    EXPECT_EQ(textsAt(products, QStringLiteral("Product/Marketing/MarketingEndDate")), QStringList({"", "20190203"}));
    const QStringList names = childNames(products);
    EXPECT_EQ(names.mid(names.size() - 5), QStringList({"ExcelFile", "WorkSheet", "ImportDateTime", "Product", "Product"}));
    const xml::Node product = products.selectSingleNode(QStringLiteral("Product[NDCProductCode='0002-1200']"));
    EXPECT_EQ(textsAt(product, QStringLiteral("WorkSheet[. != '']")), QStringList({"Packages"}));
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("Excel Import of 'Product' completed."));
}

// A workbook that cannot be read, a legacy file, an element without an entry, a broken
// definition file, a cancelled dialog: the document stays exactly as it was, and no
// "completed" message claims otherwise.
TEST_F(ExcelImportTest, NothingIsWrittenWhenTheImportCannotRun)
{
    test::XlsxBuilder book(dir.file("good.xlsx"));
    book.sheet("Lots").row(2, {"A1"});
    const QByteArray good = [&] {
        QFile f(book.save());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.file(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return dir.file(name);
    };
    const QString truncated = write("truncated.xlsx", good.left(good.size() / 2));
    const QString legacy = write("old.xls", good);  // refused by its format, whatever it holds
    const auto asShipped = +[](QString shipped) { return shipped; };
    const auto broken = +[](QString) { return QStringLiteral("<ExcelImportDefinition>"); };
    const auto repeatNoName = +[](QString shipped) {
        return shipped.replace(QStringLiteral("<Repeat>BulkLot</Repeat>"), QStringLiteral("<Repeat>BulkLot | //*</Repeat>"));
    };

    const struct {
        const char* name;
        QString element;
        std::optional<QString> file;
        QString (*definitions)(QString shipped);
        ui::Icon icon;
        QString says;
    } cases[] = {
        {"damaged workbook", "SPLR4/LotDistributionReport", truncated, asShipped, ui::Icon::Warning, "not a workbook package"},
        {"encrypted workbook", "SPLR4/LotDistributionReport", test::fixture("xlsx/xlnt/5_encrypted_agile.xlsx"), asShipped,
         ui::Icon::Warning, "password-protected"},
        {"legacy workbook", "SPLR4/LotDistributionReport", legacy, asShipped, ui::Icon::Warning, "save it as an Excel Workbook (.xlsx)"},
        {"no entry", "SPLR4/GeneralData", std::nullopt, asShipped, ui::Icon::Warning, "No Excel Import defined for 'General Data'."},
        {"broken definitions", "SPLR4/LotDistributionReport", std::nullopt, broken, ui::Icon::Critical,
         "ExcelImportDefinition.xml cannot be read"},
        {"cancelled", "SPLR4/LotDistributionReport", std::optional<QString>(std::nullopt), asShipped, ui::Icon::None, ""},
        {"record template that is no name", "SPLR4/LotDistributionReport", dir.file("good.xlsx"), repeatNoName, ui::Icon::Critical,
         "'BulkLot | //*' is not an XML name"},
    };
    const QString definitions = folder.file("SPLR4Definitions/ExcelImportDefinition.xml");
    const QString shipped = test::readTextFile(definitions);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeTextFile(definitions, c.definitions(shipped));
        ui.messages.clear();
        ui.openFiles.clear();
        if (c.file)
            ui.openFiles.push_back(*c.file);
        const QString before = editor->XMLDoc->xml();
        editor->Saved = true;

        test::importAt(*editor, c.element);

        EXPECT_EQ(editor->XMLDoc->xml(), before);
        EXPECT_TRUE(editor->Saved);
        if (c.says.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1) << messageTexts(ui).join(" | ").toStdString();
        EXPECT_EQ(ui.messages.at(0).icon, c.icon);
        EXPECT_TRUE(ui.messages.at(0).text.contains(c.says)) << ui.messages.at(0).text.toStdString();
    }
}

// Small workbooks that would make a document the editor cannot open again: a worksheet whose
// rows repeat one long text past the bytes the editor reads, lot cells of sixteen thousand
// numbers, each to become a lot, past the elements it holds. The worksheet that does not fit
// is left out whole, with the reason, and the worksheets before it stay imported.
TEST_F(ExcelImportTest, AWorksheetTooLargeForTheEditorIsLeftOutWhole)
{
    const QString longLot = QString(30000, QLatin1Char('L'));
    // A cell holds at most 32,767 characters.
    const QString manyNumbers = QStringLiteral("1 ").repeated(16383);
    const struct {
        const char* name;
        std::function<void(test::XlsxBuilder&)> fill;
        QString says;
    } cases[] = {
        {"long rows",
         [&](test::XlsxBuilder& book) {
             for (int row = 2; row <= int(xml::kMaxInputBytes / longLot.size()) + 100; ++row)
                 book.row(row, {longLot, "0071-0155-23", "2027-05-31", row});
         },
         "The worksheet 'Large' was not imported"},
        {"lots of lot numbers",
         [&](test::XlsxBuilder& book) {
             for (int row = 2; row <= 21; ++row)
                 book.row(row, {manyNumbers, "0071-0155-23", "2027-05-31", row});
         },
         "The lot numbers were not split and the worksheet was not imported"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        editor = test::newSettings();
        ui.messages.clear();
        test::XlsxBuilder book(dir.file(QStringLiteral("%1.xlsx").arg(c.name)));
        book.sheet("Small").row(2, {"S1", "0071-0155-23", "2027-05-31", 1});
        c.fill(book.sheet("Large"));
        ui.openFiles.push_back(book.save());
        ui.answers = {ui::Answer::Yes, ui::Answer::Yes};
        editor->Saved = true;

        test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));

        ASSERT_EQ(ui.messages.size(), 3) << messageTexts(ui).join(" | ").left(1000).toStdString();
        EXPECT_EQ(ui.messages.at(2).icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.messages.at(2).text.contains(c.says)) << ui.messages.at(2).text.toStdString();
        EXPECT_TRUE(ui.messages.at(2).text.contains(
            "larger than the editor opens (up to 1000000 elements, 4000000 attributes and 256 MiB"))
            << ui.messages.at(2).text.toStdString();
        const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
        EXPECT_EQ(textsAt(report, QStringLiteral("WorkSheet[. != '']")), QStringList({"Small"}));
        // Sizes first: a failure here must not print megabytes of lot numbers.
        ASSERT_LT(editor->XMLDoc->xmlBytes().size(), 1024 * 1024);
        EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/LotNumber")), QStringList({"S1"}));
        expectFreshDistinctIds(report);
        EXPECT_FALSE(editor->Saved);
    }
}

// A cell shown as a date whose number is no date goes in as the number, and the log says so.
TEST_F(ExcelImportTest, ANumberThatIsNoDateIsImportedAsItIsWithAWarning)
{
    test::XlsxBuilder book(dir.file("dates.xlsx"));
    book.sheet("Lots").row(2, {"A100", "0071-0155-23"}).formatted("C2", 1e308, "yyyy-mm-dd").number("D2", 5);
    ui.openFiles.push_back(book.save());
    ui.answers = {ui::Answer::Yes};

    test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));

    const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/ExpirationDate")), QStringList({"1E+308"}));
    EXPECT_EQ(logLines(), QStringList({line("Warning", "Worksheet 'Lots': 1 cell(s) shown as dates hold numbers that are no "
                                                       "date (the first in row 2: 1E+308); they are read as numbers.")}));
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("Excel Import of 'Lot Distribution Report' completed.\r\n\r\n"
                                                      "The import found 1 warning: the log has the details."));
    EXPECT_EQ(ui.messages.last().icon, ui::Icon::Warning);
}

// Many small worksheets cost what their lots cost, as the same lots in one worksheet do: no
// worksheet leaves a copy of the document behind it while the document stays open.
TEST_F(ExcelImportTest, ManyWorksheetsCostWhatTheirLotsCost)
{
    constexpr int Sheets = 40;
    constexpr int Lots = 40;
    const auto growth = [&](int sheets, int lots) {
        editor = test::newSettings();
        test::XlsxBuilder book(dir.file(QStringLiteral("lots_%1.xlsx").arg(sheets)));
        for (int s = 0; s < sheets; ++s) {
            book.sheet(QStringLiteral("Sheet %1").arg(s));
            for (int row = 2; row < lots + 2; ++row)
                book.row(row, {QStringLiteral("L%1-%2").arg(s).arg(row), "0071-0155-23", "2027-05-31", row});
        }
        ui.openFiles.push_back(book.save());
        ui.answers.assign(sheets, ui::Answer::Yes);
        const qint64 before = heapInUse();
        test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));
        EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//BulkLot")).length(), sheets * lots);
        return heapInUse() - before;
    };
    const qint64 oneSheet = growth(1, Sheets * Lots);
    const qint64 manySheets = growth(Sheets, Lots);
    if (oneSheet <= 0)
        GTEST_SKIP() << "this allocator does not report the heap in use (AddressSanitizer's does not)";
    EXPECT_LT(manySheets, 2 * oneSheet) << "one sheet: " << oneSheet << " bytes; " << Sheets << " sheets: " << manySheets;
}

// A cell of lot numbers the editor's limit still admits, one lot for each, but that would
// take more memory than one import may: counted before a lot is copied, refused with the
// reason, and the worksheet left out whole (the limit scaled down, so the cell stays small).
TEST_F(ExcelImportTest, ACellSplitIntoMoreLotsThanOneImportMayHoldIsRefusedFirst)
{
    const ScaledImportMemory scaled(4 * 1024 * 1024);
    test::XlsxBuilder book(dir.file("cell.xlsx"));
    book.sheet("Small").row(2, {"S1", "0071-0155-23", "2027-05-31", 1});
    book.sheet("Lots").row(2, {QStringLiteral("7\n").repeated(1000), "0071-0155-23", "2027-05-31", 1});
    ui.openFiles.push_back(book.save());
    ui.answers = {ui::Answer::Yes, ui::Answer::Yes};

    test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));

    ASSERT_EQ(ui.messages.size(), 3) << messageTexts(ui).join(" | ").toStdString();
    EXPECT_EQ(ui.messages.at(2).icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages.at(2).text.contains(
        "The lot numbers were not split and the worksheet was not imported: one lot for each number would take more "
        "memory than one import may use (about "))
        << ui.messages.at(2).text.toStdString();
    EXPECT_TRUE(ui.messages.at(2).text.contains("MiB of at most 4 MiB)")) << ui.messages.at(2).text.toStdString();
    const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
    EXPECT_EQ(textsAt(report, QStringLiteral("WorkSheet[. != '']")), QStringList({"Small"}));
    ASSERT_EQ(report.selectNodes(QStringLiteral("BulkLot")).length(), 1);
    EXPECT_EQ(textsAt(report, QStringLiteral("BulkLot/LotNumber")), QStringList({"S1"}));
}

// The worksheets of one import share its memory: two lot splits that each fit alone, the
// second refused once the first took its part, the limit at what the two take together and
// one byte under it. What each takes is measured by importing it alone.
TEST_F(ExcelImportTest, TwoLotSplitsThatFitOneByOneAreHeldToTheMemoryTheyTakeTogether)
{
    test::XlsxBuilder book(dir.file("two.xlsx"));
    book.sheet("First").row(2, {QStringLiteral("A\n").repeated(40) + "A", "0071-0155-23", "2027-05-31", 1});
    book.sheet("Second").row(2, {QStringLiteral("B\n").repeated(40) + "B", "0071-0155-23", "2027-05-31", 2});
    const QString file = book.save();
    const auto takenBy = [&](std::vector<ui::Answer> answers) {
        editor = test::newSettings();
        ui.openFiles.push_back(file);
        ui.answers.assign(answers.begin(), answers.end());
        clsExcelImport import;
        import.LoadFromExcelFile(QStringLiteral("LotDistributionReport"),
                                 editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport")));
        return editorMemoryOf(import.added());
    };
    const qint64 together = takenBy({ui::Answer::Yes, ui::Answer::No}) + takenBy({ui::Answer::No, ui::Answer::Yes});
    for (const qint64 limit : {together, together - 1}) {
        SCOPED_TRACE(limit);
        const ScaledImportMemory scaled(limit);
        editor = test::newSettings();
        ui.messages.clear();
        ui.openFiles.push_back(file);
        ui.answers = {ui::Answer::Yes, ui::Answer::Yes};

        test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));

        const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
        const bool fits = limit == together;
        EXPECT_EQ(textsAt(report, QStringLiteral("WorkSheet[. != '']")),
                  fits ? QStringList({"First", "Second"}) : QStringList({"First"}));
        EXPECT_EQ(report.selectNodes(QStringLiteral("BulkLot[LotNumber = 'A']")).length(), 41);
        EXPECT_EQ(report.selectNodes(QStringLiteral("BulkLot[LotNumber = 'B']")).length(), fits ? 41 : 0);
        ASSERT_EQ(ui.messages.size(), 3) << messageTexts(ui).join(" | ").toStdString();
        EXPECT_EQ(ui.messages.at(2).text.contains(
                      "The lot numbers were not split and the worksheet was not imported: one lot for each number would take "
                      "more memory than one import may use (about "),
                  !fits)
            << ui.messages.at(2).text.toStdString();
    }
}

// The header of a worksheet and the ids of the records it notes there count with the records:
// a worksheet is left out when the document it leaves would pass the bytes the editor opens,
// here by one byte.
TEST_F(ExcelImportTest, AWorksheetCountsItsHeaderAndTheIdsItNotesThere)
{
    test::XlsxBuilder book(dir.file("lots.xlsx"));
    book.sheet("Lots");
    for (int row = 2; row < 202; ++row)
        book.row(row, {QStringLiteral("L%1").arg(row), "0071-0155-23", "2027-05-31", row});
    const QString file = book.save();
    const auto importedBytes = [&] {
        editor = test::newSettings();
        ui.messages.clear();
        ui.openFiles.push_back(file);
        ui.answers = {ui::Answer::Yes};
        test::importAt(*editor, QStringLiteral("SPLR4/LotDistributionReport"));
        return savedSizeOf(*editor->XMLDoc).bytes;
    };
    const qint64 whole = importedBytes();
    const test::SmallEditorLimit limit(1'000'000, whole - 1);

    EXPECT_LT(importedBytes(), whole - 1);

    ASSERT_EQ(ui.messages.size(), 2) << messageTexts(ui).join(" | ").toStdString();
    EXPECT_TRUE(ui.messages.at(1).text.contains("The worksheet 'Lots' was not imported: its rows would make the document larger "
                                                "than the editor opens"))
        << ui.messages.at(1).text.toStdString();
}
