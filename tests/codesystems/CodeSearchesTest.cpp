#include "LookupTestData.h"
#include "app/Hooks.h"
#include "app/search/SearchPanel.h"
#include "app/window/frmMain.h"
#include "codesystems/CodeSearches.h"
#include "codesystems/CodeSystemHooks.h"
#include "platform/db/Connection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace veldra;
using test::CodeSystemsTest;

namespace {

class CodeSearchesTest : public CodeSystemsTest {
protected:
    test::CodeSystemsProgramFolder folder{test::lookupTestLists()};
    frmMain main;
};

// Esc pressed in the log window whenever the log lets the window system run.
class EscOnEveryPump : public test::ScriptedUi {
public:
    void pumpMessages() override
    {
        ScriptedUi::pumpMessages();
        CancelOnEscape(27, 0);
    }
};

} // namespace

TEST_F(CodeSearchesTest, OneHitGivesTheHeaderAndAnInformationLine)
{
    SearchLOINCCodes(QStringLiteral("indications"));
    SearchNCIThesaurusCodes(QStringLiteral("round"));
    SearchUNIICodes(QStringLiteral("water"));
    SearchNCIThesaurusCodes(QStringLiteral("no code term"));

    QStringList expected = searchHeader(QStringLiteral("LOINC"));
    expected << line(QStringLiteral("Information"),
                     QStringLiteral("     Code>>> 34067-9 <<<Text>>> INDICATIONS & USAGE SECTION <<<System>>> ^Patient"));
    expected << searchHeader(QStringLiteral("NCI"));
    expected << line(QStringLiteral("Information"),
                     QStringLiteral("NCI - round <<<Code>>> C48348 <<<Preferred Name>>>> ROUND"));
    expected << searchHeader(QStringLiteral("UNII"));
    expected << line(QStringLiteral("Information"), QStringLiteral("UNII - water <<<Code>>> 059QF0KO0R <<<Name>>> WATER"));
    expected << searchHeader(QStringLiteral("NCI"));
    expected << line(QStringLiteral("Information"),
                     QStringLiteral("NCI - no code term <<<Code>>>  <<<Preferred Name>>>> NO CODE PREFERRED"));
    EXPECT_EQ(logLines(), expected);
    EXPECT_FALSE(main.TargetLOINC || main.TargetNCI || main.TargetUNII);
}

TEST_F(CodeSearchesTest, NoHitOrSeveralHitsGiveWarningsOnly)
{
    main.chkCodeSystemWholeWord->setChecked(true);
    SearchUNIICodes(QStringLiteral("wat"));
    SearchNCIThesaurusCodes(QStringLiteral("capsule"));

    QStringList expected = searchHeader(QStringLiteral("UNII"));
    expected << line(QStringLiteral("Warning"), QStringLiteral("wat - Corresponding UNII code not found"));
    expected << searchHeader(QStringLiteral("NCI"));
    expected << line(QStringLiteral("Warning"), QStringLiteral("capsule - Multiple NCI Thesaurus codes found"));
    expected << line(QStringLiteral("NCI"), QStringLiteral("     Code>>> C25158 <<<Preferred Name>>> CAPSULE <<<Text>>> CAPSULE"));
    expected << line(QStringLiteral("NCI"), QStringLiteral("     Code>>> C48336 <<<Preferred Name>>> CAPSULE <<<Text>>> CAPSULE"));
    EXPECT_EQ(logLines(), expected);
}

TEST_F(CodeSearchesTest, EmptyTermDoesNothing)
{
    SearchLOINCCodes(QString());
    SearchUNIICodes(QString());
    EXPECT_EQ(logWindow(), nullptr);
}

TEST_F(CodeSearchesTest, AllCodeSystemsSearchesTheThreeListsInOrderFromThePanel)
{
    test::HookTableScope hooksScope;
    installCodeSystemHooks();
    FillCodeSystemCombo(main.cboCodeSystem);
    main.cboCodeSystem->setCurrentText(QStringLiteral("All Code Systems"));
    main.chkCodeSystemWholeWord->setChecked(true);
    main.txtSearchCodeOrName->setText(QStringLiteral("C42998"));
    main.cmdSearchCodeSystem->click();

    QStringList expected = searchHeader(QStringLiteral("LOINC"));
    expected << line(QStringLiteral("Warning"), QStringLiteral("C42998 - Corresponding LOINC code not found"));
    expected << searchHeader(QStringLiteral("NCI"));
    expected << line(QStringLiteral("Information"),
                     QStringLiteral("NCI - C42998 <<<Code>>> C42998 <<<Preferred Name>>>> TABLET"));
    expected << searchHeader(QStringLiteral("UNII"));
    expected << line(QStringLiteral("Warning"), QStringLiteral("C42998 - Corresponding UNII code not found"));
    EXPECT_EQ(logLines(), expected);
}

TEST_F(CodeSearchesTest, EscWhileRowsAreListedStopsTheListing)
{
    codedb::CodeLists many;
    for (int i = 0; i < 300; ++i)
        many.unii.push_back(test::row({qPrintable(QStringLiteral("U%1").arg(i, 9, 10, QLatin1Char('0'))),
                                       qPrintable(QStringLiteral("SUBSTANCE %1").arg(i, 3, 10, QLatin1Char('0')))}));
    test::CodeSystemsProgramFolder manyRows(many);
    EscOnEveryPump esc;

    SearchUNIICodes(QStringLiteral("substance"));

    const QStringList lines = logLines();
    const qsizetype listed = lines.filter(QStringLiteral("<<<Name>>> SUBSTANCE")).size();
    EXPECT_GT(listed, 0);
    EXPECT_LT(listed, 300);
    EXPECT_EQ(lines.last(), line(QStringLiteral("Warning"), QStringLiteral("UNII get Code and Name cancelled")));
    EXPECT_TRUE(lines[lines.size() - 2].contains(QStringLiteral("<<<Name>>> SUBSTANCE"))) << "the row in progress is written";
    EXPECT_FALSE(main.TargetUNII);
}

TEST_F(CodeSearchesTest, MissingOrUnreadableDatabaseGivesOneErrorLine)
{
    test::CodeSystemsProgramFolder noDatabase;
    SearchUNIICodes(QStringLiteral("water"));
    test::writeTextFile(noDatabase.databasePath(), QStringLiteral("not a database at all, just some text"));
    SearchNCIThesaurusCodes(QStringLiteral("tablet"));

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines.mid(0, 5), searchHeader(QStringLiteral("UNII")));
    EXPECT_TRUE(lines[5].startsWith(line(QStringLiteral("Error"), QStringLiteral("SQLite "))));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("SPLCodeSystems.sqlite")));
    EXPECT_EQ(lines.mid(6, 5), searchHeader(QStringLiteral("NCI")));
    EXPECT_TRUE(lines[11].startsWith(line(QStringLiteral("Error"), QStringLiteral("SQLite "))));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(main.TargetUNII || main.TargetNCI);

    // With logging switched off the failure still reaches the user.
    NoLogging = true;
    SearchLOINCCodes(QStringLiteral("water"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Critical);
}

TEST_F(CodeSearchesTest, QueryFailureShowsTheErrorAndReleasesTheLookup)
{
    // A database file without the code tables: it opens, but every query fails.
    test::CodeSystemsProgramFolder withoutTables;
    {
        db::Connection create;
        create.open(withoutTables.databasePath(), db::Connection::Access::ReadWriteCreate);
        create.execute(QStringLiteral("CREATE TABLE Other (x TEXT)"));
    }
    SearchLOINCCodes(QStringLiteral("water"));
    SearchUNIICodes(QStringLiteral("water"));

    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages.first().text.startsWith(QStringLiteral("SQLite ")));
    EXPECT_TRUE(ui.messages.first().text.contains(QStringLiteral(": ")));
    EXPECT_FALSE(main.TargetLOINC || main.TargetUNII);
}

TEST(CommittedDatabaseSearchTest, TabletTypedIntoThePanelListsTheDosageForms)
{
    test::CodeSystemsProgramFolder folder(test::committedLists());
    test::HookTableScope hooksScope;
    installCodeSystemHooks();
    frmMain main;
    test::ScriptedUi ui;
    FillCodeSystemCombo(main.cboCodeSystem);
    main.txtSearchCodeOrName->setText(QStringLiteral("tablet"));
    main.cmdSearchCodeSystem->click();

    const QString text = logWindow()->txtLog->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("tablet - Corresponding LOINC code not found")));
    EXPECT_TRUE(text.contains(QStringLiteral("tablet - Multiple NCI Thesaurus codes found")));
    EXPECT_TRUE(text.contains(QStringLiteral("Code>>> C42998 <<<Preferred Name>>> TABLET <<<Text>>> TABLET\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Code>>> C42931 <<<Preferred Name>>> TABLET, FILM COATED")));
    EXPECT_GT(text.lastIndexOf(QStringLiteral("\tSearch Result")), text.indexOf(QStringLiteral("C42998")))
        << "the UNII block follows";
    EXPECT_TRUE(ui.messages.isEmpty());
    logWindow()->close();
}
