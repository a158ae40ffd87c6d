#include "app/search/CodeSearch.h"
#include "app/log/Log.h"
#include "app/search/SearchPanel.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"
#include "support/ScriptedUi.h"
#include "support/SkippedErrors.h"
#include "app/MainWindowTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace veldra;

namespace {

// Records which code lists were searched, with the term each one got.
class SearchPanelTest : public ::testing::Test {
protected:
    SearchPanelTest()
    {
        hooks().SearchLOINCCodes = [this](const QString& term) { searched << "LOINC:" + term; };
        hooks().SearchNCIThesaurusCodes = [this](const QString& term) { searched << "NCI:" + term; };
        hooks().SearchUNIICodes = [this](const QString& term) { searched << "UNII:" + term; };
        FillCodeSystemCombo(main.cboCodeSystem);
    }

    QStringList searchWith(const QString& codeSystem, const QString& term)
    {
        searched.clear();
        main.cboCodeSystem->setCurrentText(codeSystem);
        main.txtSearchCodeOrName->setText(term);
        main.cmdSearchCodeSystem->click();
        return searched;
    }

    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    QStringList searched;
};

} // namespace

TEST_F(SearchPanelTest, EachChoiceSearchesItsListAndAnyOtherTextSearchesAllThree)
{
    EXPECT_EQ(searchWith("LOINC", "34067-9"), QStringList({"LOINC:34067-9"}));
    EXPECT_EQ(searchWith("NCI Thesaurus", "TABLET"), QStringList({"NCI:TABLET"}));
    EXPECT_EQ(searchWith("UNII Codes", "ASPIRIN"), QStringList({"UNII:ASPIRIN"}));
    const QStringList all({"LOINC:aspirin", "NCI:aspirin", "UNII:aspirin"});
    EXPECT_EQ(searchWith("All Code Systems", "aspirin"), all);
    EXPECT_EQ(searchWith("loinc", "aspirin"), all);  // the comparison is exact
    EXPECT_EQ(searchWith("SNOMED", "aspirin"), all);
}

TEST_F(SearchPanelTest, AFailingListLeavesTheOthersRunningAndTheTermSelected)
{
    veldra::test::ExpectSkippedErrors skipped;  // the failing list
    hooks().SearchNCIThesaurusCodes = [](const QString&) { throw VbError(3024, "clsNCIThesaurus", "no database"); };
    main.show();
    main.activateWindow();

    EXPECT_EQ(searchWith("All Code Systems", "TABLET"), QStringList({"LOINC:TABLET", "UNII:TABLET"}));
    EXPECT_EQ(main.txtSearchCodeOrName->selectedText(), QStringLiteral("TABLET"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SearchPanelTest, EnterInTheTextBoxSearchesLikeTheButton)
{
    main.cboCodeSystem->setCurrentText(QStringLiteral("UNII Codes"));
    main.txtSearchCodeOrName->setText(QStringLiteral("R16CO5Y76E"));
    QTest::keyClick(main.txtSearchCodeOrName, Qt::Key_Return);
    QTest::keyClick(main.txtSearchCodeOrName, Qt::Key_A);
    EXPECT_EQ(searched, QStringList({"UNII:R16CO5Y76E"}));
}

// The results go to the log alone: with Show Log unchecked, a search, however started, says
// so instead of running unseen, and the switch stays as the user set it.
TEST_F(SearchPanelTest, WithTheLogSwitchedOffASearchSaysWhereItsResultsGo)
{
    const bool before = NoLogging;
    NoLogging = false;
    main.mnuShowLogging->trigger();
    ASSERT_FALSE(main.mnuShowLogging->isChecked());
    const std::vector<std::pair<const char*, std::function<void()>>> searches{
        {"Search button",
         [&] {
             QTest::keyClicks(main.txtSearchCodeOrName, QStringLiteral("tablet"));
             main.cmdSearchCodeSystem->click();
         }},
        {"Enter", [&] { QTest::keyClick(main.txtSearchCodeOrName, Qt::Key_Return); }},
        {"a dialog's search", [] { searchCodeSystem(QStringLiteral("TABLET"), QStringLiteral("NCI Thesaurus"), true); }},
    };
    for (const auto& [name, search] : searches) {
        SCOPED_TRACE(name);
        ui.messages.clear();
        search();
        EXPECT_TRUE(searched.isEmpty()) << searched.join(' ').toStdString();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("The search results are written to the log, and the log is "
                                                          "switched off. Switch on Show Log in the SPL Document menu "
                                                          "to see them."));
        EXPECT_FALSE(main.mnuShowLogging->isChecked());
        EXPECT_TRUE(NoLogging);
    }

    ui.messages.clear();
    main.mnuShowLogging->trigger();
    EXPECT_EQ(searchWith("LOINC", "tablet"), QStringList({"LOINC:tablet"}));
    EXPECT_TRUE(ui.messages.isEmpty());
    NoLogging = before;
}

TEST_F(SearchPanelTest, ClearEmptiesTheLogAndShowsIt)
{
    const bool before = NoLogging;
    NoLogging = false;
    main.show();
    WriteLog(QStringLiteral("Information"), QStringLiteral("earlier result"));
    logWindow()->parentWidget()->hide();

    main.cmdClearSearchResult->click();

    ASSERT_NE(logWindow(), nullptr);
    EXPECT_TRUE(logWindow()->txtLog->toPlainText().isEmpty());
    EXPECT_TRUE(logWindow()->isVisible());
    NoLogging = before;
}

TEST_F(SearchPanelTest, DialogsSearchThroughThePanelWithTheMappedCodeSystem)
{
    searchCodeSystem(QStringLiteral("TABLET, FILM COATED"),
                     codeSystemSearchEntry(QStringLiteral("National Cancer Institute Thesaurus")), false);
    EXPECT_EQ(searched, QStringList({"NCI:TABLET, FILM COATED"}));
    EXPECT_EQ(main.txtSearchCodeOrName->text(), QStringLiteral("TABLET, FILM COATED"));

    searched.clear();
    searchCodeSystem(QStringLiteral("ibuprofen"),
                     codeSystemSearchEntry(QStringLiteral("Systematized Nomenclature of Medicine")), false);
    EXPECT_EQ(searched, QStringList({"LOINC:ibuprofen", "NCI:ibuprofen", "UNII:ibuprofen"}));
    // The box keeps what the last caller set, for the next manual search.
    EXPECT_EQ(main.cboCodeSystem->currentText(), QStringLiteral("All Code Systems"));
}

TEST(CodeSearchTest, LongCodeSystemNamesMapToPanelEntries)
{
    EXPECT_EQ(codeSystemSearchEntry("National Cancer Institute Thesaurus"), "NCI Thesaurus");
    EXPECT_EQ(codeSystemSearchEntry("Logical Observation Identifiers Names and Codes"), "LOINC");
    EXPECT_EQ(codeSystemSearchEntry("Food and Drug Administration Substance Registration System"), "UNII Codes");
    for (const char* other : {"Food and Drug Administration Drug Registration and Listing System",
                              "Department of Veterans Affairs National Drug File Reference Terminology",
                              "Systematized Nomenclature of Medicine", "national cancer institute thesaurus",
                              "National Cancer Institute Thesaurus ", ""})
        EXPECT_EQ(codeSystemSearchEntry(QLatin1String(other)), "All Code Systems") << other;
}
