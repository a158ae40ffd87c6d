#include "BuildFormTestSupport.h"

#include "platform/core/VbError.h"
#include "support/ScriptedUi.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

QStringList namesOf(const frmBuildSPL& form, ControlKind kind)
{
    QStringList names;
    for (const ControlEntry& entry : form.registeredControls())
        if (entry.kind == kind)
            names << entry.name;
    return names;
}

QStringList headersOf(const RowList& list)
{
    QStringList headers;
    for (int column = 0; column < list.columnCount(); ++column)
        headers << list.view()->headerItem()->text(column);
    return headers;
}

} // namespace

// The names are the keys of the snapshot files users keep: a rename, typo fixed or not,
// would make every stored file lose that entry.
TEST(BuildFormInventory, TheFormHoldsExactlyTheNamedControls)
{
    frmBuildSPL form;
    const QStringList textBoxes{
        "txtTitle", "txtTitleEffectiveTime", "txtTitleAvailabiltyTime", "txtCompanyName", "txtCompanyAddress",
        "txtAdverseEffectCompanyName", "txtLegalAuthenticatorFirstName", "txtLegalAuthenticatorLastName",
        "txtAdverseEffectPhoneNumber", "txtAdverseEffectWebAddress", "txtInitialApprovalCompanyName",
        "txtInitialApprovalCompanyAddress", "txtInitialApprovaYear", "txtProductTradeName", "txtProductGenericName",
        "txtProductNCIAdministrativeFormCode", "txtProductNCIAdministrativeFormName",
        "txtProductNCIAdministrativeRouteCode", "txtProductNCIAdministrativeRouteName", "txtDEAScheduleCode",
        "txtDEAScheduleDisplayName", "txtDosageCharacteristicNCIColorCode", "txtDosageCharacteristicColorDisplayName",
        "txtDosageCharacteristicColorOriginalText", "txtDosageCharacteristicNCIShapeCode",
        "txtDosageCharacteristicShapeDisplayName", "txtDosageCharacteristicShapeOriginalText",
        "txtDosageCharacteristicNCIScoreCode", "txtDosageCharacteristicImprint", "txtDosageCharacteristicSize",
        "txtMaxDoseNumeratorValue", "txtMaxDoseNumeratorUnit", "txtMaxDoseDenominatorValue",
        "txtMaxDoseDenominatorUnit", "txtConditionOfUsePatientAgeLow", "txtConditionOfUsePatientAgeHigh",
        "txtConditionOfUseCoAdministrationCode", "txtConditionOfUseCoAdministrationName",
        "txtConditionOfUseMonitoringCode", "txtConditionOfUseMonitoringName", "txtExcerptHeaderStyle",
        "txtSectionStyle", "txtSubSectionStyle", "txtCheckChars", "txtSourceFileName", "txtVersionNumber", "txtSetID",
        "txtTargetFolder"};
    const QStringList combos{"cboDosageCharacteristicSymbol", "cboDosageCharacteristicCoating",
                             "cboConditionOfUseCoAdministrationCodeSystem", "cboConditionOfUseMonitoringCodeSystem"};
    const QStringList checks{"chkIgnoreTableCellBorders", "chkCheckCrossReferences", "chkCheckSubscriptSuperScript",
                             "chkSPLOutputBoxedWarning", "chkAddLOINCCodes", "chkTestBuild"};
    const QStringList lists{"ListProductIngredients", "ListProductPackaging", "ListIndications",
                            "ListContraIndications", "ListDrugInteractions", "ListAdverseReactions"};

    EXPECT_EQ(namesOf(form, ControlKind::TextBox), textBoxes);
    EXPECT_EQ(namesOf(form, ControlKind::ComboBox), combos);
    EXPECT_EQ(namesOf(form, ControlKind::CheckBox), checks);
    EXPECT_EQ(namesOf(form, ControlKind::ListView), lists);
    EXPECT_EQ(form.registeredControls().size(), 64u);
    // Each name is a widget of its kind, findable as the main window finds the combos.
    for (const QString& name : textBoxes)
        EXPECT_EQ(form.findChild<QLineEdit*>(name), form.textBox(name)) << name.toStdString();
    for (const QString& name : combos)
        EXPECT_EQ(form.findChild<QComboBox*>(name), form.comboBox(name)) << name.toStdString();
    for (const QString& name : lists)
        EXPECT_EQ(form.findChild<QTreeWidget*>(name), form.list(name).view()) << name.toStdString();
}

TEST(BuildFormInventory, ListsShowTheirColumnHeadersAndAreNotEditableInPlace)
{
    frmBuildSPL form;
    const std::pair<const char*, QStringList> expected[] = {
        {"ListIndications", {"Code", "Name", "Code System"}},
        {"ListContraIndications", {"Code", "System", "Name", "Value Code", "Value Code System", "Value Code Name"}},
        {"ListDrugInteractions",
         {"Interaction Code", "Interaction System", "Interaction Name", "Risk Code", "Risk Code System",
          "Risk Code Name", "Risk Value Code", "Risk Value Code System", "Risk Value Name"}},
        {"ListAdverseReactions",
         {"Risk Code", "Risk Code System", "Risk Code Name", "Risk Value Code", "Risk Value Code System",
          "Risk Value Name"}},
        {"ListProductIngredients",
         {"Substance Name", "FDA SRS Code (UNII)", "Role", "Qty Numerator", "Numerator Unit", "NCI Code", "NCI Name",
          "Qty Denominator", "Denominator Unit", "NCI Code", "NCI Name"}},
        {"ListProductPackaging",
         {"NDC Container Code", "NCI Container Code", "NCI Container Name", "Qty Numerator", "Numerator Unit",
          "NCI Code", "NCI Name", "Qty Denumerator", "Denumerator Unit", "NCI Code", "NCI Name"}},
    };
    for (const auto& [name, headers] : expected) {
        const RowList& list = form.list(QLatin1String(name));
        EXPECT_EQ(headersOf(list), headers) << name;
        EXPECT_EQ(list.view()->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
    }
}

TEST(RowListTest, RowsCountFromOneAndCellsStayWithinTheColumns)
{
    frmBuildSPL form;
    RowList& list = form.list("ListIndications");
    EXPECT_EQ(list.add("a"), 1);
    EXPECT_EQ(list.add("b"), 2);
    list.setCell(2, 2, "system");
    EXPECT_EQ(list.cells(2), QStringList({"b", "", "system"}));
    EXPECT_THROW(list.setCell(1, 3, "beyond"), VbError);
    EXPECT_THROW(list.cell(3, 0), VbError);
    EXPECT_THROW(list.cell(0, 0), VbError);

    // Removing the selected row leaves nothing selected, so a second Remove hits nothing.
    list.add("c");
    list.select(2);
    list.remove(2);
    EXPECT_EQ(column0(list), QStringList({"a", "c"}));
    EXPECT_EQ(list.selected(), 0);
    list.select(1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selected(), 0);
}

TEST(MoveListItemTest, SwapsAllCellsWithTheRowThatManyPlacesAwayAndClampsAtTheEnds)
{
    frmBuildSPL form;
    RowList& list = form.list("ListProductIngredients");  // 11 columns

    addRows(list, 1);
    form.MoveListItem(list, 1);
    EXPECT_EQ(list.selected(), 0);  // one row: nothing changes, not even the selection

    list.clear();
    addRows(list, 5);
    form.MoveListItem(list, 1);  // nothing selected
    EXPECT_EQ(column0(list), QStringList({"r1c0", "r2c0", "r3c0", "r4c0", "r5c0"}));

    const QStringList second = list.cells(2);
    const QStringList third = list.cells(3);
    list.select(2);
    form.MoveListItem(list, 1);
    EXPECT_EQ(list.cells(3), second);
    EXPECT_EQ(list.cells(2), third);
    EXPECT_EQ(list.selected(), 3);
    EXPECT_EQ(list.view()->selectedItems().size(), 1);

    form.MoveListItem(list, 3);  // past the end: to the last row
    EXPECT_EQ(list.cells(5), second);
    EXPECT_EQ(list.selected(), 5);

    form.MoveListItem(list, 1);  // the last row down: order unchanged, still selected
    EXPECT_EQ(list.cells(5), second);
    EXPECT_EQ(list.selected(), 5);

    list.select(1);
    form.MoveListItem(list, -1);
    EXPECT_EQ(column0(list).first(), "r1c0");
    EXPECT_EQ(list.selected(), 1);
}

TEST(ListCommandsTest, RemoveAndResetAskFirstAndOnlyYesActs)
{
    veldra::test::ScriptedUi ui;
    frmBuildSPL form;
    const std::pair<const char*, const char*> questions[] = {
        {"ListIndications", "indication|indications"},
        {"ListContraIndications", "contraindication|contraindications"},
        {"ListDrugInteractions", "drug interaction|drug interactions"},
        {"ListAdverseReactions", "adverse reaction|adverse reactions"},
        {"ListProductIngredients", "ingredient|ingredients"},
        {"ListProductPackaging", "packaging|packaging"},
    };
    for (const auto& [name, nouns] : questions) {
        const QStringList noun = QString::fromLatin1(nouns).split('|');
        const ListSpec& spec = *findList(QLatin1String(name));
        RowList& list = form.list(spec.name);
        addRows(list, 3);
        list.select(2);
        ui.messages.clear();
        ui.answers = {ui::Answer::No, ui::Answer::Yes, ui::Answer::Yes, ui::Answer::No, ui::Answer::Yes};

        form.findChild<QPushButton*>(spec.removeButton)->click();  // No
        EXPECT_EQ(list.count(), 3) << name;
        form.findChild<QPushButton*>(spec.removeButton)->click();  // Yes: the selected row goes
        EXPECT_EQ(column0(list), QStringList({"r1c0", "r3c0"})) << name;
        form.findChild<QPushButton*>(spec.removeButton)->click();  // Yes, nothing selected now
        EXPECT_EQ(list.count(), 2) << name;
        form.findChild<QPushButton*>(spec.resetButton)->click();  // No
        EXPECT_EQ(list.count(), 2) << name;
        form.findChild<QPushButton*>(spec.resetButton)->click();  // Yes
        EXPECT_EQ(list.count(), 0) << name;

        ASSERT_EQ(ui.messages.size(), 5) << name;
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("Are you sure you want to remove the selected %1?").arg(noun[0]));
        EXPECT_EQ(ui.messages[4].text, QStringLiteral("Are you sure you want to reset %1?").arg(noun[1]));
        EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    }
    EXPECT_EQ(form.findChild<QPushButton*>("cmdRemoveAdverseReaction")->toolTip(), "Clear Adverse Reaction");
}
