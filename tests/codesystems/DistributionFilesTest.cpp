#include "CodeSystemsTestSupport.h"
#include "codesystemsdb/DistributionFiles.h"

using namespace veldra;
using test::row;

namespace {

QString written(const test::TempDir& dir, const QString& name, const QString& text)
{
    test::writeTextFile(dir.file(name), text);
    return dir.file(name);
}

} // namespace

TEST(DistributionFilesTest, LoincCsvKeepsCodeComponentAndSystem)
{
    test::TempDir dir;
    const QString file = written(dir, QStringLiteral("Loinc.csv"),
                                 QStringLiteral("\"LOINC_NUM\",\"COMPONENT\",\"PROPERTY\",\"SYSTEM\",\"COMMENTS\"\r\n"
                                                "\"34067-9\",\"Indications & usage section\",\"Find\",\"^Patient\",\"\"\r\n"
                                                "\"1558-6\",\"Glucose^post CFst, \"\"fasting\"\"\",\"MCnc\",\"Ser/Plas\",\"line one\r\nline two\"\r\n"
                                                "\"\",\"no code\",\"\",\"\",\"\"\r\n"
                                                "10000-8,R wave duration.lead AVR,Time,Heart,\n"));
    EXPECT_EQ(codedb::readLoincCsv(file),
              (std::vector<codedb::Row>{row({"34067-9", "Indications & usage section", "^Patient"}),
                                        row({"1558-6", "Glucose^post CFst, \"fasting\"", "Ser/Plas"}),
                                        row({"10000-8", "R wave duration.lead AVR", "Heart"})}));

    const QString noSystem = written(dir, QStringLiteral("bad.csv"), QStringLiteral("LOINC_NUM,COMPONENT\n1-1,x\n"));
    EXPECT_THROW(codedb::readLoincCsv(noSystem), VbError);
}

TEST(DistributionFilesTest, NciSubsetsKeepOneRowPerTermInItsOwnSubset)
{
    test::TempDir dir;
    const QString file = written(
        dir, QStringLiteral("FDA-SPL_NCIt_Subsets.txt"),
        QStringLiteral("Source\tSubset Code\tSubset Name\tConcept Code\tSource PT\tSource Definition\tSource Synonym(s)\n"
                       "FDA\tC54456\tStructured Product Labeling Terminology\tC42998\tTABLET\tA solid dosage form.\t\n"
                       "FDA\tC54458\tStructured Product Labeling Dosage Form Terminology\tC42998\tTABLET\tA solid dosage form.\t\n"
                       "FDA\tC54453\tStructured Product Labeling Color Terminology\tC48325\tWHITE\t\t\n"
                       "FDA\tC54453\tStructured Product Labeling Color Terminology\t\tNO CODE\t\t\n"));
    EXPECT_EQ(codedb::readNciSplSubsets(file),
              (std::vector<codedb::Row>{
                  row({"C42998", "TABLET", "Structured Product Labeling Dosage Form Terminology", "TABLET"}),
                  row({"C48325", "WHITE", "Structured Product Labeling Color Terminology", "WHITE"})}));

    // A file that names the FDA's term and NCI's own preferred term hands back the FDA's.
    const QString newer = written(dir, QStringLiteral("newer.txt"),
                                  QStringLiteral("Subset Code\tSubset Preferred Term\tConcept Code\tNCIt Preferred Term\tFDA SPL Preferred Term\n"
                                                 "C54458\tSPL Dosage Form\tC42998\tTablet Dosage Form\tTABLET\n"));
    EXPECT_EQ(codedb::readNciSplSubsets(newer),
              (std::vector<codedb::Row>{row({"C42998", "TABLET", "SPL Dosage Form", "TABLET"})}));
}

TEST(DistributionFilesTest, UniiNamesGiveOneRowPerCodeWithItsDisplayName)
{
    const std::vector<codedb::Row> sample =
        codedb::readUniiNames(test::fixture(QStringLiteral("code-lists/openfda-unii-names-format-sample.txt")));
    ASSERT_EQ(sample.size(), 2u);
    EXPECT_EQ(sample[0], row({"53KMP01VA9", "(((2-HYDROXYETHYL)IMINO)DIMETHYLENE)DIPHOSPHONIC ACID"}));

    test::TempDir dir;
    const QString file = written(dir, QStringLiteral("UNII_Names.txt"),
                                 QStringLiteral("Name\tType\tUNII\tDisplay Name\r\n"
                                                "ACETYLSALICYLIC ACID\tsys\tR16CO5Y76E\tASPIRIN\r\n"
                                                "ASPIRIN\tcn\tR16CO5Y76E\tASPIRIN\r\n"
                                                "WATER\tcn\t059QF0KO0R\tWATER\r\n"));
    EXPECT_EQ(codedb::readUniiNames(file),
              (std::vector<codedb::Row>{row({"R16CO5Y76E", "ASPIRIN"}), row({"059QF0KO0R", "WATER"})}));
}
