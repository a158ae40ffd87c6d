#include "app/log/Log.h"
#include "app/window/frmMain.h"
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

// What the user sees of an item: its depth, caption, shortcut and starting state.
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
    return QStringLiteral("%1|%2|%3|%4")
        .arg(level)
        .arg(caption, item->shortcut().toString(), state.join(QLatin1Char(',')));
}

void collect(const QList<QAction*>& items, int level, QStringList& seen, QList<QAction*>& order)
{
    for (QAction* item : items) {
        seen << describe(item, level);
        order << item;
        if (item->menu())
            collect(item->menu()->actions(), level + 1, seen, order);
    }
}

} // namespace

// The state is the one at start, with no editor window open. The menu bar is made from its
// table; every entry of the table is the item at its place in the tree, under its own name and
// member, and the tree shows the specified captions, shortcuts and states.
TEST(MainMenuTest, TreeHasEveryMenuWithCaptionShortcutAndState)
{
    test::HookTableScope hooksScope;
    frmMain main;
    QStringList seen;
    QList<QAction*> order;
    collect(main.menuBar()->actions(), 1, seen, order);

    QList<QAction*> fromTable;
    for (const MenuEntry& entry : mainMenuEntries()) {
        QAction* member = entry.menu ? (main.*entry.menu)->menuAction() : main.*entry.item;
        EXPECT_EQ(member->objectName().toStdString(), entry.name);
        fromTable << member;
        if (entry.menu == &MainMenu::mnuWizards)
            fromTable << main.mnuWizard.first();
    }
    EXPECT_EQ(order, fromTable);

    const QStringList expected = {
        "1|&File||",
        "2|Save &Information Text to File|Ctrl+I|",
        "2|Review SPL File (XML)...||",
        "2|Preview SPL File in Browser...||",
        "2|Create Word Label Template...||",
        "2|&Exit||",
        "1|Product Label||hidden,disabled",
        "2|&Build Structured Product Label...||",
        "2|&Save Settings||",
        "2|Load Settings||",
        "2|&Add LOINC Codes to SPL||",
        "1|SPL Document||",
        "2|Create New|Ctrl+N|",
        "2|Open|Ctrl+O|",
        "2|Open Folder||disabled",
        "2|Save Settings|Ctrl+S|disabled",
        "2|Save Settings As...||disabled",
        "2|-||",
        "2|Create Document Report...||disabled",
        "2|Compare SPL Files...||",
        "2|Popup||hidden",
        "3|Edit||",
        "3|Set Color...||",
        "3|Open File/Folder||",
        "3|Analyze Document Formatting||",
        "3|-||",
        "3|Clone||",
        "3|Change Sort Order||",
        "3|-||",
        "3|Add Information...||",
        "3|Create IDs and GUIDs||",
        "3|Import Data from Existing SPL File...||",
        "3|Add Section Numbering to Product Label||",
        "3|-||",
        "3|Copy Selection||",
        "3|Expand All||",
        "3|Collapse All||",
        "3|-||",
        "3|Remove Data Element||",
        "2|-||",
        "2|Search|Ctrl+F|disabled",
        "2|Replace|Ctrl+H|disabled",
        "2|-||",
        "2|Import Product Label from Word...||disabled",
        "2|Import Data From Excel...||disabled",
        "2|Add LOINC Codes to Product Label...||disabled",
        "2|-||",
        "2|Preview SPL|F5|disabled",
        "2|Build SPL...|F6|disabled",
        "2|Validate SPL|F7|",
        "2|-||",
        "2|Show Log||checked",
        "1|Wizards||",
        "2|Wizard||hidden",
        "1|Window||",
        "2|Tile Horizontally||",
        "2|Tile Vertically||",
        "2|Cascade||",
        "2|Arrange Icons||",
        "2|List||",
        "1|&Help||",
        "2|&User Manual|F1|",
        "2|FDA SPL Resources Online|F2|",
        "2|DailyMed Website|F3|",
        "2|Pragmatic Data Validator|F4|",
        "2|&About||",
        "1|Debug||hidden,disabled",
        "2|Code||",
        "2|XML||",
    };
    EXPECT_EQ(seen.join('\n').toStdString(), expected.join('\n').toStdString());
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
