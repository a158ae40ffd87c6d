// The shipped label templates end to end: a skeleton filled with sections, subsections,
// texts, excerpts, an image and every structured-data builder, finished, saved, valid against
// the SPL schema and rendered by the SPL stylesheet, with every value handed in on the page.
#include "SplBuilderTestSupport.h"

#include "platform/xml/resources/XsltProcessor.h"
#include "splbuilder/ValidateAgainstSchema.h"

using namespace veldra;
using namespace veldra::test;

namespace {

StructuredDataInput sampleStructuredData()
{
    StructuredDataInput in;
    in.SPLOutputBoxedWarning = 1;
    in.Ingredients = {{"ATORVASTATIN CALCIUM", "48A5M73Z4Q", "Active", "10", "mg", "C28253", "MILLIGRAM", "1", "1", "C48542", "TABLET"},
                      {"CALCIUM CARBONATE", "H0G9379FGK", "Inactive", "5", "mg", "C28253", "MILLIGRAM", "1", "1", "C48542", "TABLET"}};
    in.Packaging = {{"0071-0155-23", "C43165", "BOTTLE", "90", "1", "C48542", "TABLET", "1", "1", "C48542", "BOTTLE"}};
    in.ProductTradeName = "Veldrastatin";
    in.ProductGenericName = "atorvastatin calcium";
    in.ProductNCIAdministrativeFormCode = "C42931";
    in.ProductNCIAdministrativeFormName = "TABLET, FILM COATED";
    in.ProductNCIAdministrativeRouteCode = "C38288";
    in.ProductNCIAdministrativeRouteName = "ORAL";
    const QString snomed = "Systematized Nomenclature of Medicine";
    const QString nci = "National Cancer Institute Thesaurus";
    in.Indications = {{"55822004", "Hyperlipidemia", snomed}};
    in.ContraIndications = {{"C15220", nci, "Diagnosis", "77386006", snomed, "Pregnancy"}};
    in.DrugInteraction = {{"D3F2A4", "Food and Drug Administration Substance Registration System", "Cyclosporine", "C54706",
                           nci, "Increased drug level", "16524003", snomed, "Myopathy"}};
    in.AdverseReaction = {{"C41331", nci, "Adverse event", "68962001", snomed, "Muscle pain"}};
    in.ConditionOfUsePatientAgeLow = "10";
    in.ConditionOfUsePatientAgeHigh = "17";
    in.ConditionOfUseCoAdministrationCode = "C1234";
    in.ConditionOfUseCoAdministrationCodeSystem = nci;
    in.ConditionOfUseCoAdministrationName = "Ezetimibe";
    in.ConditionOfUseMonitoringCode = "2093-3";
    in.ConditionOfUseMonitoringCodeSystem = "Logical Observation Identifiers Names and Codes";
    in.ConditionOfUseMonitoringName = "Cholesterol";
    in.MaxDoseNumeratorValue = "80";
    in.MaxDoseNumeratorUnit = "mg";
    in.MaxDoseDenominatorValue = "1";
    in.MaxDoseDenominatorUnit = "d";
    in.DEAScheduleCode = "C48672";
    in.DEAScheduleDisplayName = "CII";
    in.DosageCharacteristicImprint = "PD;155";
    in.DosageCharacteristicSymbol = "false";
    in.DosageCharacteristicCoating = "true";
    in.DosageCharacteristicSize = "9";
    in.DosageCharacteristicShapeDisplayName = "OVAL";
    in.DosageCharacteristicNCIShapeCode = "C48345";
    in.DosageCharacteristicShapeOriginalText = "elliptical";
    in.DosageCharacteristicNCIScoreCode = "1";
    in.DosageCharacteristicColorDisplayName = "WHITE";
    in.DosageCharacteristicNCIColorCode = "C48325";
    in.DosageCharacteristicColorOriginalText = "white";
    return in;
}

void pourLabel(clsSPL& spl)
{
    for (QString title : {"INDICATIONS AND USAGE", "Dosage and Administration", "CONTRAINDICATIONS", "ADVERSE REACTIONS",
                          "DRUG INTERACTIONS", "USE IN SPECIFIC POPULATIONS", "HOW SUPPLIED/STORAGE AND HANDLING"})
        spl.RememberSectionInformation(title);
    QString section = "USE IN SPECIFIC POPULATIONS", sub = "Geriatric Use", none, id;
    ASSERT_TRUE(spl.AddSubSection(section, sub));
    const auto add = [&](QString title, QString subTitle, const QString& type, QString text) {
        QString paragraphId;
        EXPECT_TRUE(spl.AddSectionText(title, subTitle, type, text, false, paragraphId)) << text.toStdString();
    };
    add("INDICATIONS AND USAGE", "", "Normal", "Reduces cholesterol in <content styleCode=\"bold\">adults</content>.");
    add("DOSAGE AND ADMINISTRATION", "", "BulletList", "<list listType=\"unordered\"><item>Take once daily</item></list>");
    add("ADVERSE REACTIONS", "", "Table", "<table><tbody><tr><td>Myalgia</td><td>3%</td></tr></tbody></table>");
    add("USE IN SPECIFIC POPULATIONS", "Geriatric Use", "Normal", "No dose change in elderly patients.");
    add("CONTRAINDICATIONS", "", "Normal", "Äußerst selten: 過敏症");
    add("DRUG INTERACTIONS", "", "Normal", "");
    QString how = "HOW SUPPLIED/STORAGE AND HANDLING", noSub, imageId = "MM1";
    spl.AddSectionImage(how, noSub, imageId, "tablet.jpg");
    add("HOW SUPPLIED/STORAGE AND HANDLING", "", "Image", "MM1");
    QString excerptTitle = "INDICATIONS AND USAGE", excerpt = "Statin for hyperlipidemia";
    EXPECT_TRUE(spl.AddSectionExcerpt(excerptTitle, "Normal", excerpt, false, false));
}

} // namespace

class WholeRoadTest : public SplBuilderTest {};

TEST_F(WholeRoadTest, TheShippedSkeletonFilledFinishedAndSavedIsValidSplThatRendersEveryValue)
{
    writeLoincDatabase();
    struct Pass {
        const char* name;
        bool structured;
    };
    for (const Pass pass : {Pass{"FinalizeSPLR4", false}, Pass{"Finalize", true}}) {
        SCOPED_TRACE(pass.name);
        clsSPL spl = initialized();
        spl.today = [] { return QDate(2024, 1, 31); };
        spl.SetUserData("0a6e5b4c-1d2e-4f3a-9b8c-7d6e5f4a3b2c", "1", "Veldrastatin tablets", "20240131", "20240201",
                        "Veldra Pharma", "1 Main Street", "FDA", "Silver Spring", "1996", "Veldra Pharma", "Ada",
                        "Lovelace", "tel:+1-800-555-0100", "http://www.example.com");
        pourLabel(spl);
        const StructuredDataInput input = sampleStructuredData();
        if (pass.structured)
            spl.Finalize(input);
        else
            spl.FinalizeSPLR4();

        const QString file = program->file(QStringLiteral("label.xml"));
        spl.SaveFile(file);
        EXPECT_EQ(ValidateAgainstSchema(file), QString()) << logLines().join('\n').toStdString();

        xml::Document saved;
        ASSERT_TRUE(saved.load(file));
        EXPECT_EQ(saved.selectNodes("//section[title='$SubSection']").length(), 0);
        EXPECT_EQ(saved.selectNodes("//structuredBody/component").length(), 7) << "only the label's sections stay";
        EXPECT_EQ(saved.selectSingleNode("//section[title='Geriatric Use']/code").getAttribute("code"),
                  pass.structured ? QString("42229-5") : QString("34082-8"));

        const xml::XsltResult page =
            xml::XsltProcessor().transformFile(fixture(QStringLiteral("spl-stylesheet-6.2/spl.xsl")), file);
        ASSERT_TRUE(page.ok()) << page.problem.toStdString();
        QStringList expected{"Veldrastatin tablets", "Reduces cholesterol", "Take once daily", "Myalgia",
                             "No dose change in elderly patients", "Äußerst selten: 過敏症", "tablet.jpg",
                             "Statin for hyperlipidemia"};
        if (pass.structured)
            expected << "Veldrastatin" << "atorvastatin calcium" << "ATORVASTATIN CALCIUM" << "48A5M73Z4Q"
                     << "CALCIUM CARBONATE" << "0071-0155-23" << "ORAL" << "PD;155"
                     << "OVAL" << "WHITE" << "CII";
        for (const QString& value : expected)
            EXPECT_TRUE(page.text.contains(value)) << value.toStdString();
        if (pass.structured) {
            // The coded statements carry every value of the rows, even where a page shows none.
            const QString xmlText = readTextFile(file);
            for (const char* value : {"55822004", "Hyperlipidemia", "77386006", "D3F2A4", "16524003", "68962001",
                                      "C1234", "Ezetimibe", "C42931", "code=\"55822004\" codeSystem=\"2.16.840.1.113883.6.96\"", "2093-3", "Cholesterol", "value=\"10\"", "value=\"17\"",
                                      "value=\"80\"", "C48345", "elliptical", "C48325", "H0G9379FGK"})
                EXPECT_TRUE(xmlText.contains(value)) << value;
        }
    }
}

// The headings real labels print, Drug Facts and prescription alike, each find a section of
// the skeleton, keep their text and carry the code real labels give them; the label that
// uses them all is valid SPL.
TEST_F(WholeRoadTest, TheHeadingsRealLabelsPrintKeepTheirSectionsAndCodes)
{
    writeLoincDatabase();
    const QList<QPair<QString, QString>> headings{
        {"Active ingredients", "55106-9"},
        {"Purposes", "55105-1"},
        {"Use", "34067-9"},
        {"Uses", "34067-9"},
        {"Warnings", "34071-1"},
        {"Do not use", "50570-1"},
        {"Ask a doctor before use", "50569-3"},
        {"Ask a doctor or pharmacist before use", "50568-5"},
        {"When using this product", "50567-7"},
        {"Stop use and ask a doctor if", "50566-9"},
        {"If pregnant or breast-feeding", "53414-9"},
        {"Keep out of reach of children", "50565-1"},
        {"Directions", "34068-7"},
        {"Questions or comments?", "53413-1"},
        {"INFORMATION FOR PATIENTS", "34076-0"},
        {"PRINCIPAL DISPLAY PANEL", "51945-4"},
    };
    clsSPL spl = initialized();
    spl.SetUserData("0a6e5b4c-1d2e-4f3a-9b8c-7d6e5f4a3b2c", "1", "Veldra cough syrup", "20240131", "20240201",
                    "Veldra Pharma", "1 Main Street", "FDA", "Silver Spring", "2024", "Veldra Pharma", "Ada", "Lovelace",
                    "tel:+1-800-555-0100", "http://www.example.com");
    QStringList written;
    for (const auto& heading : headings) {
        QString title = heading.first, none, text = "Text of " + heading.first, id;
        spl.RememberSectionInformation(title);
        EXPECT_TRUE(spl.AddSectionText(title, none, "Normal", text, false, id)) << title.toStdString();
        written << heading.first;
    }
    spl.FinalizeSPLR4();
    const QString file = program->file(QStringLiteral("label.xml"));
    spl.SaveFile(file);
    EXPECT_EQ(ValidateAgainstSchema(file), QString()) << logLines().join('\n').toStdString();

    xml::Document saved;
    ASSERT_TRUE(saved.load(file));
    QList<QPair<QString, QString>> kept;
    QStringList texts;
    for (const xml::Node& section : saved.selectNodes("//structuredBody/component/section")) {
        kept.append({section.selectSingleNode("title").text(), section.selectSingleNode("code").getAttribute("code")});
        texts << section.selectSingleNode("text").text().trimmed().remove("Text of ");
    }
    // The skeleton's own wording stands where the label's differs only in letter case.
    QList<QPair<QString, QString>> expected = headings;
    expected[4].first = "WARNINGS";
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(texts, written);
}
