// The field rules of an import entry, on an entry of the test's own (the shipped entries
// use only some of them), through the same editor command.
#include "editor/excel/ExcelImportTestSupport.h"
#include "editor/excel/clsExcelImport.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/SkippedErrors.h"
#include "support/TempDir.h"
#include "support/XlsxBuilder.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace veldra;
using test::childNames;
using test::textsAt;

namespace {

// Establishments of the registrant, from a sheet of the test's own. XPath fields select
// from the parent of the Target element: here the registrant.
const char* const Entries = R"(<ExcelImportDefinition>
  <ExcelImport><Name>Labeler</Name><Repeat>ContactParty</Repeat><Target>.</Target><DataStartRow>two</DataStartRow>
    <Field><Source>A</Source><Target>City</Target></Field>
  </ExcelImport>
  <ExcelImport><Name>Registrant</Name><Repeat>Establishment</Repeat><Target>Imported</Target><DataStartRow>3</DataStartRow>
    <Field Default="GUID"><Source>A</Source><Target>EstablishmentName</Target></Field>
    <Field><Source>B+C</Source><Target>City</Target></Field>
    <Field><Source>B/C</Source><Target>State</Target></Field>
    <Field><Source>B+C-D</Source><Target>PostalCode</Target></Field>
    <Field><Source>D*E*F</Source><Target>StreetAddressLine</Target></Field>
    <Field Format="000000" Remove="1" SubString="2;3" Prefix="P-"><Source>E</Source><Target>CountryCode</Target></Field>
    <Field XPath="Establishment/BusinessOperation"><Source>F</Source><Target>BusinessOperation</Target></Field>
    <Field XPath="NoSuchElement" Prefix="none"><Source>F</Source><Target>EstablishmentDUNSNumber</Target></Field>
    <Field Default="kept"><Target>NoSuchTarget</Target></Field>
  </ExcelImport>
</ExcelImportDefinition>)";

} // namespace

TEST(ExcelImportFieldsTest, EveryFieldRuleOnTwoAcceptedWorksheets)
{
    // The field that names no element of the record is skipped, as a failing statement is.
    test::ExpectSkippedErrors skipped;
    test::ProgramFolderCopy folder;
    test::writeTextFile(folder.file("SPLR4Definitions/ExcelImportDefinition.xml"), QString::fromUtf8(Entries));
    test::ScriptedUi ui;
    test::TempDir dir;
    auto editor = test::newSettings();
    // Two business operations already in the document: the XPath field copies both.
    const xml::Node operation = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Registrant/Establishment/BusinessOperation"));
    operation.selectSingleNode(QStringLiteral("BusinessOperationCode")).setText(QStringLiteral("C43360"));
    const xml::Node second = operation.parentNode().appendChild(operation.cloneNode(true));
    second.selectSingleNode(QStringLiteral("BusinessOperationCode")).setText(QStringLiteral("C82401"));
    editor->RefreshXML(false);

    test::XlsxBuilder book(dir.file("sites.xlsx"));
    book.sheet("First")
        .row(3, {"only A counts", 2, 3, 4, 1231, 5})
        .row(4, {"texts", "ab", "cd", QVariant(), "text"})
        .row(5, {"zero", 1, 0, 2, 10, 3})
        .row(6, {QVariant(), 7, 8, 9});  // only combined sources: the end
    book.sheet("Second").row(3, {"x", 1, 1, 1, 1, 1});
    ui.openFiles.push_back(book.save());

    test::importAt(*editor, QStringLiteral("SPLR4/Registrant"));

    const xml::Node imported = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Registrant/Imported"));
    ASSERT_FALSE(imported.isNull()) << "a missing Target element is made";
    EXPECT_EQ(childNames(imported),
              QStringList({"ExcelFile", "WorkSheet", "ImportDateTime", "Establishment", "Establishment", "Establishment",
                           "ExcelFile", "WorkSheet", "ImportDateTime", "Establishment"}));
    const QStringList ids = textsAt(imported, QStringLiteral("Establishment/EstablishmentName"));
    ASSERT_EQ(ids.size(), 4);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"))
                    .match(ids.at(0)).hasMatch());
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), 4) << "a new id per record";
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/City")), QStringList({"5", "abcd", "1", "2"}));
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/State")), QStringList({"0.666666666666667", "", "", "1"}));
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/PostalCode")), QStringList({"", "", "", ""}));
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/StreetAddressLine")), QStringList({"4924", "", "20", "1"}));
    // 1231 -> "001231" -> "0023" -> "023"; a text is no number and keeps its letters.
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/CountryCode")),
              QStringList({"P-023", "P-ext", "P-000", "P-000"}));
    EXPECT_EQ(textsAt(imported, QStringLiteral("Establishment/EstablishmentDUNSNumber")),
              QStringList({"none", "none", "none", "none"}));
    for (const xml::Node& site : imported.selectNodes(QStringLiteral("Establishment")))
        EXPECT_EQ(textsAt(site, QStringLiteral("BusinessOperation/BusinessOperationCode")), QStringList({"C43360", "C82401"}));

    // A DataStartRow that is no number imports no row, but the worksheet is still recorded.
    ui.messages.clear();
    ui.openFiles.push_back(dir.file("sites.xlsx"));
    ui.answers = {ui::Answer::Yes, ui::Answer::No};
    test::importAt(*editor, QStringLiteral("SPLR4/Labeler"));
    const xml::Node labeler = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Labeler"));
    EXPECT_EQ(childNames(labeler).mid(childNames(labeler).size() - 3), QStringList({"ExcelFile", "WorkSheet", "ImportDateTime"}));
    EXPECT_EQ(labeler.selectNodes(QStringLiteral("ContactParty")).length(), 1);
}

// The split of lot numbers, over the whole document: line feeds first, else blanks; two
// blanks make an empty lot; the copies are not split again.
TEST(ExcelImportFieldsTest, LotNumbersSplitAcrossTheDocument)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral(
        "<SPLR4><Elsewhere><BulkLot><LotNumber>X1 X2</LotNumber></BulkLot></Elsewhere>"
        "<LotDistributionReport><BulkLot><LotNumber>A1 \n A2\nA3</LotNumber><Extra>e</Extra></BulkLot>"
        "<BulkLot><LotNumber>B1  B2</LotNumber></BulkLot><BulkLot><LotNumber>C1</LotNumber></BulkLot>"
        "<BulkLot><Other/></BulkLot><BulkLot><LotNumber>D1 D2</LotNumber></BulkLot></LotDistributionReport></SPLR4>")));
    clsExcelImport().LotDistributionReportPostProcessing(doc.selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport")));

    EXPECT_EQ(textsAt(doc.documentElement(), QStringLiteral("Elsewhere/BulkLot/LotNumber")), QStringList({"X2", "X1"}));
    // The lot without a LotNumber stops the split: D1 D2 stays as it is.
    EXPECT_EQ(textsAt(doc.documentElement(), QStringLiteral("LotDistributionReport/BulkLot/LotNumber")),
              QStringList({" A2", "A3", "A1 ", "", "B2", "B1", "C1", "D1 D2"}));
    EXPECT_EQ(textsAt(doc.documentElement(), QStringLiteral("LotDistributionReport/BulkLot/Extra")), QStringList({"e", "e", "e"}));
}
