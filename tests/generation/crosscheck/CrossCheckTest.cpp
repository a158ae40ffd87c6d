#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "generation/crosscheck/ComparedValues.h"
#include "generation/crosscheck/ComparisonWork.h"
#include "generation/crosscheck/CrossCheck.h"
#include "generation/crosscheck/frmSPLCrossCheck.h"
#include "platform/core/CountText.h"
#include "platform/core/InputScan.h"
#include "platform/ui/WorkProgress.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/SkippedErrors.h"

#include <QCheckBox>
#include <QPushButton>
#include <QLineEdit>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Separator = QString(128, QLatin1Char('-'));

QString lipitorOriginal()
{
    return test::fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml"));
}

QString lipitorRepackager()
{
    return test::fixture(QStringLiteral("spl-documents/openfda-lipitor-repackager/lipitor-repack.xml"));
}

// A small SPL document of the type, with `body` inside its structured body.
QString splDocument(const QString& type, const QString& body)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<document xmlns="urn:hl7-org:v3">
  <code code="1" displayName="%1"/>
  <effectiveTime value="20240101"/>
  <author><assignedEntity><representedOrganization><name>Labeler Inc</name></representedOrganization></assignedEntity></author>
  <component><structuredBody>%2</structuredBody></component>
</document>)")
        .arg(type, body);
}

QString section(const QString& title, const QString& text)
{
    return QStringLiteral("<component><section><title>%1</title><text>%2</text></section></component>").arg(title, text);
}

class CrossCheckTest : public test::CheckingTest {
protected:
    // Replaces the instruction file by one Setup for the type "LABEL" with the checks.
    void useInstructions(const QString& checks) const
    {
        program.write(QStringLiteral("SPLR4Definitions/CrossCheckInstruction.xml"),
                      QStringLiteral("<SPLCrossCheckInstruction><Setup><Header><DocumentType>LABEL</DocumentType>"
                                     "</Header><Details>%1</Details></Setup></SPLCrossCheckInstruction>")
                          .arg(checks));
    }

    QString writeLabel(const QString& name, const QString& body) const
    {
        return writeFile(name, splDocument(QStringLiteral("LABEL"), body));
    }

    // The blocks of a check's lines, one per control value: the lines between the separators
    // that follow its "Processing" line.
    static QStringList checkBlocks(const QString& check)
    {
        const QString text = logText();
        const QString head = QStringLiteral("Processing     ") + check + QLatin1Char('\n') + Separator + QLatin1Char('\n');
        const qsizetype start = text.indexOf(head);
        if (start < 0)
            return {};
        qsizetype end = text.indexOf(QStringLiteral("\nProcessing     "), start + head.size());
        if (end < 0)
            end = text.size();
        QStringList blocks = text.mid(start + head.size(), end - start - head.size()).split(Separator + QLatin1Char('\n'));
        blocks.removeAll(QString());
        return blocks;
    }

    static int count(const QString& text) { return int(logText().count(text)); }
};

TEST_F(CrossCheckTest, RepackagedLipitorAgainstItsSourceReportsTheRealDifferencesOnly)
{
    CompareSPLFiles(lipitorOriginal(), QStringLiteral("Original"), lipitorRepackager(), QStringLiteral("Repackager"),
                    false);

    EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Document Type is identical")));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("Labeler is different")));
    EXPECT_TRUE(logHas(QStringLiteral("Original: "), QStringLiteral("Parke-Davis Div of Pfizer Inc")));
    EXPECT_TRUE(logHas(QStringLiteral("Repackager: "), QStringLiteral("PD-Rx Pharmaceuticals, Inc.")));

    // The products of file 1 in document order are the 10, 20, 40 and 80 mg tablets; the
    // repackager relabels the 20 mg tablets (NDC 0071-0156) under a code of its own.
    QString relabeled;
    QString notRelabeled;
    for (const char* check : {"Product Identification", "Ingredients", "Packaging", "Marketing", "Product Characteristics"}) {
        const QStringList blocks = checkBlocks(QLatin1String(check));
        ASSERT_EQ(blocks.size(), 4) << check;
        notRelabeled += blocks[0];
        relabeled += blocks[1];
    }
    EXPECT_TRUE(relabeled.contains(QStringLiteral("Original:      0071-0156\nRepackager:    55289-800\n")));
    for (const char* identical :
         {"Proprietary Name", "Dosage Form", "Route of Administration", "Active Ingredient UNII", "Active Moiety UNII",
          "Strength", "Strength Unit", "Inactive Ingredient UNII", "Marketing Category", "Application Number",
          "Imprint", "Color", "Shape"})
        EXPECT_TRUE(relabeled.contains(QStringLiteral("Information    %1 is identical").arg(QLatin1String(identical))))
            << identical;
    for (const char* different : {"Active Ingredient UNII", "Inactive Ingredient UNII", "Strength", "Imprint"})
        EXPECT_FALSE(relabeled.contains(QStringLiteral("%1 is different").arg(QLatin1String(different)))) << different;
    // The labels write the generic name differently, and the repackager sells bottles of its own.
    EXPECT_TRUE(relabeled.contains(QStringLiteral("Warning        Non-Proprietary Name is different")));
    EXPECT_TRUE(relabeled.contains(QStringLiteral("Warning        NDC Package Code is different")));

    EXPECT_TRUE(notRelabeled.contains(QStringLiteral("Proprietary Name is different\nOriginal:      Lipitor\n"
                                                     "Repackager:    Not Found")));
    EXPECT_FALSE(notRelabeled.contains(QStringLiteral(" is identical")));

    EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Section Title is identical")));
    EXPECT_TRUE(logHas(QStringLiteral("Original: "), QStringLiteral("17.4 Breast-feeding")));

    const int differences = count(QStringLiteral(" is different\n"));
    EXPECT_GT(differences, 1);
    EXPECT_TRUE(logHas(QStringLiteral("Warning"),
                       QStringLiteral("There are %1 differences between the SPL Files in the compared sections.")
                           .arg(differences)));
}

// The product codes of file 1 choose what is compared: a code holding quotes and query text is
// compared as one text, so the file with it gives the differences of its honest twin.
TEST_F(CrossCheckTest, AProductCodeHoldingQuotesAndQueryTextIsComparedAsOneText)
{
    const QString original = test::readTextFile(lipitorOriginal());
    const auto summaryWithCode = [&](const QString& code) {
        const QString file = writeFile(QStringLiteral("coded.xml"), QString(original).replace(
            QStringLiteral("code=\"0071-0155\""), QStringLiteral("code=\"%1\"").arg(code.toHtmlEscaped())));
        const int fatalErrors = count(QStringLiteral("Fatal Error"));
        CompareSPLFiles(file, QStringLiteral("Original"), lipitorRepackager(), QStringLiteral("Repackager"), false);
        EXPECT_EQ(count(QStringLiteral("Fatal Error")), fatalErrors) << code.toStdString();
        static const QRegularExpression summary(QStringLiteral("There (is|are) [^\n]* between [^\n]*"));
        QString last;
        for (const QRegularExpressionMatch& match : summary.globalMatch(logText()))
            last = match.captured();
        return last;
    };
    const QString honest = summaryWithCode(QStringLiteral("0071-9999"));
    ASSERT_TRUE(honest.contains(QStringLiteral(" differences "))) << honest.toStdString();
    for (const QString& hostile : test::hostileQueryValues())
        EXPECT_EQ(summaryWithCode(QStringLiteral("0071-9999") + hostile), honest) << hostile.toStdString();
}

TEST_F(CrossCheckTest, DifferencesOnlyLeavesOutWhatIsIdentical)
{
    CompareSPLFiles(lipitorOriginal(), QString(), lipitorRepackager(), QString(), true);

    EXPECT_EQ(count(QStringLiteral(" is identical")), 0);
    EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("SPL File 1: ")));
    EXPECT_TRUE(logHas(QStringLiteral("SPL File 2: "), QStringLiteral("PD-Rx Pharmaceuticals, Inc.")));
    EXPECT_TRUE(logText().contains(QStringLiteral("differences between the SPL Files in the compared sections.")));
}

TEST_F(CrossCheckTest, IndexingFilesCompareTheirSubstanceAndClasses)
{
    const QString folder = QStringLiteral("spl-documents/openfda-pharm-class-indexing/");
    CompareSPLFiles(test::fixture(folder + QStringLiteral("METHOXSALEN.xml")), QStringLiteral("Methoxsalen"),
                    test::fixture(folder + QStringLiteral("4ad64379-4281-4d60-bf5f-655931ceba13.xml")),
                    QStringLiteral("Tildrakizumab"), false);

    EXPECT_FALSE(logText().contains(QStringLiteral("Fatal Error")));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("Substance UNII is different")));
    EXPECT_TRUE(logHas(QStringLiteral("Methoxsalen: "), QStringLiteral("Psoralen [EPC]")));
    EXPECT_TRUE(logText().contains(QStringLiteral("differences between the SPL Files in the compared sections.")));
}

TEST_F(CrossCheckTest, FilesThatCannotBeComparedEndTheRunWithTheReason)
{
    veldra::test::ExpectSkippedErrors skipped;  // a file that is not SPL has no document type
    const QString indexing = test::fixture(QStringLiteral("spl-documents/openfda-pharm-class-indexing/METHOXSALEN.xml"));
    CompareSPLFiles(lipitorOriginal(), QStringLiteral("Label"), indexing, QStringLiteral("Index"), false);
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("The SPL Files have Document Types that can't be compared.")));
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("Label: HUMAN PRESCRIPTION DRUG LABEL")));
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("Index: Indexing - Pharmacologic Class")));
    EXPECT_FALSE(logText().contains(QStringLiteral("\nProcessing "))); // no check ran

    const QString notSPL = writeFile(QStringLiteral("notes.xml"), QStringLiteral("<notes/>"));
    CompareSPLFiles(lipitorOriginal(), QString(), notSPL, QString(), false);
    EXPECT_TRUE(logText().contains(QStringLiteral("could not be read")));
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("SPL File 2: ")));

    CompareSPLFiles(lipitorOriginal(), QString(), QString(), QString(), false);
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("SPL Files to be compared are not correctly setup")));

    CompareSPLFiles(lipitorOriginal(), QString(), dir.file(QStringLiteral("missing.xml")), QString(), false);
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("SPL File 2:  SPL File not found")));
    EXPECT_FALSE(logText().contains(QStringLiteral("DISCLAIMER")));
}

TEST_F(CrossCheckTest, EachNodeOfFileOneIsLookedForByItsTextInFileTwo)
{
    useInstructions(QStringLiteral(R"(<CrossCheck Enabled="1" Name="Titles"><XPathProcess Name="Title">//section/title</XPathProcess></CrossCheck>
<CrossCheck Enabled="0" Name="Skipped"><XPathProcess Name="Never">//section</XPathProcess></CrossCheck>
<CrossCheck Enabled="1" Name="Texts"><XPathProcess Name="Text" DataType="Text">//section[title="B"]/text</XPathProcess></CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("A", "x") + section("B", "same") + section("C", "x"));
    const QString two = writeLabel(QStringLiteral("two.xml"), section("C", "y") + section("A", "y") + section("B", "same"));
    const QString three = writeLabel(QStringLiteral("three.xml"), section("A", "y") + section("Z", "other"));

    CompareSPLFiles(one, QStringLiteral("One"), two, QStringLiteral("Two"), false);
    EXPECT_EQ(count(QStringLiteral("Title is identical")), 3);
    EXPECT_FALSE(logText().contains(QStringLiteral("Skipped")));
    // Long texts stand on lines of their own under the display name and the check's name.
    EXPECT_TRUE(logText().contains(QStringLiteral("Information    Text is identical\nInformation    One: Texts\n"
                                                  "               same\nInformation    Two: Texts\n               same\n")));
    EXPECT_TRUE(logHas(QStringLiteral("Information"),
                       QStringLiteral("There are no differences between SPL Files in the compared sections.")));

    closeLog();
    CompareSPLFiles(one, QStringLiteral("One"), three, QStringLiteral("Three"), false);
    // B and C are missing in file three, which holds two titles: neither stands for "the other".
    EXPECT_EQ(count(QStringLiteral("Title is identical")), 1);
    EXPECT_TRUE(logText().contains(QStringLiteral("Warning        Title is different\nOne:           B\n"
                                                  "Three:         Not Found\n")));
    // The text of section B: file three has no such section.
    EXPECT_TRUE(logText().contains(QStringLiteral("Warning        One: Texts\n               same\n"
                                                  "Warning        Three: Texts\n               Not Found\n")));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"),
                       QStringLiteral("There are 3 differences between the SPL Files in the compared sections.")));

    closeLog();
    CompareSPLFiles(three, QStringLiteral("Three"), one, QStringLiteral("One"), true);
    // Only Z is unmatched; file one holds one node at the text query, which is the "other".
    EXPECT_EQ(count(QStringLiteral(" is identical")), 0);
    EXPECT_TRUE(logHas(QStringLiteral("Warning"),
                       QStringLiteral("There is 1 difference between the SPL Files in the compared sections.")));
}

TEST_F(CrossCheckTest, CodesMatchExactlyAndDisplayNamesWhateverTheirCaseAndSpacing)
{
    useInstructions(QStringLiteral(R"(<CrossCheck Enabled="1" Name="Sections">
  <XPathProcess Name="Section Code">//section/code/@code</XPathProcess>
  <XPathProcess Name="Section Name" DataType="DisplayName">//section/code/@displayName</XPathProcess>
</CrossCheck>)"));
    const auto coded = [](const char* code, const char* name) {
        return QStringLiteral("<component><section><code code=\"%1\" displayName=\"%2\"/></section></component>")
            .arg(QLatin1String(code), QLatin1String(name));
    };
    struct Case {
        const char* code1;
        const char* name1;
        const char* code2;
        const char* name2;
        int differences;
    } cases[] = {
        {"34067-9", "INDICATIONS &amp; USAGE SECTION", "34067-9", "Indications  &amp; usage\tsection ", 0},
        {"34067-9", "INDICATIONS &amp; USAGE SECTION", "34067-9", "INDICATIONS SECTION", 1},
        {"34067-9", "INDICATIONS &amp; USAGE SECTION", "34068-7", "INDICATIONS &amp; USAGE SECTION", 1},
        {"42229-5", "SPL UNCLASSIFIED SECTION", "42229-5 ", "SPL UNCLASSIFIED SECTION", 1},
    };
    for (const Case& c : cases) {
        closeLog();
        const QString one = writeLabel(QStringLiteral("one.xml"), coded(c.code1, c.name1));
        const QString two = writeLabel(QStringLiteral("two.xml"), coded(c.code2, c.name2));
        CompareSPLFiles(one, QString(), two, QString(), true);
        EXPECT_EQ(count(QStringLiteral(" is different\n")), c.differences) << c.code2 << " " << c.name2;
    }
}

TEST_F(CrossCheckTest, ControlValuesRunTheProcessQueriesOncePerValue)
{
    useInstructions(QStringLiteral(R"(<CrossCheck Enabled="1" Name="Per title">
  <XPathControl>//section/title</XPathControl>
  <XPathProcess Name="Text">//section[title="$ControlValue$"]/text</XPathProcess>
</CrossCheck>
<CrossCheck Enabled="1" Name="Nothing to control">
  <XPathControl>//section/code</XPathControl>
  <XPathProcess Name="Never">//section</XPathProcess>
</CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("A", "x") + section("B", "y"));
    const QString two = writeLabel(QStringLiteral("two.xml"), section("A", "x") + section("B", "y"));

    CompareSPLFiles(one, QString(), two, QString(), false);
    const QString expected = QStringLiteral("Processing     Per title\n%1\nInformation    Text is identical\n"
                                            "SPL File 1:    x\nSPL File 2:    x\n%1\nInformation    Text is identical\n"
                                            "SPL File 1:    y\nSPL File 2:    y\n%1\nProcessing     Nothing to control\n%1\n%1\n")
                                 .arg(Separator);
    EXPECT_TRUE(logText().contains(expected)) << logText().toStdString();

    // With differences only, no separator stands between values that were identical.
    closeLog();
    CompareSPLFiles(one, QString(), two, QString(), true);
    EXPECT_TRUE(logText().contains(QStringLiteral("Processing     Per title\n%1\n%1\nProcessing").arg(Separator)));
}

TEST_F(CrossCheckTest, WithLoggingOffTheSummaryIsAMessageBox)
{
    useInstructions(QStringLiteral(
        R"(<CrossCheck Enabled="1" Name="Titles"><XPathProcess Name="Title">//section/title</XPathProcess></CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("A", "x"));
    const QString two = writeLabel(QStringLiteral("two.xml"), section("B", "x"));
    NoLogging = true;

    CompareSPLFiles(one, QString(), one, QString(), false);
    CompareSPLFiles(one, QString(), two, QString(), false);

    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("There are no differences between SPL Files in the compared sections."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("There is 1 difference between the SPL Files in the compared sections."));
    EXPECT_EQ(ui.messages[1].icon, ui::Icon::Warning);
    EXPECT_EQ(logText(), QString());
}

// With logging off, a comparison that cannot run is no silent end: the box says so.
TEST_F(CrossCheckTest, WithLoggingOffAComparisonThatCannotRunSaysSo)
{
    useInstructions(QStringLiteral(
        R"(<CrossCheck Enabled="1" Name="Titles"><XPathProcess Name="Broken">//section[position()=1]</XPathProcess></CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("A", "x"));
    NoLogging = true;
    const QString expected = QStringLiteral("The SPL Files could not be compared. The comparison found %1: switch on Show "
                                            "Log and run it again for the details.");
    const struct {
        const char* name;
        QString file2;
        QString found;
    } cases[] = {
        {"a missing file", one + QStringLiteral(".missing"), QStringLiteral("1 error")},
        {"a faulty check", one, QStringLiteral("7 errors")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        CompareSPLFiles(one, QString(), c.file2, QString(), false);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, expected.arg(c.found));
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    }
}

TEST_F(CrossCheckTest, AFaultyCheckEndsTheRunWithWhatItWasDoing)
{
    useInstructions(QStringLiteral(R"(<CrossCheck Enabled="1" Name="Titles">
  <XPathControl>//section/title</XPathControl>
  <XPathProcess Name="Title">//section[title="$ControlValue$"]/title</XPathProcess>
  <XPathProcess Name="Broken">//section[position()=1]</XPathProcess>
</CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("A", "x"));

    CompareSPLFiles(one, QString(), one, QString(), false);

    const QString text = logText();
    const qsizetype block = text.indexOf(QStringLiteral("Error          Fatal Error"));
    ASSERT_GE(block, 0);
    for (const char* line : {"XPathControl: //section/title", "XPathProcess: //section[position()=1]",
                             "CrossCheck Name: Titles", "XPathProcess Name: Broken"})
        EXPECT_TRUE(logHas(QStringLiteral("Error"), QLatin1String(line))) << line;
    EXPECT_FALSE(text.contains(QStringLiteral("There are")));

    useInstructions(QStringLiteral(
        R"(<CrossCheck Enabled="1"><XPathProcess Name="Title">//section/title</XPathProcess></CrossCheck>)"));
    closeLog();
    CompareSPLFiles(one, QString(), one, QString(), false);
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("CrossCheck Name: ")));
    EXPECT_TRUE(logText().contains(QStringLiteral("Fatal Error")));
    EXPECT_FALSE(logText().contains(QStringLiteral("DISCLAIMER")));
}

TEST_F(CrossCheckTest, DisplayNameIsTheFirstProductOrTheLabelerWithTheEffectiveTime)
{
    EXPECT_EQ(GetSPLDisplayName(lipitorOriginal()), QStringLiteral("Lipitor 20140113"));

    const auto named = [this](const QString& file, const QString& name) {
        return writeLabel(file, QStringLiteral("<component><section><subject><manufacturedProduct><manufacturedProduct>"
                                               "<name>%1</name></manufacturedProduct></manufacturedProduct></subject>"
                                               "</section></component>").arg(name));
    };
    EXPECT_EQ(GetSPLDisplayName(named(QStringLiteral("unnamed.xml"), QString())), QStringLiteral("Labeler Inc 20240101"));

    const QString withoutProduct = writeLabel(QStringLiteral("none.xml"), section("A", "x"));
    EXPECT_THROW(GetSPLDisplayName(withoutProduct), VbError);

    // A name of megabytes is cut to the beginning of one line.
    EXPECT_EQ(GetSPLDisplayName(named(QStringLiteral("long.xml"), QStringLiteral("Tab\n ").repeated(400'000))),
              QStringLiteral("Tab ").repeated(50).trimmed() + QStringLiteral(" 20240101"));
}

TEST_F(CrossCheckTest, WindowFillsTheDescriptionsSwapsAndCompares)
{
    veldra::test::ExpectSkippedErrors skipped;  // a label without a product name gives no display name
    frmSPLCrossCheck form;
    ui.openFiles.push_back(lipitorOriginal());
    ui.openFiles.push_back(writeLabel(QStringLiteral("none.xml"), section("A", "x")));
    ui.openFiles.push_back(std::nullopt);

    form.cmdBrowseFile1->click();
    form.txtDisplayName2->setText(QStringLiteral("kept"));
    form.cmdBrowseFile2->click();
    form.cmdBrowseFile2->click();

    EXPECT_EQ(form.txtFile1->text(), lipitorOriginal());
    EXPECT_EQ(form.txtDisplayName1->text(), QStringLiteral("Lipitor 20140113"));
    EXPECT_EQ(form.txtDisplayName2->text(), QStringLiteral("kept"));
    EXPECT_TRUE(form.txtFile2->text().endsWith(QStringLiteral("none.xml")));
    EXPECT_EQ(ui.fileRequests.last().filter, QStringLiteral("SPL XML Files (*.xml)"));

    form.cmdSwapFiles->click();
    EXPECT_EQ(form.txtFile2->text(), lipitorOriginal());
    EXPECT_EQ(form.txtDisplayName1->text(), QStringLiteral("kept"));

    form.txtFile1->setText(lipitorRepackager());
    form.chkShowDifferencesOnly->setChecked(true);
    form.cmdCompare->click();
    EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("File 2: ") + lipitorOriginal()));
    EXPECT_EQ(count(QStringLiteral(" is identical")), 0);
}

// Names and values that hold line breaks (as labels' names do) are written on one line each, so
// that every line of the log is one the cross-check wrote.
TEST_F(CrossCheckTest, DescriptionsAndValuesAreWrittenOnOneLine)
{
    useInstructions(QStringLiteral(R"(<CrossCheck Enabled="1" Name="Titles"><XPathProcess Name="Title">//section/title</XPathProcess></CrossCheck>
<CrossCheck Enabled="1" Name="Texts"><XPathProcess Name="Text" DataType="Text">//section/text</XPathProcess></CrossCheck>)"));
    const QString one = writeLabel(QStringLiteral("one.xml"), section("Dosage\n   and  Use", "Take\n\t one"));
    const QString two = writeLabel(QStringLiteral("two.xml"), section("Dosage", "Take two"));
    EXPECT_EQ(GetSPLDisplayName(lipitorRepackager()).count(QLatin1Char('\n')), 0);

    CompareSPLFiles(one, QStringLiteral("First\n label"), two, QStringLiteral("Second"), false);

    EXPECT_TRUE(logHas(QStringLiteral("First label: "), QStringLiteral("Dosage and Use")));
    EXPECT_TRUE(logText().contains(QStringLiteral("Warning        First label: Texts\n               Take one\n")));
    for (const QString& line : logText().split(QLatin1Char('\n')))
        EXPECT_FALSE(line.startsWith(QStringLiteral("   and")) || line.startsWith(QStringLiteral("\t one"))
                     || line.startsWith(QStringLiteral(" label")))
            << line.toStdString();
}

// A real label grown as large labels grow: its body sections repeated, each copy with IDs of
// its own and its links pointed at them.
QString withSectionsRepeated(const QString& label, int times)
{
    const qsizetype start = label.indexOf(QLatin1Char('>'), label.indexOf(QStringLiteral("<structuredBody"))) + 1;
    const qsizetype end = label.lastIndexOf(QStringLiteral("</structuredBody>"));
    const QString body = label.mid(start, end - start);
    static const QRegularExpression ids(QStringLiteral(R"re((\b(?:ID|root)="|href="#|value="#)([^"]+)")re"));
    QString grown = body;
    for (int k = 1; k < times; ++k)
        grown += QString(body).replace(ids, QStringLiteral("\\1\\2-%1\"").arg(k));
    return label.left(start) + grown + label.mid(end);
}

struct CapInForce {
    explicit CapInForce(qint64 cap) { setComparisonWorkCap(cap); }
    ~CapInForce() { setComparisonWorkCap(0); }
};

const char* const TitleCheck =
    R"(<CrossCheck Enabled="1" Name="Titles"><XPathProcess Name="Title">//section/title</XPathProcess></CrossCheck>)";
const char* const PerTitleCheck =
    R"(<CrossCheck Enabled="1" Name="Titles"><XPathControl>//section/title</XPathControl>
       <XPathProcess Name="Title">//section/title[.="$ControlValue$"]</XPathProcess></CrossCheck>)";

QString sections(int count, const QString& title = QString())
{
    QString body;
    for (int i = 0; i < count; ++i)
        body += section(title.isEmpty() ? QStringLiteral("T%1").arg(i) : title, QStringLiteral("x"));
    return body;
}

const char* const TextCheck =
    R"(<CrossCheck Enabled="1" Name="Texts"><XPathProcess Name="Text" DataType="Text">//section/text</XPathProcess></CrossCheck>)";

qint64 elementsOf(const QString& file)
{
    return countMarkup(test::readTextFile(file).toUtf8()).elements;
}

// The nodes whose values a query's comparisons take, whatever literal stands in it.
TEST(ComparedValuesTest, AComparisonReadsThePathFromItsPredicatesStep)
{
    const struct {
        const char* query;
        QStringList compared;
    } rows[] = {
        {R"(//section[title="$ControlValue$"]/text)", {QStringLiteral("//section/title")}},
        {R"(//section/title[.="a]/x[y='b"])", {QStringLiteral("//title")}},
        {R"(//a[not(b)]/c[@d != 'IACT'][e/@f="1" or g/text()=h]/i)",
         {QStringLiteral("//c/@d"), QStringLiteral("//c/e/@f"), QStringLiteral("//c/g/text()"), QStringLiteral("//c/h")}},
        {R"(//m[m[code/@code="x"]]/n[position()=1][. >= 2])", {QStringLiteral("//m/code/@code"), QStringLiteral("//n")}},
        {"//section/title", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(comparedNodesQueries(QString::fromLatin1(row.query)), row.compared) << row.query;
}

// Each query reads the elements of both files, each node it selects counts once more, and so
// does each character of a value taken or given again: each row passes the cap one step past
// the work it does.
TEST_F(CrossCheckTest, TheWorkCountsElementsNodesSelectedCharactersAndReplayedResults)
{
    const QString longText(10'000, QLatin1Char('x'));
    const struct {
        const char* name;
        const char* check;
        const char* checkName;
        QString body1;
        QString body2;
        qint64 (*work)(qint64 elements1, qint64 elements2);
    } rows[] = {
        // titles T0 and T1 against T0..T59: 62 nodes, their 4 + 170 characters, and the 4 of
        // the two titles matched
        {"nodes selected", TitleCheck, "Titles", sections(2), sections(60), [](qint64 e1, qint64 e2) { return e1 + e2 + 62 + 178; }},
        // the text taken in each file and the matched one once more
        {"characters", TextCheck, "Texts", section("A", longText), section("A", longText),
         [](qint64 e1, qint64 e2) { return e1 + e2 + 2 + 30'000; }},
        // the control query (45 titles of 4 characters), the process query comparing all titles
        // (185 characters) and its 45 results, given again for 44 repeats with their characters
        {"replayed results", PerTitleCheck, "Titles", sections(45, QStringLiteral("Same")), sections(1, QStringLiteral("Other")),
         [](qint64 e1, qint64 e2) { return e1 + 45 + 180 + (e1 + e2 + 185) + 45 + 180 + 44 * (45 + 180); }},
    };
    for (const auto& row : rows) {
        useInstructions(QString::fromLatin1(row.check));
        const QString one = writeLabel(QStringLiteral("one.xml"), row.body1);
        const QString two = writeLabel(QStringLiteral("two.xml"), row.body2);
        const qint64 elements1 = elementsOf(one);
        const qint64 elements2 = elementsOf(two);
        const qint64 work = row.work(elements1, elements2);
        for (const qint64 cap : {work, work - 1}) {
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(QLatin1String(row.name)).arg(cap).toStdString());
            const CapInForce inForce(cap);
            closeLog();
            CompareSPLFiles(one, QString(), two, QString(), false);
            EXPECT_EQ(logText().contains(QStringLiteral(" between ")), cap == work);
            const QString refusal = QStringLiteral("The comparison was stopped: it came to %1 steps, more than the %2 a "
                                                   "comparison may take. The check '%3' came to %1 of them, ")
                                        .arg(countText(work), countText(cap), QLatin1String(row.checkName));
            EXPECT_EQ(logText().contains(refusal), cap < work) << logText().right(1500).toStdString();
            EXPECT_EQ(logText().contains(QStringLiteral("all %1 elements of both files (%2 of SPL File 1, %3 of SPL File 2)")
                                             .arg(countText(elements1 + elements2), countText(elements1), countText(elements2))),
                      cap < work);
        }
    }
}

// Cancel (the hook here) ends the run between values: the log, or the box with logging off,
// says it was stopped, and no summary follows.
TEST_F(CrossCheckTest, StoppingEndsTheRunBetweenValuesAndSaysSo)
{
    useInstructions(QString::fromLatin1(PerTitleCheck));
    const QString one = writeLabel(QStringLiteral("one.xml"), sections(5));
    const QString stopped = QStringLiteral("The comparison was stopped before its end; the results above are those of "
                                           "the checks it ran. The files are not changed.");
    for (const bool logging : {true, false}) {
        SCOPED_TRACE(logging);
        int calls = 0;
        // five control values taken, then for each value its query, file 2's node and file 1's
        ui::WorkProgress::setStopHook([&calls] { return ++calls > 5 + 2 * 3; });
        closeLog();
        ui.messages.clear();
        NoLogging = !logging;
        CompareSPLFiles(one, QString(), one, QString(), false);
        ui::WorkProgress::setStopHook({});
        EXPECT_EQ(count(QStringLiteral(" is identical")), logging ? 2 : 0);
        EXPECT_EQ(logText().contains(stopped), logging);
        EXPECT_FALSE(logText().contains(QStringLiteral("between SPL Files")));
        EXPECT_EQ(ui.messages.value(0).text, logging ? QString() : stopped);
        EXPECT_EQ(ui.messages.value(0).icon, logging ? ui::Icon::None : ui::Icon::Information);
    }
}

// One title in every section matches every copy of itself for each of them, and a value may
// run to megabytes: the log shows the first thousand results of a check, or as many as fit in
// its characters, each long value cut to its beginning and its length, and how many it left
// out; the summary counts them all.
TEST_F(CrossCheckTest, TheLogShowsABoundedNumberOfResultsAndCharactersPerCheckAndTheSummaryCountsAll)
{
    const QString longText = QString(1'400, QLatin1Char('x')) + QStringLiteral("\n  y");
    const struct {
        const char* name;
        const char* check;
        QString body;
        int differences;
        int shown;
    } cases[] = {
        {"at the bound", TitleCheck, sections(1000), 1000, 1000},
        {"one past it", TitleCheck, sections(1001), 1001, 1000},
        {"one title in every section", PerTitleCheck, sections(45, QStringLiteral("Same")), 2025, 1000},
        // each result writes 1,000 characters and the length of its value: 194 fit
        {"long values", TextCheck, QString(section(QStringLiteral("A"), longText)).repeated(300), 300, 194},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useInstructions(QString::fromLatin1(c.check).replace(QStringLiteral("\"Texts\""), QStringLiteral("\"Titles\"")));
        const QString one = writeLabel(QStringLiteral("one.xml"), c.body);
        const QString two = writeLabel(QStringLiteral("two.xml"), sections(1, QStringLiteral("Other")));
        closeLog();
        CompareSPLFiles(one, QString(), two, QString(), false);
        EXPECT_EQ(count(QStringLiteral(" is different")), c.shown);
        const QString leftOut = QStringLiteral("%1 more results of the check 'Titles' are not shown, %1 of them "
                                               "differences; the log shows the first 1,000 of each check, or as many "
                                               "as fit in 200,000 characters")
                                    .arg(countText(c.differences - c.shown));
        EXPECT_EQ(logText().contains(leftOut), c.differences > c.shown);
        EXPECT_TRUE(logText().contains(QStringLiteral("There are %1 differences").arg(c.differences)));
        EXPECT_LT(logText().size(), 400'000);
    }
    EXPECT_TRUE(logText().contains(QString(1'000, QLatin1Char('x')) + QStringLiteral(" ... (1,404 characters in all)\n")));
}

// Sections nested in one another's texts or titles, as hostile files nest them: every value
// holds every value below it, and each title may repeat. Compared through the shipped checks,
// each ends within the cap with a bounded log and a result or a refusal that names the cap.
TEST_F(CrossCheckTest, SectionsNestedInTextsOrTitlesEndWithinTheCap)
{
    const auto nested = [](const char* around, int depth, qsizetype bottom) {
        QString body = QString(bottom, QLatin1Char('x'));
        for (int level = 0; level < depth; ++level)
            body = QString::fromLatin1(around).arg(body);
        return body;
    };
    const struct {
        const char* name;
        QString body;
        bool differencesOnly;
    } rows[] = {
        {"in texts", nested("<component><section><title>Same</title><text>%1</text></section></component>", 80, 200'000), false},
        {"in titles", nested("<component><section><title>Same%1</title></section></component>", 80, 200'000), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = writeFile(QStringLiteral("nested.xml"),
                                       splDocument(QStringLiteral("HUMAN PRESCRIPTION DRUG LABEL"), row.body));
        closeLog();
        CompareSPLFiles(file, QString(), file, QString(), row.differencesOnly);
        EXPECT_TRUE(logText().contains(QStringLiteral("more than the 250,000,000 a comparison may take. The check "
                                                      "'Section Texts' came to")))
            << logText().right(3000).toStdString();
        EXPECT_LT(logText().size(), 2'000'000);
    }
}

// A label grown to well over a megabyte, as the largest real labels are, is compared in full.
TEST_F(CrossCheckTest, AGrownRealLabelAgainstItselfIsComparedInFull)
{
    const QString grown = writeFile(QStringLiteral("grown.xml"),
                                    withSectionsRepeated(test::readTextFile(lipitorOriginal()), 6));
    CompareSPLFiles(grown, QString(), grown, QString(), true);
    EXPECT_TRUE(logText().contains(QStringLiteral("There are no differences between SPL Files in the compared sections.")))
        << logText().right(2000).toStdString();
}

} // namespace
