// The editor inside the main window: the context menu, the status bar and the current editor.

#include "TreeViewFixture.h"

#include "app/window/MainStatusBar.h"
#include "app/window/frmMain.h"
#include "app/Hooks.h"
#include "editor/window/InstallEditorHooks.h"

#include "platform/ui/QtBackend.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include <functional>

namespace veldra::test {
namespace {

class EditorInMainWindowTest : public TreeViewFixture {
protected:
    ~EditorInMainWindowTest() override { main.mnuSPLR4Popup->hide(); }
    frmMain main;
};

TEST_F(EditorInMainWindowTest, PopupMenuIsPreparedForTheSelectedNode)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Product Name: Aspirin [");

    editor->RenderPopupMenu();

    EXPECT_EQ(main.mnuSPLR4Clone->text(), "Clone 'Product Name'");
    EXPECT_EQ(main.mnuPopUpChangeSortOrder->text(), "Reverse 'Product Name' Sort Order");
    EXPECT_EQ(main.mnuSPLR4RemoveDataElement->text(), "Remove 'Product Name'");
    EXPECT_FALSE(main.mnuSPLR4AddNode->isEnabled()) << "a value element takes no children";
    EXPECT_TRUE(main.mnuSPLR4RemoveDataElement->isEnabled());
    EXPECT_FALSE(main.mnuSPLR4ProductLabelAddSectionNumbers->isVisible());
    EXPECT_TRUE(main.mnuSPLR4Popup->isVisible());
    main.mnuSPLR4Popup->hide();

    select(editor, "SPLR4");
    editor->RenderPopupMenu();
    EXPECT_TRUE(main.mnuSPLR4AddNode->isEnabled());
    EXPECT_FALSE(main.mnuSPLR4RemoveDataElement->isEnabled());
}

// A right click acts on the row clicked, not on the row selected before.
TEST_F(EditorInMainWindowTest, RightClickSelectsTheRowUnderThePointerBeforeTheMenu)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Product Name: Aspirin [");
    QTreeWidgetItem* title = node(editor, "Title");
    ASSERT_NE(title, nullptr);
    editor->TreeView->scrollToItem(title);

    QTest::mouseClick(editor->TreeView->viewport(), Qt::RightButton, {},
                      editor->TreeView->visualItemRect(title).center());

    EXPECT_EQ(editor->TreeView->selectedNode(), title);
    EXPECT_EQ(main.mnuSPLR4RemoveDataElement->text(), "Remove 'Title'");
    EXPECT_TRUE(main.mnuSPLR4Popup->isVisible());
}

TEST_F(EditorInMainWindowTest, StatusBarShowsParentNodeAndExample)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Document ID");

    editor->RenderStatusBarInfo();

    EXPECT_EQ(main.StatusBar->Panels(1)->text(), "General Data");
    EXPECT_EQ(main.StatusBar->Panels(2)->text(), "Document ID");
    EXPECT_EQ(main.StatusBar->Panels(3)->text(), "a new id");
}

TEST_F(EditorInMainWindowTest, AWindowBecomesCurrentWhenItOpensAndWhenItSaves)
{
    frmXMLEditor* first = openSettings(sampleSettings(), "First.xml");
    EXPECT_EQ(main.SourceXMLEditor.data(), first);
    frmXMLEditor* second = openSettings(sampleSettings(), "Second.xml");
    EXPECT_EQ(main.SourceXMLEditor.data(), second);

    ASSERT_TRUE(first->SaveXMLDoc(false));
    EXPECT_EQ(main.SourceXMLEditor.data(), first);
}

// Once a confirmation box is answered, the tree has the keyboard again: the arrow keys move
// through it without a click first.
TEST_F(EditorInMainWindowTest, TheTreeHasTheKeyboardAgainOnceAConfirmationIsAnswered)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    main.show();
    main.showChildWindow(editor);
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    editor->TreeView->setFocus();
    QTreeWidgetItem* marketing = select(editor, "Marketing");
    ASSERT_EQ(QApplication::focusWidget(), editor->TreeView);

    ui::QtBackend real;
    ui::setBackend(&real);
    QString asked;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        asked = box->text();
        box->button(QMessageBox::No)->click();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    ui::setBackend(&ui);

    EXPECT_EQ(asked, "Are you sure you want to remove 'Marketing'?");
    // The window system gives the window back its activation when it gets to it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor->TreeView; }, 1000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(editor->TreeView->currentItem(), editor->TreeView->itemAbove(marketing));
    EXPECT_TRUE(editor->Saved);
}

// Answers as scripted, and hands the main window's activation away while it asks, as the
// window system does while a dialog is up; the window asks for it back at once but has it
// again only once events run, as under a real window manager.
class LateActivationUi : public ScriptedUi {
public:
    LateActivationUi(QWidget& window, QWidget& elsewhere) : window_(window), elsewhere_(elsewhere) {}
    ui::Answer message(const ui::MessageRequest& request) override
    {
        leave();
        return ScriptedUi::message(request);
    }
    std::optional<QString> input(const ui::InputRequest& request) override
    {
        leave();
        return ScriptedUi::input(request);
    }
    void pumpMessages() override { QApplication::processEvents(); }

private:
    void leave()
    {
        elsewhere_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&elsewhere_));
        window_.activateWindow();
    }
    QWidget& window_;
    QWidget& elsewhere_;
};

// After a find with hits, a replace and a clone, the keys go to the tree again, not to the
// main window's code search box, although the tree is rebuilt before the window is active.
TEST_F(EditorInMainWindowTest, TheTreeHasTheKeyboardAgainAfterFindReplaceAndClone)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    main.show();
    main.showChildWindow(editor);
    QWidget elsewhere;
    elsewhere.show();
    struct Case {
        const char* name;
        void (frmMain::*command)();
        std::deque<std::optional<QString>> inputs;
        QString expected;  // a caption the tree shows afterwards
    };
    const Case cases[] = {
        {"find with hits", &frmMain::mnuSPLR4Search_Click, {QStringLiteral("Forte")}, QStringLiteral("Product Name: Aspirin Forte")},
        {"replace", &frmMain::mnuSPLR4Replace_Click, {QStringLiteral("Forte"), QStringLiteral("Extra")},
         QStringLiteral("Product Name: Aspirin Extra")},
        {"clone", &frmMain::mnuSPLR4Clone_Click, {}, QStringLiteral("Product Name: Aspirin Extra")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->TreeView->selectNode(node(editor, QStringLiteral("Products"))->child(1));
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        editor->TreeView->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), editor->TreeView);
        {
            LateActivationUi late(main, elsewhere);
            late.inputs = c.inputs;
            (main.*c.command)();
        }
        ui::setBackend(&ui);
        EXPECT_TRUE(captions(editor).join(QLatin1Char('|')).contains(c.expected));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor->TreeView; }, 1000))
            << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");
    }
    EXPECT_EQ(texts(editor, QStringLiteral("SPLR4/Products/Product/ProductName")).size(), 3);
}

TEST_F(EditorInMainWindowTest, AnEditorClosedInItsFrameTakesTheFrameWith)
{
    QPointer<frmXMLEditor> editor = ShowNewXMLEditor();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    QPointer<QWidget> frame = editor->parentWidget();

    EXPECT_TRUE(editor->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(editor.isNull());
}

TEST_F(EditorInMainWindowTest, TheMainWindowsChangeSortOrderReachesTheEditor)
{
    const Hooks saved = hooks();
    installEditorHooks();
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Document ID");

    main.mnuPopUpChangeSortOrder->trigger();
    hooks() = saved;

    EXPECT_EQ(editor->XMLDoc->selectSingleNode("//GeneralData").lastChild().nodeName(), "DocumentID");
    EXPECT_FALSE(editor->Saved);
}

TEST_F(EditorInMainWindowTest, CreateIdsAndGuidsFromTheMenuIsAChangeOnlyWhenAnIdWasRenewed)
{
    const Hooks saved = hooks();
    installEditorHooks();
    frmXMLEditor* editor = openSettings(sampleSettings());

    select(editor, "Title");  // no "GUID" element below or at it
    main.mnuPopupCreateIDGUIDs->trigger();
    EXPECT_TRUE(editor->Saved);

    select(editor, "Document ID");
    main.mnuPopupCreateIDGUIDs->trigger();
    hooks() = saved;
    EXPECT_NE(editor->XMLDoc->selectSingleNode("//DocumentID").text(), "d1");
    EXPECT_FALSE(editor->Saved);
}

// With a review window in front (the current editor, holding no settings document), every
// command on the settings document says that it needs one, whether chosen in a menu or by its
// key; none does nothing unseen, and none reaches another window's document.
TEST_F(EditorInMainWindowTest, DocumentCommandsInAReviewWindowSayTheyNeedASettingsDocument)
{
    const Hooks saved = hooks();
    installEditorHooks();
    frmXMLEditor* settings = openSettings(sampleSettings());
    settings->XMLDoc->selectSingleNode("//Title").setText("Changed");
    settings->Saved = false;
    frmXMLEditor* review = openView(sampleSettings());
    main.show();
    main.showChildWindow(review);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    review->TreeView->setFocus();
    select(review, "Title");
    ASSERT_EQ(main.SourceXMLEditor.data(), review);
    const auto key = [&](QKeyCombination combination) {
        return [&, combination] { QTest::keyClick(review->TreeView, combination.key(), combination.keyboardModifiers()); };
    };
    const auto menu = [](QAction* action) { return [action] { action->trigger(); }; };
    const std::vector<std::pair<QString, std::function<void()>>> rows = {
        {"Save Settings", key(Qt::CTRL | Qt::Key_S)},
        {"Save Settings As", menu(main.mnuSaveSPLR4As)},
        {"Build SPL", key(QKeyCombination(Qt::Key_F6))},
        {"Preview SPL", key(QKeyCombination(Qt::Key_F5))},
        {"Replace", key(Qt::CTRL | Qt::Key_H)},
        {"Create Document Report", menu(main.mnuSPLR4CreateDocumentReport)},
        {"Import Product Label from Word", menu(main.mnuSPLR4ImportProductLabel)},
        {"Import Data From Excel", menu(main.mnuSPLR4ImportFromExcel)},
        {"Add LOINC Codes to Product Label", menu(main.mnuSPLR4AddLOINCCodesToProductLabel)},
        {"Add LOINC Codes to SPL", menu(main.mnuFileAddLOINCCodes)},
        {"Edit", menu(main.mnuSPLR4EditNode)},
        {"Set Color", menu(main.mnuPopupSetColor)},
        {"Open File/Folder", menu(main.mnuSPLR4PopupOpenFile)},
        {"Analyze Document Formatting", menu(main.mnuSPLR4PopupAnalyzeWordDocumentFormatting)},
        {"Clone", menu(main.mnuSPLR4Clone)},
        {"Change Sort Order", menu(main.mnuPopUpChangeSortOrder)},
        {"Add Information", menu(main.mnuSPLR4AddNode)},
        {"Create IDs and GUIDs", menu(main.mnuPopupCreateIDGUIDs)},
        {"Import Data from Existing SPL File", menu(main.mnuSPLR4ReverseTransform)},
        {"Add Section Numbering to Product Label", menu(main.mnuSPLR4ProductLabelAddSectionNumbers)},
        {"Remove Data Element", menu(main.mnuSPLR4RemoveDataElement)},
        {"Code", menu(main.mnuDebugProcess)},
    };
    const QByteArray onDisk = readTextFile(dir.file("Product.xml")).toUtf8();
    const QStringList reviewed = captions(review);
    for (const auto& [command, use] : rows) {
        SCOPED_TRACE(command.toStdString());
        ui.messages.clear();
        use();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, command + " needs a Settings Document; this window shows an XML file for review only.");
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    }
    hooks() = saved;
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_TRUE(ui.inputRequests.isEmpty());
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_FALSE(settings->Saved);
    EXPECT_EQ(readTextFile(dir.file("Product.xml")).toUtf8(), onDisk);
    EXPECT_EQ(captions(review), reviewed);
    EXPECT_EQ(main.SourceXMLEditor.data(), review);
}

// A command that rebuilds the tree after the element the user stood on went (removed, or
// replaced by a dropped copy) leaves the user there: on the element that took its place, open
// as it was, else on the nearest element above it; never on nothing, which sends the next
// command to the document's root.
TEST_F(EditorInMainWindowTest, ACommandThatTakesAwayTheSelectedElementLeavesTheUserWhereItStood)
{
    struct Row {
        const char* name;
        std::function<void(frmXMLEditor*, QTreeWidgetItem*)> command;
        QString staysOn;  // the caption of the current node afterwards
        int childAfter;   // its place below Products, -1 for Products itself
    };
    const Row rows[] = {
        {"remove", [&](frmXMLEditor*, QTreeWidgetItem*) { main.mnuSPLR4RemoveDataElement->trigger(); },
         QStringLiteral("Products"), -1},
        {"drop a group on a group of its name",
         [](frmXMLEditor* editor, QTreeWidgetItem* second) {
             QTreeWidgetItem* first = second->parent()->child(0);
             editor->TreeView->draggedKey = nodeKey(first);
             QMimeData data;
             data.setText(nodeCaption(first));
             editor->TreeView_OLEDragDrop(data, second, editor->TreeView);
         },
         QStringLiteral("Product"), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmXMLEditor* editor = openSettings(sampleSettings());
        main.showChildWindow(editor);
        QTreeWidgetItem* second = node(editor, QStringLiteral("Products"))->child(1);
        editor->TreeView->selectNode(second);
        second->setExpanded(true);

        row.command(editor, second);

        QTreeWidgetItem* products = node(editor, QStringLiteral("Products"));
        QTreeWidgetItem* current = editor->TreeView->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(nodeCaption(current), row.staysOn);
        EXPECT_EQ(current, row.childAfter < 0 ? products : products->child(row.childAfter));
        EXPECT_EQ(editor->TreeView->selectedItems(), QList<QTreeWidgetItem*>({current}));
        EXPECT_TRUE(current->isExpanded());
        EXPECT_FALSE(editor->Saved);
    }
}

} // namespace
} // namespace veldra::test
