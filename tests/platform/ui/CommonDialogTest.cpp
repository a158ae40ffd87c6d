#include "platform/core/VbError.h"
#include "platform/ui/CommonDialog.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace veldra;

TEST(CommonDialogTest, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(ui::CommonDialog::toQtFilter(QStringLiteral("XML Files | *.xml")), QStringLiteral("XML Files (*.xml)"));
    EXPECT_EQ(ui::CommonDialog::toQtFilter(QStringLiteral("Excel | *.xls;*.xlsx | All Files | *.*")),
              QStringLiteral("Excel (*.xls *.xlsx);;All Files (*)"));
    EXPECT_EQ(ui::CommonDialog::toQtFilter(QStringLiteral("Rich Text Format (*.rtf) | *.rtf")),
              QStringLiteral("Rich Text Format (*.rtf)"));
}

TEST(CommonDialogTest, UnsetPropertiesKeepThePreviousUse)
{
    test::ScriptedUi ui;
    ui.openFiles.push_back(QStringLiteral("/data/a.xml"));
    ui.saveFiles.push_back(QStringLiteral("/out/b.xml"));

    ui::CommonDialog dialog;
    dialog.dialogTitle = QStringLiteral("Open Settings Document");
    dialog.filter = QStringLiteral("Settings | *.xml");
    dialog.initDir = QStringLiteral("/data");
    ASSERT_TRUE(dialog.showOpen());
    EXPECT_EQ(dialog.fileName, QStringLiteral("/data/a.xml"));

    dialog.dialogTitle = QStringLiteral("Save SPL");
    ASSERT_TRUE(dialog.showSave());
    ASSERT_EQ(ui.fileRequests.size(), 2);
    const ui::FileRequest& second = ui.fileRequests.at(1);
    EXPECT_EQ(second.title, QStringLiteral("Save SPL"));
    EXPECT_EQ(second.filter, QStringLiteral("Settings (*.xml)"));
    EXPECT_EQ(second.initialFolder, QStringLiteral("/data"));
    EXPECT_EQ(second.fileName, QStringLiteral("/data/a.xml"));
    EXPECT_EQ(dialog.fileName, QStringLiteral("/out/b.xml"));
}

TEST(CommonDialogTest, CancelReturnsFalseOrRaisesWhenAsked)
{
    test::ScriptedUi ui;
    ui::CommonDialog dialog;
    dialog.fileName = QStringLiteral("keep.xml");
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_EQ(dialog.fileName, QStringLiteral("keep.xml"));

    dialog.cancelError = true;
    try {
        dialog.showSave();
        FAIL() << "cancel should raise";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), ui::CommonDialog::cancelErrorNumber);
    }
}

TEST(MessageSeamTest, ScriptedAnswersAreRecorded)
{
    test::ScriptedUi ui;
    ui.answers.push_back(ui::Answer::No);
    EXPECT_EQ(ui::msgBox(QStringLiteral("Are you sure you want to exit?"), ui::Buttons::YesNo, ui::Icon::Question),
              ui::Answer::No);
    ui::showError(VbError(5, QStringLiteral("Src"), QStringLiteral("Bad")), QStringLiteral("Cannot Load Drag Drop Data:"));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Question);
    EXPECT_EQ(ui.messages.at(1).text, QStringLiteral("Cannot Load Drag Drop Data:\r\n\r\nSrc 5: Bad"));
    EXPECT_EQ(ui.messages.at(1).icon, ui::Icon::Critical);
    // Cancel and an empty answer are told apart.
    ui.inputs = {std::nullopt, QString()};
    EXPECT_EQ(ui::inputBox(QStringLiteral("Separator?")), std::nullopt);
    EXPECT_EQ(ui::inputBox(QStringLiteral("Separator?")), QString());
}
