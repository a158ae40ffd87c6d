#include "SplBuilderTestSupport.h"

#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString nci = QStringLiteral("National Cancer Institute Thesaurus");
const QString snomed = QStringLiteral("Systematized Nomenclature of Medicine");
const QString highlight = QStringLiteral("//section[@ID='%1']/excerpt/highlight");

class StructuredDataTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        useSmallSkeleton();
        spl = initialized();
    }
    // The log lines after the builder's bold separator.
    QStringList builderLines() const { return logLines().mid(1); }
    QString attributeAt(const QString& path, const QString& name) const
    {
        const xml::Node node = spl.Document->selectSingleNode(path);
        return node ? node.getAttribute(name) : QStringLiteral("<none>");
    }
    void breakFragment(const QString& file, const QString& from, const QString& to) const
    {
        writeTemplate(file, readTextFile(templatePath(file)).replace(from, to));
    }

    clsSPL spl;
};

} // namespace

TEST_F(StructuredDataTest, IndicationsBecomeOneSubjectPerRowInTheHighlight)
{
    spl.AddStructuredDataIndications({{"55822004", "Hyperlipidemia", snomed}, {"C1", "", "NCI Thesaurus"}, {"C2", "Angina", nci}});

    const xml::NodeList subjects = spl.Document->selectNodes(highlight.arg("INDICATIONS-AND-USAGE") + "/subject");
    ASSERT_EQ(subjects.length(), 3);
    QStringList values;
    for (const xml::Node& subject : subjects) {
        const xml::Node value = subject.selectSingleNode(".//indicationObservationCriterion/value");
        values << value.getAttribute("code") + "|" + value.getAttribute("displayName") + "|" + value.getAttribute("codeSystem");
    }
    EXPECT_EQ(values, (QStringList{"55822004|Hyperlipidemia|2.16.840.1.113883.6.96", "C1||UNKNOWN",
                                   "C2|Angina|2.16.840.1.113883.3.26.1.1"}));
    EXPECT_EQ(builderLines(), (QStringList{line("Information", "Start processing Indications"),
                                           line("Processing", "Indication: 55822004-" + snomed + "-Hyperlipidemia"),
                                           line("Processing", "Indication: C1-NCI Thesaurus-"),
                                           line("Processing", "Indication: C2-" + nci + "-Angina"),
                                           line("Information", "Indications successfully processed")}));
}

TEST_F(StructuredDataTest, ListBuildersReportWhatStopsThem)
{
    // No rows: three lines and the fragment is never read.
    QFile::remove(templatePath("TEMPLATE_STRUCTURED_DATA_INDICATIONS.xml"));
    spl.AddStructuredDataIndications({});
    EXPECT_EQ(logLines(), (QStringList{line(logSeparator(), ""), line("Information", "Start processing Indications"),
                                       line("Warning", "No Indications defined")}));
    // A missing fragment: one Error line with the prefix.
    spl.AddStructuredDataIndications({{"1", "x", snomed}});
    EXPECT_TRUE(logLines().last().contains("Indication template loading failed: "));
    EXPECT_TRUE(logLines().last().startsWith("Error"));

    // A unit without an attribute of the mapping: the error goes to the caller, the document
    // stays as it was.
    breakFragment("TEMPLATE_STRUCTURED_DATA_ADVERSE_REACTIONS.xml", "<value xsi:type=\"CE\" code=\"\" codeSystem=\"\"",
                  "<value xsi:type=\"CE\" code=\"\"");
    const QString before = spl.Document->xml();
    EXPECT_THROW(spl.AddStructuredDataAdverseReaction({{"1", nci, "a", "2", snomed, "b"}}), VbError);
    EXPECT_EQ(spl.Document->xml(), before);

    // No target section: the move failure is logged and the builder returns.
    spl.Document->selectSingleNode("//section[@ID='CONTRAINDICATIONS']").setAttribute("ID", "GONE");
    spl.AddStructuredDataContraIndications({{"1", nci, "a", "2", snomed, "b"}});
    EXPECT_TRUE(logLines().last().startsWith(line("Error", "Adding Contraindications failed: clsSPL 1012 element not found: "))) << logLines().last().toStdString();

    // No document: the rows are still read and logged first.
    clsSPL empty;
    empty.AddStructuredDataContraIndications({{"1", nci, "a", "2", snomed, "b"}});
    EXPECT_EQ(logLines().mid(logLines().size() - 2),
              (QStringList{line("Processing", "Contraindication: 1-" + nci + "-a-2-" + snomed + "-b"),
                           line("Warning", "Contraindications cannot be added cause document is not initialized")}));
}

TEST_F(StructuredDataTest, InteractionsAndContraindicationsKeepTheirIssueWhole)
{
    spl.AddStructuredDataDrugInteraction({{"I1", "", "Grapefruit", "R1", nci, "Risk", "V1", snomed, "Myopathy"},
                                          {"I2", "LOINC", "", "R2", nci, "Risk 2", "V2", snomed, "Rash"}});
    spl.AddStructuredDataContraIndications({{"C1", nci, "Pregnancy", "", snomed, ""}});

    const xml::NodeList interactions = spl.Document->selectNodes(highlight.arg("DRUG-INTERACTIONS") + "/subject");
    ASSERT_EQ(interactions.length(), 2);
    EXPECT_EQ(interactions.item(1).selectSingleNode(".//administrableMaterialKind/code").getAttribute("code"), "I2");
    EXPECT_EQ(interactions.item(1).selectSingleNode(".//administrableMaterialKind/code").getAttribute("codeSystem"), "UNKNOWN");
    EXPECT_EQ(interactions.item(0).selectSingleNode(".//consequenceObservation/value").getAttribute("displayName"), "Myopathy");
    const xml::NodeList contraindications = spl.Document->selectNodes(highlight.arg("CONTRAINDICATIONS") + "/subject");
    ASSERT_EQ(contraindications.length(), 1);
    EXPECT_EQ(contraindications.item(0).selectSingleNode(".//observationCriterion/value").getAttribute("code"), "");
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Processing", "Drug Interaction: I1--Grapefruit-R1-" + nci + "-Risk-V1-" + snomed + "-Myopathy")));
    EXPECT_TRUE(log.contains(line("Information", "Drug Drug Interactions successfully processed")));
}

TEST_F(StructuredDataTest, TheProductBlockHoldsIngredientsAndPackagesInRowOrder)
{
    const auto ingredient = [](const char* name, const char* role) {
        return StructuredRow{name, QString(name) + "-UNII", role, "1", "mg", "C28253", "MILLIGRAM", "1", "1", "C48542", "TABLET"};
    };
    const auto package = [](const char* code) {
        return StructuredRow{code, "C43165", "BOTTLE", "30", "1", "C48542", "TABLET", "1", "1", "C43165", "BOTTLE"};
    };
    spl.AddStructuredDataProductDataAndIngredients(
        {ingredient("A", "Active"), ingredient("B", "Inactive"), ingredient("C", "Active"), ingredient("D", "active"),
         ingredient("E", "Inactive")},
        {package("P1"), package("P2"), package("P3")}, "Trade", "Generic", "C42998", "TABLET", "C38288", "ORAL");

    const xml::Node section = spl.Document->selectSingleNode("//section[@ID='HOW-SUPPLIED-STORAGE-AND-HANDLING']");
    ASSERT_EQ(section.selectSingleNode("excerpt").previousSibling().localName(), "subject");
    QStringList children;
    for (const xml::Node& child : section.selectNodes("subject/manufacturedProduct/manufacturedProduct/*")) {
        const xml::Node name = child.selectSingleNode("ingredientSubstance/name");
        const xml::Node package = child.selectSingleNode("containerPackagedProduct/code");
        children << child.localName() + (name ? ":" + name.text() : package ? ":" + package.getAttribute("code") : QString());
    }
    EXPECT_EQ(children, (QStringList{"name", "formCode", "asEntityWithGeneric", "ingredient:A", "ingredient:C",
                                     "ingredient:B", "ingredient:E", "asContent:P1", "asContent:P2", "asContent:P3"}));
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Error", "Ingredient Role not specified: D")));
    EXPECT_TRUE(log.contains(line("Processing", "Active ingredient: A(Code: A-UNII)")));
    EXPECT_TRUE(log.contains(line("Processing", "Package Size coded: 30 C48542 TABLET/1 C43165 BOTTLE")));
    EXPECT_EQ(log.last(), line("Information", "Product Data successfully processed"));
}

TEST_F(StructuredDataTest, AProductWithoutRowsOrPlaceReportsIt)
{
    spl.Document->selectSingleNode("//section[@ID='HOW-SUPPLIED-STORAGE-AND-HANDLING']").setAttribute("ID", "ELSEWHERE");
    const QString before = spl.Document->xml();
    spl.AddStructuredDataProductDataAndIngredients({}, {}, "T", "G", "F", "FN", "R", "RN");
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Error", "No ingredients defined - SPL may not be accepted by FDA")));
    EXPECT_TRUE(log.contains(line("Error", "No packaging defined - SPL may not be accepted by FDA")));
    EXPECT_TRUE(log.contains(line("Error", "No active ingredients defined - SPL may not be accepted by FDA")));
    EXPECT_TRUE(log.contains(line("Error", "No inactive ingredients defined - SPL may not be accepted by FDA")));
    EXPECT_TRUE(log.last().startsWith(line("Error", "Adding product Data failed: ")));
    EXPECT_EQ(spl.Document->xml(), before);
}

TEST_F(StructuredDataTest, ConditionsOfUseJoinTheFirstIndicationAndDosesAddSubjects)
{
    const QString indications = highlight.arg("INDICATIONS-AND-USAGE");
    spl.AddStructuredDataConditionOfUsePatientAge("17", "");
    EXPECT_EQ(logLines().last(), line("Warning", "No Condition of Use - Patient Age - defined"));
    spl.AddStructuredDataConditionOfUsePatientAge("17", "10");
    spl.AddStructuredDataConditionOfUseCoAdministration("", "", "Ezetimibe");
    spl.AddStructuredDataConditionOfUseMonitoring("2093-3", "Logical Observation Identifiers Names and Codes", "Cholesterol");
    spl.AddStructuredDataIndications({{"55822004", "Hyperlipidemia", snomed}});

    ASSERT_EQ(count(spl, indications + "/subject"), 2);
    QStringList pieces;
    for (const xml::Node& child : spl.Document->selectNodes(indications + "/subject[0]/substanceAdministration/*"))
        pieces << child.localName();
    EXPECT_EQ(pieces, (QStringList{"precondition", "precondition", "componentOf"})) << "all in the first subject";
    EXPECT_EQ(attributeAt(indications + "//administrableMaterialKind/code", "codeSystem"), "UNKNOWN");
    EXPECT_EQ(attributeAt(indications + "//low", "value"), "10");
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Processing", "Condition of Use - Patient Age: 10-17 years (a)")));
    EXPECT_TRUE(log.contains(line("Processing", "Condition of Use - Co Administration: --Ezetimibe")));
    EXPECT_TRUE(log.contains(line("Information", "Condition of Use - Co Administration - successfully added")));

    spl.AddStructuredDataMaximumDose("80", "mg", "", "d");
    EXPECT_EQ(logLines().last(), line("Warning", "Maximum Dose not or not correctly defined"));
    spl.AddStructuredDataMaximumDose("80", "mg", "1", "d");
    spl.AddStructuredDataMaximumDose("40", "mg", "1", "d");
    EXPECT_EQ(count(spl, highlight.arg("DOSAGE-AND-ADMINISTRATION") + "/subject"), 2);

    spl.Document->selectSingleNode("//section[@ID='DOSAGE-AND-ADMINISTRATION']").setAttribute("ID", "GONE");
    spl.AddStructuredDataMaximumDose("80", "mg", "1", "d");
    EXPECT_TRUE(logLines().last().startsWith(line("Error", "Adding Maximum Dose failed: ")));
    EXPECT_EQ(count(spl, "//maxDoseQuantity"), 2) << "nothing of the failed dose stays";
}

TEST_F(StructuredDataTest, DosageCharacteristicsKeepOnlyWhatIsGivenBeforeTheRoute)
{
    spl.AddStructuredDataProductDataAndIngredients({}, {}, "T", "G", "F", "FN", "R", "RN");
    const QString product = "//section[@ID='HOW-SUPPLIED-STORAGE-AND-HANDLING']/subject/manufacturedProduct";

    spl.AddStructuredDataDosageCharacteristics("", "CII", "", "", "", "", "", "", "", "", "", "", "");
    EXPECT_EQ(logLines().filter("not defined").size(), 8);
    EXPECT_EQ(logLines().last(), line("Information", "No Dosage Characteristics and DEA Schedule defined"));
    EXPECT_EQ(count(spl, product + "/subjectOf"), 0);

    spl.AddStructuredDataDosageCharacteristics("C48672", "CII", "", "", "", "", "ROUND", "C48348", "", "2", "WHITE", "", "");
    QStringList kept;
    for (const xml::Node& subjectOf : spl.Document->selectNodes(product + "/subjectOf"))
        kept << subjectOf.firstChild().firstChild().getAttribute("code");
    EXPECT_EQ(kept, (QStringList{"C48672", "SPLSHAPE", "SPLSCORE"})) << "colour needs its code too";
    EXPECT_EQ(attributeAt(product + "/subjectOf/characteristic[code/@code='SPLSCORE']/value", "value"), "2");
    EXPECT_EQ(text(spl, product + "/subjectOf/characteristic[code/@code='SPLSHAPE']/value/originalText"), "");
    EXPECT_EQ(spl.Document->selectSingleNode(product + "/consumedIn").previousSibling().localName(), "subjectOf");
    EXPECT_EQ(logLines().last(), line("Information", "Dosage Characteristics and DEA Schedule - successfully processed"));

    spl.Document->selectSingleNode("//section[@ID='HOW-SUPPLIED-STORAGE-AND-HANDLING']").setAttribute("ID", "GONE");
    spl.AddStructuredDataDosageCharacteristics("", "", "PD", "", "", "", "", "", "", "", "", "", "");
    EXPECT_TRUE(logLines().last().startsWith(line("Error", "Adding Dosage Characteristics and DEA Schedule failed: ")));
}

// A product or dosage fragment that lacks an element the builder fills stops it with an error
// naming that element, before anything reaches the document.
TEST_F(StructuredDataTest, ProductAndDosageFragmentsLackingAnElementFailNamingIt)
{
    const QString product = "TEMPLATE_STRUCTURED_DATA_PRODUCT.xml", ingredients = "TEMPLATE_STRUCTURED_DATA_INGREDIENTS.xml",
                  dosage = "TEMPLATE_STRUCTURED_DATA_DOSAGE_CHARACTERISTICS.xml";
    const struct {
        QString file;
        QString from;
        QString to;
        QString missing;
    } cases[] = {
        {product, "routeCode", "route", "subject//consumedIn//substanceAdministration//routeCode"},
        {product, "genericMedicine", "generic", "subject/manufacturedProduct/manufacturedProduct/asEntityWithGeneric/genericMedicine/name"},
        {product, "<code code=\"\" codeSystem=\"2.16.840.1.113883.6.69\"/>", "", "containerPackagedProduct//code"},
        {ingredients, "classCode=\"IACT\"", "classCode=\"ACTIM\"", "subject//ingredient[@classCode='IACT']"},
        {ingredients, "denominator", "fraction", "quantity//denominator"},
        {dosage, "SPLCOLOR", "SPLCOLOUR", "TEMPLATE//subjectOf//characteristic//code[@code='SPLCOLOR']"},
        {dosage, "DEADrugSchedule", "DEAClass", "TEMPLATE//subjectOf//policy[@classCode='DEADrugSchedule']//code"},
        {dosage, "displayName=\"\"><originalText></originalText>", "displayName=\"\">", "original text of C48345"},
    };
    const StructuredRows rows{{"A", "UNII", "Active", "1", "mg", "C28253", "MILLIGRAM", "1", "1", "C48542", "TABLET"}};
    const StructuredRows packages{{"P1", "C43165", "BOTTLE", "30", "1", "C48542", "TABLET", "1", "1", "C43165", "BOTTLE"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing.toStdString());
        const QString original = readTextFile(templatePath(c.file));
        breakFragment(c.file, c.from, c.to);
        const QString before = spl.Document->xml();
        QString description;
        try {
            if (c.file == dosage)
                spl.AddStructuredDataDosageCharacteristics("C48672", "CII", "PD", "", "", "", "OVAL", "C48345", "", "",
                                                           "WHITE", "C48325", "");
            else
                spl.AddStructuredDataProductDataAndIngredients(rows, packages, "T", "G", "F", "FN", "R", "RN");
        } catch (const VbError& error) {
            description = error.description();
        }
        EXPECT_EQ(description, "element not found: " + c.missing);
        EXPECT_EQ(spl.Document->xml(), before);
        writeTemplate(c.file, original);
    }
}

TEST_F(StructuredDataTest, HeaderDataIsWrittenInOrderUntilAnElementIsMissing)
{
    writeTemplate("TEMPLATE_SPL.xml", readTextFile(test::sourceDataDir() + "/LabelDefinitions/TEMPLATE_SPL.xml"));
    spl = initialized();
    spl.today = [] { return QDate(2024, 1, 31); };
    const auto setAll = [&] {
        spl.SetUserData("set", "3", "Title", "20240101", "20240102", "Company", "Street 1", "Approver", "Approver Street",
                        "1996", "Contact Co", "Ada", "Lovelace", "tel:+1-800", "http://example.com");
    };
    setAll();
    const xml::Node doc = spl.Document->documentElement();
    EXPECT_EQ(doc.selectSingleNode("title").text(), "Title");
    EXPECT_EQ(doc.selectSingleNode("availabilityTime").getAttribute("value"), "20240102");
    EXPECT_EQ(doc.selectSingleNode("author/time").getAttribute("value"), "20240131");
    EXPECT_EQ(doc.selectSingleNode("legalAuthenticator/time").getAttribute("value"), "20240131");
    EXPECT_EQ(doc.selectSingleNode("legalAuthenticator/assignedEntity/telecom[1]").getAttribute("value"), "http://example.com");
    EXPECT_EQ(doc.selectSingleNode("legalAuthenticator/assignedEntity/representedOrganization/name").text(), "Contact Co");
    EXPECT_EQ(doc.selectSingleNode("verifier/assignedEntity/representedOrganization/addr").text(), "Approver Street");

    const xml::Node web = doc.selectSingleNode("legalAuthenticator/assignedEntity/telecom[1]");
    web.parentNode().removeChild(web);
    doc.selectSingleNode("title").setText("old");
    doc.selectSingleNode("verifier/time").setAttribute("value", "old");
    EXPECT_THROW(setAll(), VbError);
    EXPECT_EQ(doc.selectSingleNode("title").text(), "Title") << "items before the missing one are written";
    EXPECT_EQ(doc.selectSingleNode("verifier/time").getAttribute("value"), "old") << "items after it are not";
}

TEST_F(StructuredDataTest, FinalizeRunsTheBuildersInOrderAndStopsAtAnError)
{
    QString a = "A";
    spl.RememberSectionInformation(a);
    StructuredDataInput input;
    input.SPLOutputBoxedWarning = 0;
    spl.Finalize(input);
    const QStringList starts = logLines().filter(QRegularExpression("^Information\\s+(Start processing|Boxed)"));
    QStringList messages;
    for (const QString& start : starts)
        messages << start.mid(15);
    EXPECT_EQ(messages, (QStringList{"Boxed Warning has been removed", "Start processing Product Data",
                                     "Start processing Indications", "Start processing Contraindications",
                                     "Start processing Drug Interactions", "Start processing Adverse reactions",
                                     "Start processing Condition of Use - Patient Age",
                                     "Start processing Condition of Use - Co Administration",
                                     "Start processing Condition of Use - Monitoring", "Start processing Maximum Dose",
                                     "Start processing Dosage Characteristics and DEA Schedule"}));
    EXPECT_EQ(logLines().filter("LOINC").size(), 0) << "no codes unless asked";
    EXPECT_EQ(count(spl, "document/component/structuredBody/component"), 1) << "only the remembered section stays";
    EXPECT_NE(attributeAt("//section[@ID='A']/id", "root"), "");

    useSmallSkeleton();
    spl = initialized();
    breakFragment("TEMPLATE_STRUCTURED_DATA_INDICATIONS.xml", "codeSystem=\"\" displayName=\"\"/>", "displayName=\"\"/>");
    input.Indications = {{"1", "x", snomed}};
    EXPECT_THROW(spl.Finalize(input), VbError);
    EXPECT_EQ(attributeAt("//section[@ID='A']/id", "root"), "") << "the later steps did not run";
    EXPECT_EQ(logLines().filter("Start processing Contraindications").size(), 1);

    clsSPL none;
    EXPECT_THROW(none.Finalize(input), VbError);
}
