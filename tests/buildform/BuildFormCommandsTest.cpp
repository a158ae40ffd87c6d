#include "BuildFormTestSupport.h"

#include "app/window/FormLaunchers.h"
#include "app/Hooks.h"
#include "app/window/frmMain.h"
#include "buildform/InstallBuildFormHooks.h"
#include "support/SkippedErrors.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

QStringList shownPages(const frmBuildSPL& form)
{
    QStringList shown;
    for (const PageSpec& page : pages())
        if (!form.frame(page.frame)->isHidden())
            shown << page.frame;
    return shown;
}

} // namespace

TEST(BuildFormCommands, TabsShowOnePageAndOtherIndexesChangeNothing)
{
    frmBuildSPL form;
    fillWithNames(form);
    const FormState entered = form.state();
    EXPECT_EQ(shownPages(form), QStringList({"FrameGeneralInformation"}));
    EXPECT_FALSE(form.frame("FrameProductIngredients")->isHidden());
    EXPECT_TRUE(form.frame("FrameProductPackaging")->isHidden());

    for (int index = 1; index <= 7; ++index) {
        form.TabStrip_Click(index);
        EXPECT_EQ(shownPages(form), QStringList({pages()[index - 1].frame}));
    }
    form.TabStrip_Click(0);
    form.TabStrip_Click(8);
    EXPECT_EQ(shownPages(form), QStringList({"FrameInputOutput"}));
    form.TabStrip->setCurrentIndex(2);
    EXPECT_EQ(shownPages(form), QStringList({"FrameDosageCharacteristics"}));

    form.TabStripProduct->setCurrentIndex(1);
    EXPECT_TRUE(form.frame("FrameProductIngredients")->isHidden());
    EXPECT_FALSE(form.frame("FrameProductPackaging")->isHidden());
    form.TabStripProduct_Click(3);
    EXPECT_FALSE(form.frame("FrameProductPackaging")->isHidden());
    EXPECT_EQ(form.state(), entered);
}

TEST(BuildFormCommands, BrowsingPresetsTheDialogAndKeepsTheBoxOnCancel)
{
    veldra::test::ScriptedUi ui;
    frmBuildSPL form;
    QLineEdit* folder = form.textBox("txtTargetFolder");
    const std::pair<const char*, const char*> presets[] = {{"", ""}, {"/out", "/out/SPL.xml"}, {"/out/", "/out/SPL.xml"}};
    for (const auto& [text, preset] : presets) {
        folder->setText(QLatin1String(text));
        ui.fileRequests.clear();
        form.findChild<QPushButton*>("cmdBrowseFolder")->click();  // cancelled
        ASSERT_EQ(ui.fileRequests.size(), 1);
        EXPECT_EQ(ui.fileRequests.first().fileName, QLatin1String(preset));
        EXPECT_EQ(folder->text(), QLatin1String(text));
    }
    ui.openFiles = {QStringLiteral("/home/u/any.xml")};
    form.cmdBrowseFolder_Click();
    EXPECT_EQ(folder->text(), "/home/u/");

    QLineEdit* source = form.textBox("txtSourceFileName");
    source->setText("/labels/old.docx");
    ui.fileRequests.clear();
    form.findChild<QPushButton*>("cmdBrowseSourceDocument")->click();
    EXPECT_EQ(ui.fileRequests.first().fileName, "/labels/old.docx");
    EXPECT_TRUE(ui.fileRequests.first().filter.contains("*.docx"));
    EXPECT_EQ(source->text(), "/labels/old.docx");
    ui.openFiles = {QStringLiteral("/labels/new.docx")};
    form.cmdBrowseSourceDocument_Click();
    EXPECT_EQ(source->text(), "/labels/new.docx");
}

TEST(BuildFormCommands, SetIdAndOpenCommands)
{
    // A source name without an extension has no target name: the open skips it.
    veldra::test::ExpectSkippedErrors skipped;
    veldra::test::ScriptedUi ui;
    frmBuildSPL form;
    QLineEdit* setId = form.textBox("txtSetID");
    setId->setText("typed by hand");
    ui.answers = {ui::Answer::No};
    form.findChild<QPushButton*>("cmdGenerateSetID")->click();
    EXPECT_EQ(setId->text(), "typed by hand");
    EXPECT_EQ(ui.messages.first().text, "Are you sure you want to generate a new Set ID?");
    form.cmdGenerateSetID_Click();
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$")
                    .match(setId->text())
                    .hasMatch())
        << setId->text().toStdString();

    form.textBox("txtTargetFolder")->setText("/out");
    form.textBox("txtSourceFileName")->setText("C:\\Labels\\my.label.doc");
    form.findChild<QPushButton*>("cmdOpenSPL")->click();
    form.findChild<QPushButton*>("cmdOpenWord")->click();
    form.textBox("txtSourceFileName")->setText("/labels/README");
    form.cmdOpenSPL_Click();  // no target name: nothing is opened
    EXPECT_EQ(ui.opened, QStringList({"/out/my.label.xml", "C:\\Labels\\my.label.doc"}));
}

TEST(BuildFormCommands, CloseInAnyWayHidesAndKeepsEveryEntry)
{
    frmBuildSPL form;
    fillWithNames(form);
    const FormState entered = form.state();
    for (int way = 0; way < 3; ++way) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        if (way == 0)
            form.cmdCancel->click();
        else if (way == 1) {
            QApplication::setActiveWindow(&form);
            form.textBox("txtTitle")->setFocus();
            QTest::keyClick(form.textBox("txtTitle"), Qt::Key_Escape);
        }
        else
            form.close();
        EXPECT_TRUE(form.isHidden()) << way;
        EXPECT_EQ(form.state(), entered);
    }
}

// However a text box of the form gets the focus, it selects its whole text, so that typing
// replaces it; a click alone would only place the cursor.
TEST(BuildFormCommands, EnteringATextBoxSelectsItsText)
{
    frmBuildSPL form;
    form.TabStrip_Click(7);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QLineEdit* version = form.textBox("txtVersionNumber");
    QLineEdit* setId = form.textBox("txtSetID");
    version->setText("3");
    setId->setText("d1a5e0b2-0000-4c1e-9a8b-2f7d3e6c9b10");

    struct Way {
        const char* name;
        std::function<void(QLineEdit*)> enter;
    };
    const Way ways[] = {
        {"click", [](QLineEdit* box) { QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center()); }},
        {"focus", [](QLineEdit* box) { box->setFocus(); }},
    };
    for (const Way& way : ways) {
        for (QLineEdit* box : {setId, version}) {
            SCOPED_TRACE(std::string(way.name) + " " + box->objectName().toStdString());
            (box == setId ? version : setId)->setFocus();
            box->setCursorPosition(1);
            way.enter(box);
            ASSERT_TRUE(box->hasFocus());
            EXPECT_TRUE(QTest::qWaitFor([&] { return box->selectedText() == box->text(); }, 2000))
                << box->selectedText().toStdString();
        }
    }
    EXPECT_EQ(form.textBox("txtExcerptHeaderStyle")->text(), "Title 1");  // the design text
}

// Shown, the form stands in the main window; closing that frame must not destroy it.
TEST(BuildFormCommands, ClosingTheFrameInTheMainWindowKeepsTheForm)
{
    veldra::test::ScriptedUi ui;
    const Hooks saved = hooks();
    installBuildFormHooks();
    {
        frmMain main;
        main.show();
        QPointer<QWidget> form = hooks().BuildSPLForm();
        static_cast<frmBuildSPL*>(form.data())->textBox("txtTitle")->setText("kept");
        ShowBuildSPLForm();
        ASSERT_TRUE(form->isVisible());
        ASSERT_NE(main.mdiArea()->currentSubWindow(), nullptr);

        main.mdiArea()->currentSubWindow()->close();
        flushClosedWindows();
        ASSERT_FALSE(form.isNull());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(hooks().BuildSPLForm(), form.data());

        ShowBuildSPLForm();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(static_cast<frmBuildSPL*>(form.data())->textBox("txtTitle")->text(), "kept");
    }
    hooks() = saved;
}
