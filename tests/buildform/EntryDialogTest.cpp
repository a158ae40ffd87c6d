#include "BuildFormTestSupport.h"

#include "buildform/EntryDialog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

struct DialogCase {
    const char* list;
    const char* dialog;
    const char* caption;
    QStringList fieldsInCellOrder;
};

// Which field fills which cell, as the lists' column headers read.
const DialogCase cases[] = {
    {"ListIndications", "frmIndication", "Indication",
     {"txtIndicationValueCode", "txtIndicationValueName", "cboIndicationValueCodeSystem"}},
    {"ListContraIndications", "frmContraIndication", "Contraindication",
     {"txtContraIndicationCodeCode", "cboContraIndicationCodeSystem", "txtContraIndicationCodeName",
      "txtContraIndicationValueCode", "cboContraIndicationValueCodeSystem", "txtContraIndicationValueName"}},
    {"ListDrugInteractions", "frmDrugInteraction", "Drug Interaction",
     {"txtInteractionCode", "cboInteractionCodeSystem", "txtInteractionName", "txtRiskCodeCode", "cboRiskCodeSystem",
      "txtRiskCodeName", "txtRiskValueCode", "cboRiskValueCodeSystem", "txtRiskValueName"}},
    {"ListAdverseReactions", "frmAdverseReaction", "Adverse Reaction",
     {"txtRiskCodeCode", "cboRiskCodeSystem", "txtRiskCodeName", "txtRiskValueCode", "cboRiskValueCodeSystem",
      "txtRiskValueName"}},
    {"ListProductIngredients", "frmIngredients", "Active/Inactive Ingredient",
     {"txtIngredientName", "txtIngredientFDASRSCode", "cboIngredientRole", "txtIngredientQuantityNumerator",
      "txtIngredientQuantityNumeratorUnit", "txtIngredientQuantityNumeratorNCICode",
      "txtIngredientQuantityNumeratorNCIName", "txtIngredientDenominator", "txtIngredientDenominatorUnit",
      "txtIngredientDenominatorNCICode", "txtIngredientDenominatorNCIName"}},
    {"ListProductPackaging", "frmPackaging", "Product Packaging",
     {"txtProductPackagingNDCContainerCode", "txtProductPackagingNCIContainerCode",
      "txtProductPackagingNCIContainerName", "txtPackagingQuantityNumerator", "txtPackagingQuantityNumeratorUnit",
      "txtPackagingQuantityNumeratorNCICode", "txtPackagingQuantityNumeratorNCIName", "txtPackagingDenominator",
      "txtPackagingDenominatorUnit", "txtPackagingDenominatorNCICode", "txtPackagingDenominatorNCIName"}},
};

class EntryDialogTest : public ::testing::Test {
protected:
    ~EntryDialogTest() override
    {
        for (const DialogCase& c : cases)
            if (EntryDialog* dialog = shownEntryDialog(QLatin1String(c.dialog)))
                dialog->cmdCancel_Click();
        flushClosedWindows();
    }

    // Adds through the list's Add button and returns the dialog it opened.
    EntryDialog* openAdd(const DialogCase& c)
    {
        form.findChild<QPushButton*>(findList(QLatin1String(c.list))->addButton)->click();
        return shownEntryDialog(QLatin1String(c.dialog));
    }

    static void type(EntryDialog* dialog, const QString& name, const QString& text)
    {
        QWidget* field = dialog->field(name);
        if (auto* box = qobject_cast<QLineEdit*>(field))
            box->setText(text);
        else
            qobject_cast<QComboBox*>(field)->setCurrentText(text);
    }

    static QString shown(EntryDialog* dialog, const QString& name)
    {
        QWidget* field = dialog->field(name);
        if (auto* box = qobject_cast<QLineEdit*>(field))
            return box->text();
        return qobject_cast<QComboBox*>(field)->currentText();
    }

    veldra::test::ScriptedUi ui;
    veldra::test::ProgramFolderCopy program;
    frmBuildSPL form;
};

} // namespace

TEST_F(EntryDialogTest, AddWritesEveryFieldIntoItsCellAndStaysOpen)
{
    for (const DialogCase& c : cases) {
        RowList& list = form.list(QLatin1String(c.list));
        EntryDialog* dialog = openAdd(c);
        ASSERT_NE(dialog, nullptr) << c.dialog;
        EXPECT_EQ(dialog->windowTitle(), QLatin1String(c.caption));
        EXPECT_EQ(dialog->lblInfo->text(), QLatin1String(c.caption));
        EXPECT_EQ(dialog->cmdOK->text(), "&Add");
        EXPECT_FALSE(dialog->picLogo->pixmap().isNull());
        for (const QString& name : c.fieldsInCellOrder)
            type(dialog, name, name);

        dialog->cmdOK->click();
        dialog->cmdOK->click();

        ASSERT_EQ(list.count(), 2) << c.dialog;
        EXPECT_EQ(list.cells(1), c.fieldsInCellOrder) << c.dialog;
        EXPECT_EQ(list.cells(2), c.fieldsInCellOrder) << c.dialog;
        EXPECT_EQ(list.selected(), 0);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->cmdOK->text(), "&Add");
        EXPECT_EQ(dialog->field(c.fieldsInCellOrder.first())->objectName(), c.fieldsInCellOrder.first());
    }
}

TEST_F(EntryDialogTest, EditWritesTheRowItWasOpenedOnEvenAfterTheSelectionMoved)
{
    for (const DialogCase& c : cases) {
        RowList& list = form.list(QLatin1String(c.list));
        addRows(list, 3);
        list.setCell(2, 1, "typed by hand");  // a system cell need not be one of the names
        const QStringList first = list.cells(1);
        list.select(2);
        QTest::keyClick(list.view(), Qt::Key_Return);

        EntryDialog* dialog = shownEntryDialog(QLatin1String(c.dialog));
        ASSERT_NE(dialog, nullptr) << c.dialog;
        EXPECT_EQ(dialog->cmdOK->text(), "&OK");
        EXPECT_EQ(shown(dialog, c.fieldsInCellOrder[1]), "typed by hand") << c.dialog;
        EXPECT_EQ(shown(dialog, c.fieldsInCellOrder[2]), "r2c2") << c.dialog;
        type(dialog, c.fieldsInCellOrder[0], "changed");

        list.select(1);
        dialog->OK();
        flushClosedWindows();

        EXPECT_EQ(shownEntryDialog(QLatin1String(c.dialog)), nullptr) << c.dialog;
        EXPECT_EQ(list.cells(1), first) << c.dialog;
        EXPECT_EQ(list.cell(2, 0), "changed") << c.dialog;
        EXPECT_EQ(list.cell(2, 1), "typed by hand") << c.dialog;
        EXPECT_EQ(list.count(), 3) << c.dialog;
    }
}

TEST_F(EntryDialogTest, EditWithoutASelectedRowOrOnARemovedRowWritesNothing)
{
    const DialogCase& c = cases[0];
    RowList& list = form.list(QLatin1String(c.list));
    form.EditIndication(list);
    EXPECT_EQ(shownEntryDialog("frmIndication"), nullptr);

    addRows(list, 2);
    list.select(2);
    form.show();
    form.TabStrip_Click(4);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint second = list.view()->visualItemRect(list.view()->topLevelItem(1)).center();
    QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list.view()->viewport(), Qt::LeftButton, {}, second);
    EntryDialog* dialog = shownEntryDialog("frmIndication");
    ASSERT_NE(dialog, nullptr);
    list.remove(2);
    dialog->OK();
    EXPECT_EQ(column0(list), QStringList({"r1c0"}));
    flushClosedWindows();
    EXPECT_EQ(shownEntryDialog("frmIndication"), nullptr);
}

TEST_F(EntryDialogTest, ReopeningKeepsTheTextBoxesAndEmptiesTheCodeSystemsWhileClosingForgetsAll)
{
    const DialogCase& c = cases[1];
    EntryDialog* dialog = openAdd(c);
    type(dialog, "txtContraIndicationCodeCode", "C12345");
    type(dialog, "cboContraIndicationCodeSystem", "National Cancer Institute Thesaurus");

    EXPECT_EQ(openAdd(c), dialog);
    EXPECT_EQ(shown(dialog, "txtContraIndicationCodeCode"), "C12345");
    auto* system = qobject_cast<QComboBox*>(dialog->field("cboContraIndicationCodeSystem"));
    EXPECT_EQ(system->currentText(), "");
    ASSERT_EQ(system->count(), 6);
    EXPECT_EQ(system->itemText(0), "National Cancer Institute Thesaurus");
    EXPECT_EQ(system->itemText(5), "Systematized Nomenclature of Medicine");

    dialog->show();
    QTest::keyClick(dialog, Qt::Key_Escape);
    flushClosedWindows();
    EXPECT_EQ(shownEntryDialog(QLatin1String(c.dialog)), nullptr);
    EXPECT_EQ(form.list(QLatin1String(c.list)).count(), 0);
    EXPECT_EQ(shown(openAdd(c), "txtContraIndicationCodeCode"), "");
}

TEST_F(EntryDialogTest, AnIngredientStartsInactiveAndKeepsARoleTypedByHand)
{
    const DialogCase& c = cases[4];
    RowList& list = form.list(QLatin1String(c.list));
    EntryDialog* dialog = openAdd(c);
    EXPECT_EQ(dialog->cmdCancel->text(), "Close");
    dialog->OK();
    QStringList expected(11);
    expected[2] = "Inactive";
    EXPECT_EQ(list.cells(1), expected);

    type(dialog, "cboIngredientRole", "Adjuvant");
    dialog->OK();
    EXPECT_EQ(list.cell(2, 2), "Adjuvant");
    EXPECT_EQ(shown(openAdd(c), "cboIngredientRole"), "Inactive");

    list.select(2);
    form.EditIngredient(list);
    EXPECT_EQ(shown(dialog, "cboIngredientRole"), "Adjuvant");
    dialog->OK();
    EXPECT_EQ(list.cell(2, 2), "Adjuvant");
}

TEST_F(EntryDialogTest, ClosingTheBuildFormClosesItsDialogs)
{
    auto* other = new frmBuildSPL;
    other->AddIndication(other->list("ListIndications"));
    ASSERT_NE(shownEntryDialog("frmIndication"), nullptr);
    delete other;
    flushClosedWindows();
    EXPECT_EQ(shownEntryDialog("frmIndication"), nullptr);
}
