#include "LookupTestData.h"
#include "app/window/frmMain.h"
#include "codesystems/clsLOINC.h"
#include "codesystems/clsNCIThesaurus.h"
#include "codesystems/clsUNII.h"

#include <QCheckBox>

using namespace veldra;
using test::CodeSystemsTest;

namespace {

class LookupTest : public CodeSystemsTest {
protected:
    void SetUp() override
    {
        CodeSystemsTest::SetUp();
        loinc.Initialize();
        nci.Initialize();
        unii.Initialize();
    }

    void exactMode(bool on) { main.chkCodeSystemWholeWord->setChecked(on); }

    struct Hit {
        QString code, name, system;
    };
    Hit findLOINC(const QString& text)
    {
        Hit hit;
        loinc.GetCodeAndName(text, hit.code, hit.name, hit.system, false);
        return hit;
    }
    Hit findNCI(const QString& text)
    {
        Hit hit;
        nci.GetCodeAndName(text, hit.code, hit.name);
        return hit;
    }
    Hit findUNII(const QString& text)
    {
        Hit hit;
        unii.GetCodeAndName(text, hit.code, hit.name);
        return hit;
    }

    test::CodeSystemsProgramFolder folder{test::lookupTestLists()};
    frmMain main;
    clsLOINC loinc;
    clsNCIThesaurus nci;
    clsUNII unii;
};

} // namespace

TEST_F(LookupTest, PartialSearchMatchesNamesAndCodesInAnyCase)
{
    Hit hit = findUNII(QStringLiteral("water"));
    EXPECT_EQ(hit.code, QStringLiteral("059QF0KO0R"));
    EXPECT_EQ(hit.name, QStringLiteral("WATER"));

    hit = findNCI(QStringLiteral("c42998"));
    EXPECT_EQ(hit.code, QStringLiteral("C42998"));
    EXPECT_EQ(hit.name, QStringLiteral("TABLET"));

    hit = findLOINC(QStringLiteral("warnings and"));
    EXPECT_EQ(hit.code, QStringLiteral("43685-7"));
    EXPECT_EQ(hit.name, QStringLiteral("WARNINGS AND PRECAUTIONS SECTION"));
    EXPECT_EQ(hit.system, QStringLiteral("^Patient"));

    EXPECT_TRUE(logLines().isEmpty()) << "a single hit writes nothing";
}

TEST_F(LookupTest, UpperCaseAndBetweenWordsIsDroppedFromThePattern)
{
    EXPECT_EQ(findLOINC(QStringLiteral("Indications AND Usage")).code, QStringLiteral("34067-9"));
    EXPECT_TRUE(findLOINC(QStringLiteral("Indications and Usage")).code.isEmpty());
    EXPECT_EQ(logLines(), QStringList{line(QStringLiteral("Warning"),
                                           QStringLiteral("Indications and Usage - Corresponding LOINC code not found"))});
}

TEST_F(LookupTest, ExactSearchComparesTheWholeNameOrCode)
{
    exactMode(true);
    EXPECT_EQ(findUNII(QStringLiteral("water")).code, QStringLiteral("059QF0KO0R"));
    EXPECT_TRUE(findUNII(QStringLiteral("wat")).code.isEmpty());
    EXPECT_EQ(findLOINC(QStringLiteral("34067-9")).name, QStringLiteral("INDICATIONS & USAGE SECTION"));
    EXPECT_EQ(findNCI(QStringLiteral("tablet")).code, QStringLiteral("C42998"));
    EXPECT_EQ(findUNII(QStringLiteral("50% ALCOHOL SOLUTION")).code, QStringLiteral("AAA0000002"));
    EXPECT_EQ(logLines(), QStringList{line(QStringLiteral("Warning"), QStringLiteral("wat - Corresponding UNII code not found"))});

    // The box is read at every lookup.
    exactMode(false);
    EXPECT_EQ(findUNII(QStringLiteral("wat")).code, QStringLiteral("059QF0KO0R"));
}

TEST_F(LookupTest, SeveralHitsAreListedInNameOrderAndHandNothingBack)
{
    const Hit hit = findNCI(QStringLiteral("tablet"));
    EXPECT_TRUE(hit.code.isEmpty());
    EXPECT_TRUE(hit.name.isEmpty());

    exactMode(true);
    findNCI(QStringLiteral("CAPSULE"));

    const QString nci = QStringLiteral("NCI");
    EXPECT_EQ(logLines(),
              (QStringList{
                  line(QStringLiteral("Warning"), QStringLiteral("tablet - Multiple NCI Thesaurus codes found")),
                  line(nci, QStringLiteral("     Code>>> C42998 <<<Preferred Name>>> TABLET <<<Text>>> TABLET")),
                  line(nci, QStringLiteral("     Code>>> C42931 <<<Preferred Name>>> TABLET, FILM COATED <<<Text>>> TABLET, FILM COATED")),
                  line(QStringLiteral("Warning"), QStringLiteral("CAPSULE - Multiple NCI Thesaurus codes found")),
                  line(nci, QStringLiteral("     Code>>> C25158 <<<Preferred Name>>> CAPSULE <<<Text>>> CAPSULE")),
                  line(nci, QStringLiteral("     Code>>> C48336 <<<Preferred Name>>> CAPSULE <<<Text>>> CAPSULE")),
              }));
}

TEST_F(LookupTest, NullColumnsLeaveOutputsAsTheyWereAndReadEmptyInListings)
{
    // No preferred name: the searched name is handed back.
    EXPECT_EQ(findNCI(QStringLiteral("ROUND")).name, QStringLiteral("ROUND"));
    const Hit noCode = findNCI(QStringLiteral("NO CODE TERM"));
    EXPECT_TRUE(noCode.code.isEmpty());
    EXPECT_EQ(noCode.name, QStringLiteral("NO CODE PREFERRED"));
    const Hit codeOnly = findLOINC(QStringLiteral("99999"));
    EXPECT_EQ(codeOnly.code, QStringLiteral("99999-1"));
    EXPECT_TRUE(codeOnly.name.isEmpty());
    EXPECT_TRUE(codeOnly.system.isEmpty());

    // An empty text in partial mode lists every row that has a name or a code.
    findLOINC(QString());
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.first(), line(QStringLiteral("Warning"), QStringLiteral(" - Multiple LOINC codes found")));
    EXPECT_EQ(lines[1], line(QStringLiteral("LOINC"), QStringLiteral("     Code>>> 99999-1 <<<Text>>>  <<<System>>> ")));
    EXPECT_EQ(lines[2], line(QStringLiteral("LOINC"),
                             QStringLiteral("     Code>>> 34068-7 <<<Text>>> DOSAGE & ADMINISTRATION SECTION <<<System>>> ^Patient")));
}

TEST_F(LookupTest, QuotesAndWildcardsInTheTextMatchThemselves)
{
    EXPECT_EQ(findUNII(QStringLiteral("O'BRIEN")).code, QStringLiteral("AAA0000001"));
    EXPECT_EQ(findUNII(QStringLiteral("50%")).code, QStringLiteral("AAA0000002")) << "not 5000 ALCOHOL SOLUTION";
    EXPECT_EQ(findUNII(QStringLiteral("A_B")).code, QStringLiteral("AAA0000004")) << "not AXB COMPOUND";
    EXPECT_EQ(findUNII(QStringLiteral("BACK\\SLASH")).code, QStringLiteral("AAA0000006"));
    EXPECT_TRUE(findUNII(QStringLiteral("x' OR '1'='1")).code.isEmpty());
    EXPECT_EQ(logLines(), QStringList{line(QStringLiteral("Warning"),
                                           QStringLiteral("x' OR '1'='1 - Corresponding UNII code not found"))});
}

TEST_F(LookupTest, CancelSetBeforeALookupDoesNotStopItsListing)
{
    nci.Cancel = true;
    findNCI(QStringLiteral("tablet"));
    EXPECT_FALSE(nci.Cancel);
    EXPECT_EQ(logLines().size(), 3);
}

TEST(LookupLifecycleTest, ConnectionFailuresReachTheCaller)
{
    test::CodeSystemsProgramFolder emptyFolder;
    clsUNII unii;
    unii.Destroy();  // without Initialize: nothing happens
    QString code, name;
    EXPECT_THROW(unii.GetCodeAndName(QStringLiteral("water"), code, name), VbError);
    try {
        unii.Initialize();
        FAIL() << "a missing database must not open";
    } catch (const VbError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("SQLite"));
        EXPECT_TRUE(e.description().contains(QStringLiteral("SPLCodeSystems.sqlite")));
    }
    unii.Destroy();
    unii.Destroy();
}
