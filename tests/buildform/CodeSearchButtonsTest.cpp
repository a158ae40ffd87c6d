#include "BuildFormTestSupport.h"

#include "app/Hooks.h"
#include "app/search/SearchPanel.h"
#include "app/window/frmMain.h"
#include "buildform/CodeSearchButtons.h"
#include "buildform/EntryDialog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

const QString loincName = QStringLiteral("Logical Observation Identifiers Names and Codes");

class CodeSearchButtonsTest : public ::testing::Test {
protected:
    CodeSearchButtonsTest() : saved(hooks())
    {
        hooks().SearchLOINCCodes = [this](const QString& term) { searched << "LOINC:" + term; };
        hooks().SearchNCIThesaurusCodes = [this](const QString& term) { searched << "NCI:" + term; };
        hooks().SearchUNIICodes = [this](const QString& term) { searched << "UNII:" + term; };
        FillCodeSystemCombo(main.cboCodeSystem);
        main.chkCodeSystemWholeWord->setChecked(true);
    }
    ~CodeSearchButtonsTest() override
    {
        for (const char* name : {"frmIndication", "frmContraIndication", "frmDrugInteraction", "frmAdverseReaction",
                                 "frmPackaging", "frmIngredients"})
            if (EntryDialog* dialog = shownEntryDialog(QLatin1String(name)))
                dialog->cmdCancel_Click();
        flushClosedWindows();
        hooks() = saved;
    }

    // The window that carries the button: the build form or the entry dialog of its list.
    QWidget* windowOf(const QString& formName)
    {
        if (formName == "frmBuildSPL")
            return &form;
        const std::pair<const char*, const char*> listOf[] = {
            {"frmIndication", "ListIndications"}, {"frmContraIndication", "ListContraIndications"},
            {"frmDrugInteraction", "ListDrugInteractions"}, {"frmAdverseReaction", "ListAdverseReactions"},
            {"frmPackaging", "ListProductPackaging"}, {"frmIngredients", "ListProductIngredients"}};
        for (const auto& [dialog, list] : listOf)
            if (formName == QLatin1String(dialog))
                form.addRow(QLatin1String(list));
        return shownEntryDialog(formName);
    }

    Hooks saved;
    veldra::test::ScriptedUi ui;
    veldra::test::ProgramFolderCopy program;
    frmMain main;
    frmBuildSPL form;
    QStringList searched;
};

} // namespace

TEST_F(CodeSearchButtonsTest, EachButtonSearchesItsNameBoxInItsCodeSystem)
{
    ASSERT_EQ(codeSearchButtons().size(), 21u);
    for (const CodeSearchButton& spec : codeSearchButtons()) {
        QWidget* window = windowOf(spec.form);
        ASSERT_NE(window, nullptr) << spec.form.toStdString();
        // Every code-system combo of the window says something else than the button's own.
        for (QComboBox* combo : window->findChildren<QComboBox*>())
            if (combo->objectName().endsWith("CodeSystem"))
                combo->setCurrentText("Systematized Nomenclature of Medicine");
        if (!spec.systemCombo.isEmpty())
            window->findChild<QComboBox*>(spec.systemCombo)->setCurrentText(loincName);
        const QString term = QStringLiteral(" %1 term ").arg(spec.button);
        window->findChild<QLineEdit*>(spec.searchedBox)->setText(term);
        searched.clear();

        auto* button = window->findChild<QPushButton*>(spec.button);
        ASSERT_NE(button, nullptr) << spec.button.toStdString();
        EXPECT_EQ(button->text(), "?");
        EXPECT_EQ(button->toolTip(), "Search Code System");
        button->click();

        const QString system = spec.systemCombo.isEmpty() ? spec.fixedSystem : QStringLiteral("LOINC");
        const QString list = system == "NCI Thesaurus" ? "NCI" : system == "UNII Codes" ? "UNII" : "LOINC";
        EXPECT_EQ(main.txtSearchCodeOrName->text(), term) << spec.button.toStdString();
        EXPECT_EQ(main.cboCodeSystem->currentText(), system) << spec.button.toStdString();
        EXPECT_EQ(searched, QStringList({list + ":" + term})) << spec.button.toStdString();
        EXPECT_TRUE(main.chkCodeSystemWholeWord->isChecked());
    }
}

TEST_F(CodeSearchButtonsTest, AnEmptyBoxEmptiesThePanelAndAnUnlistedSystemSearchesAll)
{
    main.txtSearchCodeOrName->setText("earlier");
    form.comboBox("cboConditionOfUseMonitoringCodeSystem")->setCurrentText("national cancer institute thesaurus");
    form.findChild<QPushButton*>("cmdSearchConditionOfUseMonitoringCode")->click();
    EXPECT_EQ(main.txtSearchCodeOrName->text(), "");
    EXPECT_EQ(main.cboCodeSystem->currentText(), "All Code Systems");
}
