#include "platform/core/InputScan.h"
#include "platform/core/VbError.h"
#include "platform/core/VbText.h"
#include "platform/excel/SharedStrings.h"
#include "platform/excel/WorksheetParser.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/excel/ZipPackage.h"
#include "platform/excel/PackageSurgery.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"
#include "support/XlsxBuilder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace veldra;
using excel::CellValue;
using excel::XlsxWorkbook;
using Kind = vb::Variant::Kind;

namespace {

QString textOf(const CellValue& value)
{
    return vb::toText(value);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A small valid workbook of two sheets.
QString twoSheetBook(const test::TempDir& dir, const QString& name = QStringLiteral("book.xlsx"))
{
    test::XlsxBuilder book(dir.file(name));
    book.sheet("Lots").row(1, {"Lot", "Quantity"}).row(2, {"A1", 5});
    book.sheet("Other").text("A1", "x");
    return book.save();
}

} // namespace

TEST(XlsxWorkbookTest, CellsComeTypedAsTheSheetHoldsThem)
{
    test::TempDir dir;
    test::XlsxBuilder book(dir.file("typed.xlsx"));
    book.sheet("Zeta").text("A1", "first sheet");
    book.sheet("Alpha")
        .row(1, {"Lot", 12345, 12.5, true, false})
        .date("A2", QDateTime(QDate(2026, 5, 1), QTime(0, 0)))
        .date("B2", QDateTime(QDate(2024, 1, 15), QTime(0, 0)), true)
        .formatted("C2", 46143.75, "dd/mm/yyyy hh:mm")
        .formatted("D2", 3.14159, "0.00")
        .formatted("E2", 0.25, "[Red]0%")
        .formula("F2", "=B1*2", 24690)
        .text("B3", "   spaced  ")
        .text("C3", "L1\r\nL2")   // stored as "L1_x000D_\nL2"
        .text("D3", "a\x01" "b") // stored as "a_x0001_b"; no document can hold \x01
        .text("E3", "ends\r")      // stored as "ends_x000D_", the escape closing the text
        .formatted("A4", 1e308, "yyyy-mm-dd")
        .formatted("B4", 3e6, "yyyy-mm-dd");
    book.sheet("Mid").text("A1", "third");
    XlsxWorkbook workbook;
    ASSERT_TRUE(workbook.open(book.save())) << workbook.error().text().toStdString();

    EXPECT_EQ(workbook.sheetNames(), QStringList({"Zeta", "Alpha", "Mid"})) << "the workbook's order, not by name";
    const excel::Worksheet& sheet = workbook.worksheets().at(1);
    const struct {
        const char* cell;
        Kind kind;
        const char* text;
    } cases[] = {
        {"A1", Kind::Text, "Lot"},
        {"B1", Kind::Number, "12345"},
        {"c1", Kind::Number, "12.5"},
        {"$D$1", Kind::Bool, "True"},
        {"E1", Kind::Bool, "False"},
        {"A2", Kind::Date, "2026-05-01"},
        {"B2", Kind::Date, "2024-01-15"},
        {"C2", Kind::Date, "2026-05-01 18:00:00"},
        {"D2", Kind::Number, "3.14159"},
        {"E2", Kind::Number, "0.25"},
        {"F2", Kind::Number, "24690"},
        {"B3", Kind::Text, "   spaced  "},
        {"C3", Kind::Text, "L1\r\nL2"},
        {"D3", Kind::Text, "ab"},
        {"E3", Kind::Text, "ends\r"},
        {"A3", Kind::Empty, ""},
        {"XFD1048576", Kind::Empty, ""},
        {"A4", Kind::Number, "1E+308"},
        {"B4", Kind::Number, "3000000"},
    };
    for (const auto& c : cases) {
        const CellValue value = sheet.cell(QString::fromLatin1(c.cell));
        EXPECT_EQ(value.kind, c.kind) << c.cell;
        EXPECT_EQ(textOf(value), QString::fromUtf8(c.text)) << c.cell;
    }
    // Dates that are no dates are read as numbers, and the log hears of them.
    ASSERT_EQ(workbook.warnings().size(), 1);
    EXPECT_TRUE(workbook.warnings().at(0).startsWith("Worksheet 'Alpha': 2 cell(s) shown as dates hold numbers that are no date "
                                                     "(the first in row 4: 1"))
        << workbook.warnings().at(0).toStdString();
}

TEST(XlsxWorkbookTest, HiddenRowsAndInlineStrings)
{
    test::TempDir dir;
    // The writer's low-memory mode stores texts inline, as some programs do.
    test::XlsxBuilder book(dir.file("inline.xlsx"), true);
    book.sheet("S").row(1, {"a"}).row(2, {"b"}).hideRow(3).row(3, {"hidden"}).row(4, {QVariant()}).hideRow(5);
    XlsxWorkbook workbook;
    ASSERT_TRUE(workbook.open(book.save())) << workbook.error().text().toStdString();
    const excel::Worksheet& sheet = workbook.worksheets().front();
    EXPECT_EQ(textOf(sheet.cell("A3")), "hidden");
    EXPECT_EQ(sheet.cell("A3").kind, Kind::Text);
    EXPECT_FALSE(sheet.rowHidden(2));
    EXPECT_TRUE(sheet.rowHidden(3));
    EXPECT_FALSE(sheet.rowHidden(4));
    EXPECT_TRUE(sheet.rowHidden(5)) << "an empty hidden row is hidden too";
    EXPECT_FALSE(sheet.rowHidden(6));
}

TEST(XlsxWorkbookTest, RealWorkbooksOfOtherProgramsRead)
{
    const struct {
        const char* file;
        QStringList sheets;
        int sheet;
        const char* cell;
        const char* text;
    } cases[] = {
        {"2_minimal.xlsx", {"1"}, 0, "A1", ""},  // parts at the package root
        {"Issue445_inline_str.xlsx", {"Sheet"}, 0, "A2", "b"},
        {"16_hidden_sheet.xlsx", {"Sheet1", "Sheet2"}, 1, "A1", "b"},  // hidden sheets count
        {"18_formulae.xlsx", {"Sheet1"}, 0, "E1", "1a11"},             // a text formula's cached value
        {"18_formulae.xlsx", {"Sheet1"}, 0, "G1", "3.14159265358979"},
        {"9_unicode_lambda_emoji.xlsx", {"Sheet1"}, 0, "A1", "unïcôdė!"},
        {"Issue494_shared_string.xlsx", {"基础信息"}, 0, "A1", nullptr},
        {"13_custom_heights_widths.xlsx", {"Sheet1"}, 0, "D4", "D4"},  // indented XML
        {"Issue492_empty_row.xlsx", {"BLS Data Series"}, 0, "A4", "Series Id:"},
    };
    for (const auto& c : cases) {
        XlsxWorkbook workbook;
        ASSERT_TRUE(workbook.open(test::fixture(QStringLiteral("xlsx/xlnt/") + c.file)))
            << c.file << ": " << workbook.error().text().toStdString();
        EXPECT_EQ(workbook.sheetNames(), c.sheets) << c.file;
        if (c.text) {
            EXPECT_EQ(textOf(workbook.worksheets().at(c.sheet).cell(QString::fromLatin1(c.cell))), QString::fromUtf8(c.text))
                << c.file;
        }
    }
    XlsxWorkbook formulae;
    ASSERT_TRUE(formulae.open(test::fixture("xlsx/xlnt/18_formulae.xlsx")));
    EXPECT_EQ(textOf(formulae.worksheets().front().cell("C2")), "4");
    EXPECT_EQ(textOf(formulae.worksheets().front().cell("A1")), "a1");
}

TEST(XlsxWorkbookTest, AnythingButACellNameIsRefused)
{
    test::TempDir dir;
    XlsxWorkbook workbook;
    ASSERT_TRUE(workbook.open(twoSheetBook(dir)));
    const excel::Worksheet& sheet = workbook.worksheets().front();
    for (const char* name : {"", "7B", "B0", "B", "XFE1", "ABCD1", "B1048577", "B 7", "B7:C8", "-1"})
        EXPECT_THROW(sheet.cell(QString::fromLatin1(name)), VbError) << name;
    EXPECT_EQ(textOf(sheet.cell("B2")), "5");
}

// Parts each within their own limit are refused once the parts read from one package pass the
// limit of all of them together.
TEST(XlsxWorkbookTest, EveryPartReadCountsTowardsThePackagesLimit)
{
    test::TempDir dir;
    const QString path = twoSheetBook(dir);
    const QByteArray filler(excel::ZipPackage::MaxTotalBytes / 5 + 1024 * 1024, ' ');
    for (int i = 1; i <= 5; ++i)
        test::replacePart(path, QStringLiteral("filler%1.xml").arg(i).toUtf8().constData(), filler);
    const QByteArray bytes = bytesOf(path);
    excel::ZipPackage package;
    excel::WorkbookError error;
    ASSERT_TRUE(package.open(bytes, error)) << error.text().toStdString();

    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(package.read(QStringLiteral("filler%1.xml").arg(i), error)) << error.text().toStdString();
    EXPECT_FALSE(package.read(QStringLiteral("filler5.xml"), error));
    EXPECT_EQ(error.part, QStringLiteral("filler5.xml"));
    EXPECT_TRUE(error.reason.contains("larger than 256 MiB together")) << error.text().toStdString();
}

TEST(XlsxWorkbookTest, BadFilesFailWithThePartAndTheReason)
{
    test::TempDir dir;
    const QByteArray good = bytesOf(twoSheetBook(dir, "good.xlsx"));

    auto damaged = [&](const QString& name, const char* entry, std::optional<QByteArray> content) {
        const QString path = twoSheetBook(dir, name);
        test::replacePart(path, entry, content);
        return path;
    };
    const QString noWorkbook = damaged("noworkbook.xlsx", "xl/workbook.xml", std::nullopt);
    const QString notXml = damaged("notxml.xlsx", "xl/worksheets/sheet1.xml", QByteArray("<worksheet><sheetData><row>"));
    const QString entity = damaged("entity.xlsx", "xl/worksheets/sheet1.xml",
                                   QByteArray("<!DOCTYPE w [<!ENTITY a \"aaaa\">]><worksheet><sheetData><row r=\"1\">"
                                              "<c r=\"A1\" t=\"inlineStr\"><is><t>&a;</t></is></c></row></sheetData></worksheet>"));
    const QString badString = damaged("badstring.xlsx", "xl/worksheets/sheet1.xml",
                                      QByteArray("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>99</v></c>"
                                                 "</row></sheetData></worksheet>"));
    const QString huge = damaged("huge.xlsx", "xl/sharedStrings.xml",
                                 QByteArray(excel::ZipPackage::MaxPartBytes + 1, ' '));
    QByteArray attributes;
    for (int i = 0; i <= kMaxAttributesPerElement; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    const QString manyAttributes = damaged("attributes.xlsx", "xl/worksheets/sheet1.xml",
                                           "<worksheet><sheetData><row r=\"1\"" + attributes + "/></sheetData></worksheet>");
    const QByteArray sheetDeclaring =
        "<worksheet" + test::namespaceDeclarations(kMaxNamespaceDeclarations).toUtf8() + "%1><sheetData/></worksheet>";
    const QString namespacesAtBound = damaged("namespaces.xlsx", "xl/worksheets/sheet1.xml", QByteArray(sheetDeclaring).replace("%1", ""));
    const QString manyNamespaces = damaged("manynamespaces.xlsx", "xl/worksheets/sheet1.xml",
                                           QByteArray(sheetDeclaring).replace("%1", " xmlns=\"urn:d\""));
    EXPECT_TRUE(XlsxWorkbook().open(namespacesAtBound));
    // Small parts that would make huge models: sheets naming one part, more cells, rows or
    // shared strings than a workbook's model holds.
    const QString sharedPart = damaged("sharedpart.xlsx", "xl/workbook.xml",
                                       "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                                       "<sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"
                                       "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId1\"/></sheets></workbook>");
    const QString manyCells = damaged("cells.xlsx", "xl/worksheets/sheet1.xml",
                                      "<worksheet><sheetData>"
                                          + QByteArray("<row>" + QByteArray("<c/>").repeated(10) + "</row>")
                                                .repeated(excel::MaxCellsPerWorkbook / 10 + 1)
                                          + "</sheetData></worksheet>");
    const QString manyRows = damaged("rows.xlsx", "xl/worksheets/sheet1.xml",
                                     "<worksheet><sheetData>"
                                         + QByteArray("<row r=\"1\"/>").repeated(excel::MaxRowsPerWorkbook + 1)
                                         + "</sheetData></worksheet>");
    const QString manyStrings = damaged("strings.xlsx", "xl/sharedStrings.xml",
                                        "<sst>" + QByteArray("<si/>").repeated(excel::MaxSharedStrings + 1) + "</sst>");
    // A pipe would block the reader and a device would be read until memory runs out.
    const QString fifo = dir.file("pipe.xlsx");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const struct {
        QString path;
        const char* part;
        const char* reasonHas;
    } cases[] = {
        {noWorkbook, "xl/workbook.xml", "missing"},
        {notXml, "xl/worksheets/sheet1.xml", "not well-formed"},
        {entity, "xl/worksheets/sheet1.xml", "document type"},
        {badString, "xl/worksheets/sheet1.xml", "shared string 99"},
        {huge, "xl/sharedStrings.xml", "larger than"},
        {test::fixture("xlsx/xlnt/5_encrypted_agile.xlsx"), "", "password-protected"},
        {test::fixture("xlsx/xlnt/6_encrypted_libre.xlsx"), "", "password-protected"},
        {manyAttributes, "xl/worksheets/sheet1.xml", "more than 500 attributes"},
        {manyNamespaces, "xl/worksheets/sheet1.xml", "more than 256 namespace declarations"},
        {sharedPart, "xl/workbook.xml", "sheets 'A' and 'B' name the same part"},
        {manyCells, "xl/worksheets/sheet1.xml", "more than 2000000 cells"},
        {manyRows, "xl/worksheets/sheet1.xml", "more than 2000000 rows"},
        {manyStrings, "xl/sharedStrings.xml", "more than 2000000 shared strings"},
        {dir.file("absent.xlsx"), "", "does not exist"},
        {QStringLiteral("/dev/zero"), "", "a device"},
        {fifo, "", "a pipe"},
        {dir.path(), "", "a folder"},
        {test::fixture("xlsx/SOURCES.md"), "", "not a workbook"},
    };
    for (const auto& c : cases) {
        XlsxWorkbook workbook;
        EXPECT_FALSE(workbook.open(c.path)) << c.path.toStdString();
        EXPECT_EQ(workbook.error().part, QString::fromLatin1(c.part)) << c.path.toStdString();
        EXPECT_TRUE(workbook.error().reason.contains(QString::fromLatin1(c.reasonHas)))
            << c.path.toStdString() << ": " << workbook.error().text().toStdString();
        EXPECT_TRUE(workbook.worksheets().empty());
    }

    // Every cut of a good package fails cleanly (or, very near the end, still reads).
    for (const qsizetype keep : {qsizetype(0), qsizetype(10), good.size() / 2, good.size() - 30}) {
        XlsxWorkbook workbook;
        EXPECT_FALSE(workbook.openBytes(good.left(keep))) << keep;
        EXPECT_FALSE(workbook.error().reason.isEmpty());
    }
}
