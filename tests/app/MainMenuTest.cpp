#include "app/Log.h"
#include "app/frmMain.h"
#include "support/ScriptedUi.h"
#include "app/MainWindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

QString describe(QAction* item, int level)
{
    // A hidden item always reads as disabled; look at its own switch while it is shown.
    const bool visible = item->isVisible();
    item->setVisible(true);
    const bool enabled = item->isEnabled();
    item->setVisible(visible);
    QStringList state;
    if (!visible)
        state << QStringLiteral("hidden");
    if (!enabled)
        state << QStringLiteral("disabled");
    if (item->isChecked())
        state << QStringLiteral("checked");
    const QString caption = item->isSeparator() ? QStringLiteral("-") : item->text();
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(level)
        .arg(item->objectName(), caption, item->shortcut().toString(), state.join(QLatin1Char(',')));
}

void collect(const QList<QAction*>& items, int level, QStringList& out)
{
    for (QAction* item : items) {
        out << describe(item, level);
        if (item->menu())
            collect(item->menu()->actions(), level + 1, out);
    }
}

} // namespace

// The state is the one at start, with no editor window open.
TEST(MainMenuTest, TreeHasEveryMenuWithCaptionShortcutAndState)
{
    test::HookTableScope hooksScope;
    frmMain main;
    QStringList actual;
    collect(main.menuBar()->actions(), 1, actual);

    const QStringList expected = {
        "1|mnuFile|&File||",
        "2|mnuFileSaveLog|Save &Information Text to File|Ctrl+I|",
        "2|mnuFileLoadXMLFile|Review SPL File (XML)...||",
        "2|mnuSPLR4Preview|Preview SPL File in Browser...||",
        "2|mnuFileCreateWordLabelTemplate|Create Word Label Template...||",
        "2|mnuFileExit|&Exit||",
        "1|mnuProductLabel|Product Label||hidden,disabled",
        "2|mnuFileConvert|&Build Structured Product Label...||",
        "2|mnuFileSaveSettings|&Save Settings||",
        "2|mnuFileLoadSettings|Load Settings||",
        "2|mnuFileAddLOINCCodes|&Add LOINC Codes to SPL||",
        "1|mnuSPLR4|SPL Document||",
        "2|mnuNewSPLR4|Create New|Ctrl+N|",
        "2|mnuOpenSPLR4|Open|Ctrl+O|",
        "2|mnuSPLOpenFolder|Open Folder||disabled",
        "2|mnuSaveSPLR4|Save Settings|Ctrl+S|disabled",
        "2|mnuSaveSPLR4As|Save Settings As...||disabled",
        "2|mnuSPLR4Separator06|-||",
        "2|mnuSPLR4CreateDocumentReport|Create Document Report...||disabled",
        "2|mnuSPLCrossCheck|Compare SPL Files...||",
        "2|mnuSPLR4Popup|Popup||hidden",
        "3|mnuSPLR4EditNode|Edit||",
        "3|mnuPopupSetColor|Set Color...||",
        "3|mnuSPLR4PopupOpenFile|Open File/Folder||",
        "3|mnuSPLR4PopupAnalyzeWordDocumentFormatting|Analyze Document Formatting||",
        "3|mnuSPLR4Separator05|-||",
        "3|mnuSPLR4Clone|Clone||",
        "3|mnuPopUpChangeSortOrder|Change Sort Order||",
        "3|mnuSPLR4Separator10|-||",
        "3|mnuSPLR4AddNode|Add Information...||",
        "3|mnuPopupCreateIDGUIDs|Create IDs and GUIDs||",
        "3|mnuSPLR4ReverseTransform|Import Data from Existing SPL File...||",
        "3|mnuSPLR4ProductLabelAddSectionNumbers|Add Section Numbering to Product Label||",
        "3|mnuSPLR4Separator04|-||",
        "3|mnuSPLR4CopySelection|Copy Selection||",
        "3|mnuSPLR4ExpandAll|Expand All||",
        "3|mnuSPLR4CollapseAll|Collapse All||",
        "3|mnuSPLR4Separator03|-||",
        "3|mnuSPLR4RemoveDataElement|Remove Data Element||",
        "2|mnumnuSaveSPLR4Separator2|-||",
        "2|mnuSPLR4Search|Search|Ctrl+F|disabled",
        "2|mnuSPLR4Replace|Replace|Ctrl+H|disabled",
        "2|mnuSPLR4Separator4|-||",
        "2|mnuSPLR4ImportProductLabel|Import Product Label from Word...||disabled",
        "2|mnuSPLR4ImportFromExcel|Import Data From Excel...||disabled",
        "2|mnuSPLR4AddLOINCCodesToProductLabel|Add LOINC Codes to Product Label...||disabled",
        "2|mnuSPLR4Separator6|-||",
        "2|MenuSPLR4QuickPreview|Preview SPL|F5|disabled",
        "2|mnuSPLR4TransformSPL|Build SPL...|F6|disabled",
        "2|mnuSPLValidate|Validate SPL|F7|",
        "2|mnuSPLR4Separator7|-||",
        "2|mnuShowLogging|Show Log||checked",
        "1|mnuWizards|Wizards||",
        "2|mnuWizard|Wizard||hidden",
        "1|mnuWindow|Window||",
        "2|mnuWindowTileHorizontally|Tile Horizontally||",
        "2|mnuWindowTileVertically|Tile Vertically||",
        "2|mnuWindowCascade|Cascade||",
        "2|mnuWindowArrangeIcons|Arrange Icons||",
        "2|mnuWindowList|List||",
        "1|mnuHelp|&Help||",
        "2|mnuHelpUserManual|&User Manual|F1|",
        "2|mnuVeldra|FDA SPL Resources Online|F2|",
        "2|mnuHelpDailyMed|DailyMed Website|F3|",
        "2|mnuHelpSPLOnlineValidator|Pragmatic Data Validator|F4|",
        "2|mnuHelpAbout|&About||",
        "1|mnuDebug|Debug||hidden,disabled",
        "2|mnuDebugProcess|Code||",
        "2|mnuDebugXML|XML||",
    };
    EXPECT_EQ(actual.join('\n').toStdString(), expected.join('\n').toStdString());
}

TEST(MainMenuTest, ShowLogSwitchesAllLoggingOffAndOnAgain)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    const bool before = NoLogging;

    main.mnuShowLogging->trigger();
    EXPECT_FALSE(main.mnuShowLogging->isChecked());
    EXPECT_TRUE(NoLogging);
    main.mnuShowLogging->trigger();
    EXPECT_TRUE(main.mnuShowLogging->isChecked());
    EXPECT_FALSE(NoLogging);
    NoLogging = before;
}

TEST(MainMenuTest, WizardItemsRunTheirWizardByCaption)
{
    test::HookTableScope hooksScope;
    QStringList ran;
    hooks().RunWizard = [&](const QString& name) { ran << name; };
    frmMain main;

    QAction* first = main.addWizardMenuItem(QStringLiteral("Drug Product Listing"));
    main.addWizardMenuItem(QStringLiteral("Kit Assembly"));
    first->trigger();
    main.mnuWizard.at(2)->trigger();

    EXPECT_EQ(ran, QStringList({"Drug Product Listing", "Kit Assembly"}));
    ASSERT_EQ(main.mnuWizard.size(), 3);
    EXPECT_FALSE(main.mnuWizard.at(0)->isVisible());
    EXPECT_TRUE(first->isVisible());
}

TEST(MainMenuTest, WindowMenuListsTheOpenChildWindowsBelowList)
{
    test::HookTableScope hooksScope;
    frmMain main;
    auto* first = new QWidget;
    first->setWindowTitle(QStringLiteral("SPL Info Window"));
    auto* second = new QWidget;
    second->setWindowTitle(QStringLiteral("Settings [label.xml]"));
    main.mdiArea()->addSubWindow(first)->show();
    QMdiSubWindow* secondFrame = main.mdiArea()->addSubWindow(second);
    secondFrame->show();
    main.mdiArea()->setActiveSubWindow(secondFrame);

    emit main.mnuWindow->aboutToShow();
    emit main.mnuWindow->aboutToShow();  // a second opening does not list the windows twice

    const QList<QAction*> items = main.mnuWindow->actions();
    const qsizetype list = items.indexOf(main.mnuWindowList);
    ASSERT_EQ(items.size(), list + 3);
    EXPECT_EQ(items.at(list + 1)->text(), QStringLiteral("&1 SPL Info Window"));
    EXPECT_EQ(items.at(list + 2)->text(), QStringLiteral("&2 Settings [label.xml]"));
    EXPECT_TRUE(items.at(list + 2)->isChecked());

    items.at(list + 1)->trigger();
    EXPECT_EQ(main.mdiArea()->currentSubWindow()->widget(), first);
}

TEST(MainMenuTest, ListAsksWhichOpenWindowToBringForward)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();

    main.mnuWindowList->trigger();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("No window is open."));

    auto* log = new QWidget;
    log->setWindowTitle(QStringLiteral("SPL Info Window"));
    QMdiSubWindow* logFrame = main.mdiArea()->addSubWindow(log);
    logFrame->show();
    auto* editor = new QWidget;
    editor->setWindowTitle(QStringLiteral("Edit SPLR4 [label.xml]"));
    QMdiSubWindow* editorFrame = main.mdiArea()->addSubWindow(editor);
    editorFrame->show();
    logFrame->showMinimized();
    main.mdiArea()->setActiveSubWindow(editorFrame);

    // The dialog offers the windows in the order they were opened; rows are chosen as a user would.
    struct Case {
        int row;  // -1: Cancel
        QWidget* expectedCurrent;
    };
    for (const Case& c : {Case{-1, editor}, Case{0, log}, Case{1, editor}}) {
        QStringList offered;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lstWindows"));
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i)
                offered << list->item(i)->text();
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (c.row < 0) {
                buttons->button(QDialogButtonBox::Cancel)->click();
                return;
            }
            list->setCurrentRow(c.row);
            buttons->button(QDialogButtonBox::Ok)->click();
        });
        main.mnuWindowList->trigger();
        EXPECT_EQ(offered, QStringList({"SPL Info Window", "Edit SPLR4 [label.xml]"}));
        EXPECT_EQ(main.mdiArea()->currentSubWindow()->widget(), c.expectedCurrent) << c.row;
    }
    EXPECT_FALSE(logFrame->isMinimized());
    EXPECT_EQ(ui.messages.size(), 1);
}
